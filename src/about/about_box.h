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
    explicit AboutBox(QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(AboutBox)

private:
    void cmdOK_Click();

    QLabel *picIcon = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblDescription = nullptr;
    QLabel *lblDisclaimer = nullptr;
    QPushButton *cmdOK = nullptr;
};

#endif
