#ifndef REELHOP_BROWSING_WEB_ENGINE_VIEW_H
#define REELHOP_BROWSING_WEB_ENGINE_VIEW_H

#include "browser_view.h"

#include <QPointer>
#include <QUrl>
#include <memory>

class QPrinter;
class QWebEngineFullScreenRequest;
class QWebEngineProfile;
class QWebEngineView;

// Owns the web engine's profile that all views share, and makes the views. The profile (and with
// it the engine) comes up only when the first view needs it.
class WebEngineViews final
{
public:
    explicit WebEngineViews(QString storageName = QStringLiteral("Reelhop"));
    ~WebEngineViews();
    Q_DISABLE_COPY_MOVE(WebEngineViews)

    BrowserViewFactory factory();
    QWebEngineProfile *profile();

private:
    QString m_storageName;
    std::unique_ptr<QWebEngineProfile> m_profile;
};

class WebEngineView final : public BrowserView
{
    Q_OBJECT

public:
    WebEngineView(std::function<QWebEngineProfile *()> profile, QWidget *parent = nullptr);
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

private:
    void startEngine();
    void toggleFullScreen(QWebEngineFullScreenRequest request);

    std::function<QWebEngineProfile *()> m_profile;
    QWebEngineView *m_view = nullptr;
    QList<QUrl> m_pendingNavigations;
    bool m_engineStartQueued = false;
    int m_lastProgress = 0;
    std::unique_ptr<QPrinter> m_printer;
    QPointer<QWebEngineView> m_fullScreenView;
};

#endif
