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

    QString location = QStringLiteral("http:///");
    QString pageTitle;
    // Lets a test look at the window at the moment the view is sent somewhere.
    std::function<void()> onNavigate;

private:
    bool record(const QString &operation);

    QStringList *m_log = nullptr;
};

BrowserViewFactory fakeBrowserViewFactory(QStringList *log);

#endif
