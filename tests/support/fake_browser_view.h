#ifndef REELHOP_TESTS_FAKE_BROWSER_VIEW_H
#define REELHOP_TESTS_FAKE_BROWSER_VIEW_H

#include "browsing/browser_view.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QStringList>

// Records every call as "<view name> <operation> [argument]" in a log shared by all views, so a
// test sees both what each view was asked and in which order across views; without a log it
// only keeps what it was told.
class FakeBrowserView final : public BrowserView
{
    Q_OBJECT

public:
    FakeBrowserView(QStringList *log, QWidget *parent) : BrowserView(parent), m_log(log)
    {
        setFocusPolicy(Qt::StrongFocus);
    }
    ~FakeBrowserView() override
    {
        if (onDestroyed)
            onDestroyed();
    }

    bool navigate(const QString &address) override
    {
        location = address;
        if (onNavigate)
            onNavigate();
        return record(QStringLiteral("navigate ") + address);
    }
    bool showPage(const QString &html, const QString &address) override
    {
        location = address;
        shownHtml = html;
        return record(QStringLiteral("showPage ") + address);
    }
    bool goBack() override { return record(QStringLiteral("goBack")); }
    bool goForward() override { return record(QStringLiteral("goForward")); }
    bool stop() override { return record(QStringLiteral("stop")); }
    bool refresh() override { return record(QStringLiteral("refresh")); }
    bool printWithDialog() override { return record(QStringLiteral("printWithDialog")); }
    QString locationUrl() const override { return location; }
    QString title() const override { return pageTitle; }
    LoadState loadState() const override { return state; }
    int loadProgress() const override { return progress; }
    QString failureReason() const override { return reason; }
    void setMuted(bool muted) override { this->muted = muted; }
    void setZoomFactor(qreal factor) override { zoom = factor; }
    qreal zoomFactor() const override { return zoom; }
    void findText(const QString &text, bool backward) override
    {
        record(QStringLiteral("find %1%2")
                   .arg(text, backward ? QStringLiteral(" backward") : QString()));
    }
    void setPlayerOffered(bool offered) override { playerOffered = offered; }
    void setLifecycle(Lifecycle state) override
    {
        lifecycleState = state;
        record(QStringLiteral("lifecycle %1").arg(int(state)));
    }
    Lifecycle lifecycle() const override { return lifecycleState; }
    bool isInUse() const override { return inUse; }
    QByteArray savedHistory() const override { return history; }
    bool restoreHistory(const QByteArray &bytes, const QString &address) override
    {
        location = address;
        history = bytes;
        return record(
            QStringLiteral("restoreHistory %1 %2").arg(QString::fromLatin1(bytes), address));
    }
    void readResults(const QString &script) override { readerScript = script; }
    void setTeachingOffered(bool offered) override { teachingOffered = offered; }
    bool pointAtPage(const QString &script) override
    {
        pointerScript = script;
        return record(QStringLiteral("pointAtPage"));
    }
    void endPointing() override { record(QStringLiteral("endPointing")); }

    // Plays a load step as the engine reports it.
    void report(LoadState newState, int newProgress, const QString &newReason = {})
    {
        state = newState;
        progress = newProgress;
        reason = newReason;
        emit loadStateChanged(newState);
        emit progressChanged(newProgress, 100);
    }

    QString location = QStringLiteral("http:///");
    QString pageTitle;
    QString shownHtml;
    LoadState state = LoadState::Idle;
    int progress = 0;
    QString reason;
    bool muted = false;
    qreal zoom = 1;
    bool playerOffered = false;
    Lifecycle lifecycleState = Lifecycle::Active;
    bool inUse = false;
    QByteArray history;
    QString readerScript;
    bool teachingOffered = false;
    QString pointerScript;
    // Lets a test look at the window at the moment the view is sent somewhere.
    std::function<void()> onNavigate;
    // Lets a test look at the window as the view goes.
    std::function<void()> onDestroyed;

protected:
    // A page gets the keys the window leaves it.
    void keyPressEvent(QKeyEvent *event) override
    {
        record(QStringLiteral("key ") + QKeySequence(event->keyCombination()).toString());
    }

private:
    bool record(const QString &operation)
    {
        if (m_log)
            m_log->append(objectName() + u' ' + operation);
        return true;
    }

    QStringList *m_log = nullptr;
};

inline BrowserViewFactory fakeBrowserViewFactory(QStringList *log)
{
    return [log](QWidget *parent) { return new FakeBrowserView(log, parent); };
}

#endif
