#ifndef REELHOP_BROWSING_PAGE_PROTECTION_H
#define REELHOP_BROWSING_PAGE_PROTECTION_H

#include <QObject>
#include <QSet>
#include <QUrl>

class FrameRules;
class HidingNames;
class OwnPages;
class QWebEnginePage;
class RequestPolicy;
class RequestFilter;

// Stands between one tab's page and the web: asks the blocker before each request and each page
// the tab opens, counts what it blocked on the page shown, hides what element-hiding rules
// name, and shows a page of the program's own in place of a page a rule blocks.
class PageProtection final : public QObject
{
    Q_OBJECT

public:
    // No policy blocks nothing. The pages serve the notice of a blocked page; the frame rules,
    // shared by the profile's tabs, take the in-page rules for frames of other sites.
    PageProtection(const RequestPolicy *policy, OwnPages *ownPages, FrameRules *frameRules,
                   QObject *parent);
    ~PageProtection() override;
    Q_DISABLE_COPY_MOVE(PageProtection)

    void protect(QWebEnginePage *page);

    // Whether the page may open the address in its main frame; a blocked address is answered
    // with the program's page about it, whose link opens it this once.
    bool admitPage(const QUrl &address, bool clicked);

    // Whether a window the page opens by script may open at all; one a list names as a pop-up
    // is refused and counted.
    bool admitWindow(const QUrl &address, const QUrl &opener);

    int blockedCount() const { return m_blocked; }

    // Readies the hiding and the in-page rules for the page about to be opened or loaded again,
    // before the engine starts on it: the engine's frame for a page takes the scripts as they are
    // when it is made.
    void prepareFor(const QUrl &page);
    // The in-page rules for a frame inside the page, of a host of its own, before it loads.
    void prepareFrame(const QUrl &frame);

signals:
    void blockedCountChanged(int count);

private:
    friend class RequestFilter;
    void countBlocked();
    void setHidingStyle(const QUrl &page);

    const RequestPolicy *m_policy = nullptr;
    OwnPages *m_ownPages = nullptr;
    FrameRules *m_frameRules = nullptr;
    QWebEnginePage *m_page = nullptr;
    RequestFilter *m_filter = nullptr;
    HidingNames *m_hidingNames = nullptr;
    int m_blocked = 0;
    // The page the hiding in place was made for.
    QUrl m_preparedFor;
    // The hosts of the page's frames of other hosts than its own, asked for once.
    QSet<QString> m_frameHosts;
    // The blocked address whose page is shown; a click on its link opens it once.
    QUrl m_blockedShown;
};

#endif
