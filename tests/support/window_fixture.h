#ifndef REELHOP_TESTS_WINDOW_FIXTURE_H
#define REELHOP_TESTS_WINDOW_FIXTURE_H

#include "app/main_window.h"
#include "fake_browser_view.h"
#include "settings_bytes.h"

#include <QDir>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// A main window on fake views, its program folder a fresh temporary folder.
class WindowFixture
{
public:
    // The files, by name, are in the folder before the window starts; so is whatever prepare
    // puts there.
    explicit WindowFixture(const QList<std::pair<QString, QByteArray>> &files = {},
                           const std::function<void(const QDir &folder)> &prepare = {});
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
    QString status() const;
    QString filePath(const QString &name) const { return folder.filePath(name); }
    QByteArray fileBytes(const QString &name) const;
    void click(const QString &buttonName) const;
    // Shows the window and waits until it has the keyboard, as shortcuts need.
    void showActive() const;
    // A spontaneous close event on the native window, as from its close box.
    void closeAsTheWindowSystemDoes() const;

    // A window of the program by its name ("Options", "Sites", "frmAbout"), shown or not.
    enum class Shown { Any, Only };
    static QWidget *topLevel(QStringView name, Shown shown = Shown::Any);

    QTemporaryDir folder;
    // What "Print It" prints on; none by default, as on a machine without a printer.
    NotesPrinterFactory makePrinter = [] { return nullptr; };
    QStringList startUpLog; // what the views were asked while the window started
    QStringList log;        // what they were asked since
    std::unique_ptr<MainWindow> window;
};

#endif
