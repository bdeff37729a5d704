#ifndef REELHOP_TESTS_WINDOW_FIXTURE_H
#define REELHOP_TESTS_WINDOW_FIXTURE_H

#include "app/main_window.h"
#include "fake_browser_view.h"
#include "form/control_names.h"
#include "settings_bytes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QtTest/qtestspontaneevent.h>
#include <memory>

// A main window on fake views, its program folder a fresh temporary folder.
class WindowFixture
{
public:
    // The files, by name, are in the folder before the window starts; so is whatever prepare
    // puts there.
    explicit WindowFixture(const QList<std::pair<QString, QByteArray>> &files = {},
                           const std::function<void(const QDir &folder)> &prepare = {})
    {
        if (prepare)
            prepare(QDir(folder.path()));
        for (const auto &[name, bytes] : files) {
            QFile file(filePath(name));
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                qFatal("cannot write %s", qPrintable(name));
        }
        window = std::make_unique<MainWindow>(folder.path(), fakeBrowserViewFactory(&log),
                                              [this] { return makePrinter(); });
        startUpLog = std::exchange(log, {});
    }

    template <typename Control> Control *find(const QString &name) const
    {
        auto *control = window->findChild<Control *>(name);
        if (!control)
            qFatal("no control named %s", qPrintable(name));
        return control;
    }

    QTabWidget *tabs() const { return find<QTabWidget>(QStringLiteral("SSTab1")); }
    FakeBrowserView *view(int index) const
    {
        return find<FakeBrowserView>(indexedName(u"WebBrowser1", index));
    }
    // Each tab as "1" when it is switched on, "0" when off.
    QString availableTabs() const
    {
        QString available;
        for (int tab = 0; tab < SiteCatalogue::TabCount; ++tab)
            available += tabs()->isTabEnabled(tab) ? u'1' : u'0';
        return available;
    }
    QString status() const { return find<QLabel>(QStringLiteral("Panel1"))->text(); }
    QString filePath(const QString &name) const { return folder.filePath(name); }
    QByteArray fileBytes(const QString &name) const
    {
        QFile file(filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
    }
    void click(const QString &buttonName) const { click(window.get(), buttonName); }
    // Clicks a button of any of the program's windows.
    static void click(QWidget *in, const QString &buttonName)
    {
        auto *button = in->findChild<QAbstractButton *>(buttonName);
        if (!button)
            qFatal("no button named %s", qPrintable(buttonName));
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // Shows the window and waits until it has the keyboard, as shortcuts need.
    void showActive() const
    {
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get()))
            qFatal("the window did not become active");
    }

    // A spontaneous close event on the native window, as from its close box.
    void closeAsTheWindowSystemDoes() const
    {
        QCloseEvent close;
        QSpontaneKeyEvent::setSpontaneous(&close);
        QCoreApplication::instance()->notify(window->windowHandle(), &close);
    }

    // A window of the program by its name ("Options", "Sites", "frmAbout"), shown or not.
    enum class Shown { Any, Only };
    static QWidget *topLevel(QStringView name, Shown shown = Shown::Any)
    {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == name && (shown == Shown::Any || widget->isVisible()))
                return widget;
        }
        return nullptr;
    }

    QTemporaryDir folder;
    // What "Print It" prints on; none by default, as on a machine without a printer.
    NotesPrinterFactory makePrinter = [] { return nullptr; };
    QStringList startUpLog; // what the views were asked while the window started
    QStringList log;        // what they were asked since
    std::unique_ptr<MainWindow> window;
};

#endif
