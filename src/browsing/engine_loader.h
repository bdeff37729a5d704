#ifndef REELHOP_BROWSING_ENGINE_LOADER_H
#define REELHOP_BROWSING_ENGINE_LOADER_H

#include "browser_engine.h"
#include "browser_view.h"
#include "web_engine_environment.h"

#include <QLibrary>
#include <QObject>
#include <QPointer>
#include <memory>

class BrowserEngine;
class EngineView;

// Makes the window's views and gives every view sent somewhere its engine view, loading the web
// engine module for the first. Nothing is loaded before the prepared window has been painted
// (or release() says that there is no window to wait for), so a window's start-up, which sends
// its views to their pages, never waits for the engine's libraries.
class EngineLoader final : public QObject
{
    Q_OBJECT

public:
    explicit EngineLoader(QString modulePath);
    ~EngineLoader() override;
    Q_DISABLE_COPY_MOVE(EngineLoader)

    // The module beside the program, or where an installed program keeps it.
    static QString installedModulePath();

    BrowserViewFactory factory();

    // What the views tell sites they are; empty for the engine's own. Only before the engine loads.
    void setUserAgent(const QString &userAgent);
    // What the engine asks before each request; only before the engine loads.
    void setRequestPolicy(const RequestPolicy *policy);

    // The engine's name and version from the module, without starting it; empty without one.
    static QString engineVersion(const QString &modulePath);

    // Readies a window that is not shown yet for the views it will hold, so that the engine
    // joining it never re-creates it, and releases the engine once the window is on screen.
    void prepareWindow(QWidget *window, PageCompositing compositing);

    // Lets the engine load from now on.
    void release();

    // Keeps every page from loading, the engine itself still loading meanwhile, until
    // releasePages() or a while at most: what the request policy is to decide may not be
    // ready yet.
    void holdPages();
    void releasePages();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void requestView(EngineView *view);
    void serveWaitingViews();
    void openViews();

    QLibrary m_module;
    std::unique_ptr<BrowserEngine> m_engine;
    QString m_failure;
    EngineSettings m_settings;
    bool m_held = true;
    bool m_pagesHeld = false;
    bool m_serveQueued = false;
    QList<QPointer<EngineView>> m_waiting;
    QList<QPointer<EngineView>> m_unopened;
};

#endif
