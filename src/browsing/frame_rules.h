#ifndef REELHOP_BROWSING_FRAME_RULES_H
#define REELHOP_BROWSING_FRAME_RULES_H

#include "blocking/request_policy.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

class QWebEngineScript;
class QWebEngineProfile;

// The in-page rules for frames of another site than their page's, shared by every tab of one
// profile. Each site's frames run in a process of their own, which a page's scripts do not
// reach on every engine (Qt 6.8's) and reach on others only from the tab's next page; the
// profile's scripts reach every process at once. So each host's rules are the profile's, and
// run only in a frame of that host inside a page of a site a tab asked them for.
class FrameRules final : public QObject
{
    Q_OBJECT

public:
    // The profile is the parent.
    explicit FrameRules(QWebEngineProfile *profile);
    ~FrameRules() override;
    Q_DISABLE_COPY_MOVE(FrameRules)

    // The rules `code` for frames of `frameHost` in the page of `pageHost` a tab shows.
    void add(const QObject *tab, const QString &frameHost, const QString &pageHost,
             const FrameScripts &code);
    // The tab's page is gone (another page, or the tab): its frames' rules go, unless another
    // tab's page still asks for them.
    void withdraw(const QObject *tab);

    // The scripts that run `code` before a frame's own, named `name`, where `condition` (a
    // script expression) holds.
    static QList<QWebEngineScript> scripts(const QString &name, const QString &condition,
                                           const FrameScripts &code);
    // `text` as a script's string literal.
    static QString quoted(const QString &text);

private:
    struct Host
    {
        FrameScripts code;
        // Which pages' sites each tab asked for.
        QHash<const QObject *, QString> pages;
    };
    void remake(const QString &frameHost);

    QWebEngineProfile *m_profile = nullptr;
    QHash<QString, Host> m_hosts;
};

#endif
