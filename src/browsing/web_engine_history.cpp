#include "web_engine_view.h"

#include <QDataStream>
#include <QIODevice>
#include <QWebEngineHistory>
#include <QWebEngineView>

// The engine's own form of a page's history: it keeps each entry's scroll position and form
// state, which a list of addresses would lose.

QByteArray WebEngineView::savedHistory() const
{
    const QWebEngineHistory *history = m_view->history();
    if (history->count() == 0)
        return {};
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << *history;
    return bytes;
}

bool WebEngineView::restoreHistory(const QByteArray &bytes, const QString &address)
{
    QDataStream stream(bytes);
    stream >> *m_view->history();
    // The engine marks the stream of bytes it cannot take, a version of its own included.
    return stream.status() == QDataStream::Ok || navigate(address);
}
