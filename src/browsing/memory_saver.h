#ifndef REELHOP_BROWSING_MEMORY_SAVER_H
#define REELHOP_BROWSING_MEMORY_SAVER_H

#include "browser_view.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <optional>

// After a search nine result pages stay loaded while the user looks at one or two. As browsers'
// memory savers do, a page out of sight for a while is frozen, then discarded, and comes back at
// its address when it is shown. A page that plays sound or that the user typed into is kept.
class MemorySaver final : public QObject
{
    Q_OBJECT

public:
    struct Delays
    {
        std::chrono::milliseconds discard = std::chrono::minutes(15);
        // Frozen at half the time: no scripts or timers, nothing lost.
        std::chrono::milliseconds freeze() const { return discard / 2; }
        std::chrono::milliseconds check = std::chrono::seconds(30);
    };

    // The delays the preferences file in the folder sets: "[memory saver]" with "enabled=false"
    // to turn it off and "discard after" in seconds; nothing when it is off.
    static std::optional<Delays> configured(const QString &folder);

    MemorySaver(const QList<BrowserView *> &views, Delays delays, QObject *parent = nullptr);

    // The view now in sight (none on the favorites and notes tabs).
    void show(BrowserView *shown);

private:
    void check();

    Delays m_delays;
    QTimer m_timer;
    BrowserView *m_shown = nullptr;
    // How long each view out of sight has been so, since it was hidden or last loaded a page.
    QHash<BrowserView *, QElapsedTimer> m_hidden;
};

#endif
