#ifndef REELHOP_TESTS_WINDOW_FIXTURE_H
#define REELHOP_TESTS_WINDOW_FIXTURE_H

#include "app/main_window.h"
#include "fake_browser_view.h"

#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// A main window on fake views, its program folder a fresh temporary folder.
class WindowFixture
{
public:
    // Settings bytes, when given, are in place before the window first reads a setting.
    explicit WindowFixture(const QByteArray *settings = nullptr);
    ~WindowFixture();

    template <typename Control> Control *find(const QString &name) const
    {
        auto *control = window->findChild<Control *>(name);
        if (!control)
            qFatal("no control named %s", qPrintable(name));
        return control;
    }

    QTabWidget *tabs() const { return find<QTabWidget>(QStringLiteral("SSTab1")); }
    FakeBrowserView *view(int index) const;
    QString settingsPath() const;

    // The options window, when it is loaded.
    static QWidget *optionsWindow();

    QTemporaryDir folder;
    QStringList startUpLog; // what the views were asked while the window started
    QStringList log;        // what they were asked since
    std::unique_ptr<MainWindow> window;
};

#endif
