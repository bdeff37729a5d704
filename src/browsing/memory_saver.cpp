#include "memory_saver.h"

#include "files/data_file.h"
#include "files/ini_text.h"

#include <QDir>

std::optional<MemorySaver::Delays> MemorySaver::configured(const QString &folder)
{
    const QString path = QDir(folder).filePath(QStringLiteral("reelhop.ini"));
    const IniText text = IniText::fromBytes(DataFile::read(path, 64 * 1024).value_or(QByteArray()));
    if (text.value(u"memory saver", u"enabled").value_or(QString()) == u"false")
        return std::nullopt;
    Delays delays;
    bool ok = false;
    const int seconds =
        text.value(u"memory saver", u"discard after").value_or(QString()).toInt(&ok);
    if (ok && seconds > 0)
        delays.discard = std::chrono::seconds(seconds);
    delays.check = std::min<std::chrono::milliseconds>(delays.check, delays.freeze());
    return delays;
}

MemorySaver::MemorySaver(const QList<BrowserView *> &views, Delays delays, QObject *parent)
    : QObject(parent), m_delays(delays)
{
    for (BrowserView *view : views) {
        m_hidden[view].start();
        // A new page out of sight counts from its load: a search's results are not old yet.
        connect(view, &BrowserView::loadStateChanged, this, [this, view] {
            if (view != m_shown)
                m_hidden[view].start();
        });
    }
    connect(&m_timer, &QTimer::timeout, this, &MemorySaver::check);
    m_timer.start(m_delays.check);
}

void MemorySaver::show(BrowserView *shown)
{
    if (m_shown)
        m_hidden[m_shown].start();
    m_shown = shown;
    if (shown && shown->lifecycle() != BrowserView::Lifecycle::Active)
        shown->setLifecycle(BrowserView::Lifecycle::Active);
}

void MemorySaver::check()
{
    for (auto hidden = m_hidden.cbegin(); hidden != m_hidden.cend(); ++hidden) {
        BrowserView *view = hidden.key();
        if (view == m_shown || view->loadState() == BrowserView::LoadState::Idle || view->isInUse())
            continue;
        const std::chrono::milliseconds away(hidden.value().elapsed());
        const BrowserView::Lifecycle state = view->lifecycle();
        if (away >= m_delays.discard && state != BrowserView::Lifecycle::Discarded)
            view->setLifecycle(BrowserView::Lifecycle::Discarded);
        else if (away >= m_delays.freeze() && state == BrowserView::Lifecycle::Active)
            view->setLifecycle(BrowserView::Lifecycle::Frozen);
    }
}
