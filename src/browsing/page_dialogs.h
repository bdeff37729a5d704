#ifndef REELHOP_BROWSING_PAGE_DIALOGS_H
#define REELHOP_BROWSING_PAGE_DIALOGS_H

#include <QMessageBox>
#include <functional>

class QCheckBox;
class QWebEnginePage;

// A page's alerts, confirmations and prompts: shown only while its tab is in sight, its text as
// text, and from the second one on the user may stop the page from showing more.
class PageDialogs final
{
public:
    PageDialogs(QWebEnginePage *page, std::function<bool()> inSight,
                std::function<void(const QString &)> say);

    void alert(const QUrl &origin, const QString &message);
    bool confirm(const QUrl &origin, const QString &message);
    bool prompt(const QUrl &origin, const QString &message, const QString &defaultValue,
                QString *result);
    // A page of its own (another address) starts with none shown.
    void reset();

private:
    bool mayShow();
    QMessageBox::StandardButton ask(const QUrl &origin, const QString &message,
                                    QMessageBox::StandardButtons buttons);
    // From the second dialog on, the box that stops the page's dialogs; the dialog owns it.
    QCheckBox *offerToStop();

    QWebEnginePage *m_page;
    std::function<bool()> m_inSight;
    std::function<void(const QString &)> m_say;
    int m_shown = 0;
    bool m_stopped = false;
};

#endif
