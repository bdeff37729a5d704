#ifndef REELHOP_TESTS_FAKE_BROWSER_VIEW_H
#define REELHOP_TESTS_FAKE_BROWSER_VIEW_H

#include "browsing/browser_view.h"

#include <QStringList>

// Records every call as "<view name> <operation> [argument]" in a log shared by all views, so a
// test sees both what each view was asked and in which order across views.
class FakeBrowserView final : public BrowserView
{
    Q_OBJECT

public:
    FakeBrowserView(QStringList *log, QWidget *parent);

    bool navigate(const QString &address) override;
    bool goBack() override;
    bool goForward() override;
    bool stop() override;
    bool refresh() override;
    bool printWithDialog() override;
    QString locationUrl() const override;
    QString title() const override;
    LoadState loadState() const override { return state; }
    int loadProgress() const override { return progress; }
    QString failureReason() const override { return reason; }
    void setMuted(bool muted) override { this->muted = muted; }

    // Plays a load step as the engine reports it.
    void report(LoadState newState, int newProgress, const QString &newReason = {});

    QString location = QStringLiteral("http:///");
    QString pageTitle;
    LoadState state = LoadState::Idle;
    int progress = 0;
    QString reason;
    bool muted = false;
    // Lets a test look at the window at the moment the view is sent somewhere.
    std::function<void()> onNavigate;

private:
    bool record(const QString &operation);

    QStringList *m_log = nullptr;
};

BrowserViewFactory fakeBrowserViewFactory(QStringList *log);

#endif
