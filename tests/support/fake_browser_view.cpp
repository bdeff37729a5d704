#include "fake_browser_view.h"

bool FakeBrowserView::record(const QString &operation)
{
    m_log->append(objectName() + u' ' + operation);
    return true;
}

bool FakeBrowserView::navigate(const QString &address)
{
    location = address;
    if (onNavigate)
        onNavigate();
    return record(QStringLiteral("navigate ") + address);
}

void FakeBrowserView::report(LoadState newState, int newProgress, const QString &newReason)
{
    state = newState;
    progress = newProgress;
    reason = newReason;
    emit loadStateChanged(newState);
    emit progressChanged(newProgress, 100);
}

BrowserViewFactory fakeBrowserViewFactory(QStringList *log)
{
    return [log](QWidget *parent) { return new FakeBrowserView(log, parent); };
}
