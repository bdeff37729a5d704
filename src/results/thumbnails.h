#ifndef REELHOP_RESULTS_THUMBNAILS_H
#define REELHOP_RESULTS_THUMBNAILS_H

#include <QCache>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPixmap>
#include <QSet>

// The list's thumbnails: fetched only when a row is drawn, a few at a time, without cookies or
// a referrer, and kept scaled down, the last few hundred. A picture on this machine or its local
// network is fetched only for a results page there too (the addresses of its videos are the
// page's to choose), so a page cannot make the program knock on addresses of the user's network
// that the page's own origin could not.
class Thumbnails final : public QObject
{
    Q_OBJECT

public:
    static constexpr QSize Size{120, 68};

    explicit Thumbnails(QObject *parent = nullptr);
    Q_DISABLE_COPY_MOVE(Thumbnails)

    // The picture, or a null one while it is fetched (it is asked for now) or when there is
    // none to show.
    QPixmap picture(const QString &address, const QString &pageAddress);
    // Stops what is waiting; what is kept stays.
    void cancelWaiting();

signals:
    void arrived(const QString &address);

private:
    void fetchNext();
    void keep(const QString &address, const QByteArray &bytes);

    QNetworkAccessManager m_network;
    QCache<QString, QPixmap> m_pictures;
    QSet<QString> m_unavailable;
    struct Wanted
    {
        QString address;
        // Whether it may be on this machine or its network: its page is.
        bool localAllowed = false;
    };
    QList<Wanted> m_waiting;
    int m_fetching = 0;
};

#endif
