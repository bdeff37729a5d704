#ifndef REELHOP_BROWSING_ENGINE_VIEW_H
#define REELHOP_BROWSING_ENGINE_VIEW_H

#include "browser_view.h"

#include <QPointer>
#include <QUrl>
#include <optional>

// A view whose page comes from the web engine module. Until the module has given it one, it
// keeps the addresses it is sent, in order, and reports where it is headed; then it hands them
// on and speaks for the engine's view.
class EngineView final : public BrowserView
{
    Q_OBJECT

public:
    // Asks for the engine's view once, at the first address; attach() or engineFailed() answers.
    using EngineRequest = std::function<void(EngineView *)>;

    explicit EngineView(EngineRequest requestEngine, QWidget *parent = nullptr);

    // What an address typed into the address box opens: without a scheme, https.
    static QUrl typedAddress(const QString &text);
    Q_DISABLE_COPY_MOVE(EngineView)

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

    // The engine's view for this one, or why there is none. An attached view opens what it was
    // told only from open() on.
    void attach(BrowserView *page);
    void open();
    void engineFailed(const QString &reason);

private:
    // Where the view was sent before its engine came; a page of the program's own has its html.
    struct Pending
    {
        QUrl url;
        std::optional<QString> html;
        std::optional<QByteArray> history;
    };
    void hold(Pending pending);

    EngineRequest m_requestEngine;
    QPointer<BrowserView> m_page;
    QList<Pending> m_pending;
    bool m_requested = false;
    bool m_open = false;
    bool m_muted = false;
    qreal m_zoomFactor = 1;
    bool m_playerOffered = false;
    bool m_teachingOffered = false;
    QString m_resultsReader;
    QString m_failure;
    // Where a typed address goes if its https answer fails.
    QUrl m_httpFallback;
};

#endif
