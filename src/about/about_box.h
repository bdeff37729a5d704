#ifndef REELHOP_ABOUT_ABOUT_BOX_H
#define REELHOP_ABOUT_ABOUT_BOX_H

#include <QDialog>

class QLabel;
class QPushButton;

// The fixed About window. "OK", Enter, Escape and the close box all discard it.
class AboutBox final : public QDialog
{
    Q_OBJECT

public:
    // The web engine as the module names it; empty where there is none.
    explicit AboutBox(const QString &engineVersion = {}, QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(AboutBox)

private:
    QLabel *m_picture = nullptr;
    QLabel *m_title = nullptr;
    QLabel *m_version = nullptr;
    QLabel *m_description = nullptr;
    QLabel *m_disclaimer = nullptr;
    QPushButton *m_okButton = nullptr;
};

#endif
