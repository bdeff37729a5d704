#include "window_fixture.h"

#include "form/control_names.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QtTest/qtestspontaneevent.h>

WindowFixture::WindowFixture(const QList<std::pair<QString, QByteArray>> &files,
                             const std::function<void(const QDir &folder)> &prepare)
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

WindowFixture::~WindowFixture() = default;

FakeBrowserView *WindowFixture::view(int index) const
{
    return find<FakeBrowserView>(indexedName(u"WebBrowser1", index));
}

QString WindowFixture::status() const
{
    return find<QLabel>(QStringLiteral("Panel1"))->text();
}

QByteArray WindowFixture::fileBytes(const QString &name) const
{
    QFile file(filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
}

void WindowFixture::click(const QString &buttonName) const
{
    QTest::mouseClick(find<QAbstractButton>(buttonName), Qt::LeftButton);
}

QWidget *WindowFixture::topLevel(QStringView name, Shown shown)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == name && (shown == Shown::Any || widget->isVisible()))
            return widget;
    }
    return nullptr;
}

void WindowFixture::showActive() const
{
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get()))
        qFatal("the window did not become active");
}

void WindowFixture::closeAsTheWindowSystemDoes() const
{
    QCloseEvent close;
    QSpontaneKeyEvent::setSpontaneous(&close);
    QCoreApplication::instance()->notify(window->windowHandle(), &close);
}
