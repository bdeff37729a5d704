#ifndef REELHOP_FORM_STATUS_PANEL_H
#define REELHOP_FORM_STATUS_PANEL_H

#include <QLabel>
#include <utility>

class QStatusBar;

// The status bar's first panel. Pages report here all the time; a notice the user must read (a
// file that could not be read or saved, a search with no site) stays until the user next presses
// a key or a mouse button, so that the reports of pages still loading cannot hide it.
class StatusPanel final : public QLabel
{
    Q_OBJECT

public:
    explicit StatusPanel(QWidget *parent = nullptr);

    // A page's report: shown unless a notice is being held.
    void showReport(const QString &text);
    // A notice joins the ones the user has not answered yet.
    void showNotice(const QString &text);
    // What a notice reported is mended: it goes, whether the user answered it or not.
    void withdraw(const QString &notice);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_holding = false;
};

// The status bar in its design: the status panel across it, the progress panel at its end.
std::pair<StatusPanel *, QLabel *> addStatusPanels(QStatusBar *bar);

#endif
