#ifndef REELHOP_BROWSING_BROWSER_VIEW_H
#define REELHOP_BROWSING_BROWSER_VIEW_H

#include <QString>
#include <QWidget>
#include <functional>

// The one face of a web view that the window uses. Every operation only starts work inside the
// view and reports by its return value whether the view took it; nothing waits for a page.
class BrowserView : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;

    virtual bool navigate(const QString &address) = 0;
    virtual bool goBack() = 0;
    virtual bool goForward() = 0;
    virtual bool stop() = 0;
    virtual bool refresh() = 0;
    virtual bool printWithDialog() = 0;

    // "http:///" until the view is first sent somewhere.
    virtual QString locationUrl() const = 0;
    virtual QString title() const = 0;

signals:
    void statusTextChanged(const QString &text);
    void progressChanged(int progress, int maximum);
};

// Makes one view; the window asks for ten. The program passes the web engine's, tests a fake.
using BrowserViewFactory = std::function<BrowserView *(QWidget *parent)>;

#endif
