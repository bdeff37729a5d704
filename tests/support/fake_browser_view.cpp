#include "fake_browser_view.h"

FakeBrowserView::FakeBrowserView(QStringList *log, QWidget *parent)
    : BrowserView(parent), m_log(log)
{
}

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

bool FakeBrowserView::goBack()
{
    return record(QStringLiteral("goBack"));
}

bool FakeBrowserView::goForward()
{
    return record(QStringLiteral("goForward"));
}

bool FakeBrowserView::stop()
{
    return record(QStringLiteral("stop"));
}

bool FakeBrowserView::refresh()
{
    return record(QStringLiteral("refresh"));
}

bool FakeBrowserView::printWithDialog()
{
    return record(QStringLiteral("printWithDialog"));
}

QString FakeBrowserView::locationUrl() const
{
    return location;
}

QString FakeBrowserView::title() const
{
    return pageTitle;
}

BrowserViewFactory fakeBrowserViewFactory(QStringList *log)
{
    return [log](QWidget *parent) { return new FakeBrowserView(log, parent); };
}

void FakeBrowserView::report(LoadState newState, int newProgress, const QString &newReason)
{
    state = newState;
    progress = newProgress;
    reason = newReason;
    emit loadStateChanged(newState);
    emit progressChanged(newProgress, 100);
}
