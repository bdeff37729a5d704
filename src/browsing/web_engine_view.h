#ifndef REELHOP_BROWSING_WEB_ENGINE_VIEW_H
#define REELHOP_BROWSING_WEB_ENGINE_VIEW_H

#include "browser_view.h"

#include <QPointer>
#include <QUrl>
#include <memory>

class QPrinter;
class QWebEngineFullScreenRequest;
class QWebEngineLoadingInfo;
class QWebEngineProfile;
class QWebEngineView;
class WebEngineView;

// Owns the web engine's profile that all views share, and makes the views. The engine comes up
// only when the first view is sent somewhere, and not before the window is on screen.
class WebEngineViews final : public QObject
{
    Q_OBJECT

public:
    explicit WebEngineViews(QString storageName = QStringLiteral("Reelhop"));
    ~WebEngineViews() override;
    Q_DISABLE_COPY_MOVE(WebEngineViews)

    BrowserViewFactory factory();
    QWebEngineProfile *profile();

    // Readies a window that is not shown yet for the views it will hold, so that the engine
    // starting never re-creates it, and holds every view's start until it is on screen.
    void prepareWindow(QWidget *window);

    // The view starts its engine from the event loop once the window (if any) is on screen.
    void scheduleStart(WebEngineView *view);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void release();

    QString m_storageName;
    std::unique_ptr<QWebEngineProfile> m_profile;
    bool m_held = false;
    QList<QPointer<WebEngineView>> m_waiting;
};

class WebEngineView final : public BrowserView
{
    Q_OBJECT

public:
    WebEngineView(WebEngineViews &engine, QWidget *parent = nullptr);
    ~WebEngineView() override;
    Q_DISABLE_COPY_MOVE(WebEngineView)

    bool navigate(const QString &address) override;
    bool goBack() override;
    bool goForward() override;
    bool stop() override;
    bool refresh() override;
    bool printWithDialog() override;
    QString locationUrl() const override;
    QString title() const override;
    LoadState loadState() const override;
    int loadProgress() const override;
    QString failureReason() const override;
    void setMuted(bool muted) override;

    void startEngine();

private:
    void followLoading(const QWebEngineLoadingInfo &info);
    void setLoadState(LoadState state);
    void toggleFullScreen(QWebEngineFullScreenRequest request);

    WebEngineViews &m_engine;
    QWebEngineView *m_view = nullptr;
    QList<QUrl> m_pendingNavigations;
    bool m_startScheduled = false;
    bool m_muted = false;
    int m_lastProgress = 0;
    LoadState m_loadState = LoadState::Idle;
    QString m_failureReason;
    std::unique_ptr<QPrinter> m_printer;
    QPointer<QWebEngineView> m_fullScreenView;
};

#endif
