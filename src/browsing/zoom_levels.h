#ifndef REELHOP_BROWSING_ZOOM_LEVELS_H
#define REELHOP_BROWSING_ZOOM_LEVELS_H

#include "files/ini_text.h"

#include <QObject>

class BrowserView;

// The zoom of each site, by host, as browsers keep it: every page of the host shows at its zoom,
// across runs. Kept in a file of the program's folder ("[zoom]", one "host=percent" per line);
// a file that cannot be read gives 100% everywhere and is never replaced.
class ZoomLevels final : public QObject
{
    Q_OBJECT

public:
    explicit ZoomLevels(QString filePath, QObject *parent = nullptr);

    static QString path(const QString &folder);
    // The zoom one step in (+1) or out (-1) from a factor, in the steps browsers use.
    static qreal stepped(qreal factor, int step);

    void load();
    qreal factorFor(const QString &host) const;
    void setFactor(const QString &host, qreal factor);

    // Shows the view's pages at their sites' zoom, and takes Ctrl and the wheel over them.
    void follow(BrowserView *view);
    // Zooms the view's page one step in (+1), out (-1) or back to 100% (0), for its whole site.
    void step(BrowserView *view, int step);

signals:
    void statusMessage(const QString &text);

private:
    QString m_filePath;
    IniText m_text;
    bool m_unreadable = false;
};

#endif
