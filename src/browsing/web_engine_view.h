#ifndef REELHOP_BROWSING_WEB_ENGINE_VIEW_H
#define REELHOP_BROWSING_WEB_ENGINE_VIEW_H

#include "browser_view.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QUrl>
#include <memory>

class DownloadFolder;
class FrameRules;
class OwnPages;
class PagePointing;
class PageProtection;
class ResultsReading;
class SiteDescriptionLink;
class QPrinter;
class QWebEngineDownloadRequest;
class QWebEngineFullScreenRequest;
class QWebEngineLoadingInfo;
class QWebEngineProfile;
class QWebEnginePage;
class RequestPolicy;
class QWebEngineView;

class WebEngineView final : public BrowserView
{
    Q_OBJECT

public:
    // What the views of one engine share; each outlives the views.
    struct Shared
    {
        QWebEngineProfile *profile = nullptr;
        OwnPages *ownPages = nullptr;
        DownloadFolder *downloads = nullptr;
        FrameRules *frameRules = nullptr;
        // None blocks nothing.
        const RequestPolicy *policy = nullptr;
    };

    explicit WebEngineView(const Shared &shared, QWidget *parent = nullptr);
    ~WebEngineView() override;
    Q_DISABLE_COPY_MOVE(WebEngineView)

    bool navigate(const QString &address) override;
    bool showPage(const QString &html, const QString &address) override;
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
    void setZoomFactor(qreal factor) override;
    qreal zoomFactor() const override;
    void findText(const QString &text, bool backward) override;
    void setPlayerOffered(bool offered) override;
    void setLifecycle(Lifecycle state) override;
    Lifecycle lifecycle() const override;
    bool isInUse() const override;
    QByteArray savedHistory() const override;
    bool restoreHistory(const QByteArray &history, const QString &address) override;
    int blockedCount() const override;
    void readResults(const QString &script) override;
    void setTeachingOffered(bool offered) override;
    bool pointAtPage(const QString &script) override;
    void endPointing() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showContextMenu(QPoint position);
    void wake();
    void followLoading(const QWebEngineLoadingInfo &info);
    void followEndedProcess(int status);
    void followDownload(QWebEngineDownloadRequest *download);
    // Whether the user just acted in this view in sight; the act is then used up.
    bool takeUserAct(const QUrl &download);
    void askAboutDownload(const QUrl &address, const QString &name);
    void setLoadState(LoadState state);
    void toggleFullScreen(QWebEngineFullScreenRequest request);

    OwnPages *m_ownPages = nullptr;
    DownloadFolder *m_downloads = nullptr;
    QWebEngineView *m_view = nullptr;
    // The tab's page, wherever it is shown: in the tab's view, or full screen.
    QWebEnginePage *m_page = nullptr;
    PageProtection *m_protection = nullptr;
    ResultsReading *m_resultsReading = nullptr;
    SiteDescriptionLink *m_descriptionLink = nullptr;
    int m_lastProgress = 0;
    LoadState m_loadState = LoadState::Idle;
    QString m_failureReason;
    bool m_loadedBeforeThisLoad = false;
    std::unique_ptr<QPrinter> m_printer;
    QPointer<QWebEngineView> m_fullScreenView;
    bool m_playerOffered = false;
    bool m_teachingOffered = false;
    QPointer<PagePointing> m_pointing;
    // The user has typed into the page since it loaded.
    bool m_typedInto = false;
    // Since the user's last click or key in the page.
    QElapsedTimer m_userActed;
    // Where the window last sent the view.
    QUrl m_requestedAddress;
    QPointer<QWidget> m_downloadQuestion;
    // The download the user said yes to.
    QUrl m_approvedDownload;
};

#endif
