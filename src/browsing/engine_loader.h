#ifndef REELHOP_BROWSING_ENGINE_LOADER_H
#define REELHOP_BROWSING_ENGINE_LOADER_H

#include "browser_view.h"
#include "web_engine_environment.h"

#include <QLibrary>
#include <QObject>
#include <QPointer>
#include <memory>

class BrowserEngine;
class EngineView;

// Makes the window's views and, when the first of them is sent somewhere, loads the web engine
// module and gives every waiting view its engine view. With a window prepared, nothing is
// loaded before that window is on screen.
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

    // Holds the engine back until a prepared window is on screen.
    void hold() { m_held = true; }

    // Readies a window that is not shown yet for the views it will hold, so that the engine
    // joining it never re-creates it, and holds the engine back until the window is on screen.
    void prepareWindow(QWidget *window, PageCompositing compositing);

    void requestView(EngineView *view);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void release();
    void serveWaitingViews();

    QLibrary m_module;
    std::unique_ptr<BrowserEngine> m_engine;
    QString m_failure;
    QString m_userAgent;
    bool m_held = false;
    bool m_serveQueued = false;
    QList<QPointer<EngineView>> m_waiting;
};

#endif
