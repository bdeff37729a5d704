#include "window_fixture.h"

#include "form/control_names.h"
#include "settings/settings_file.h"

#include <QApplication>
#include <QFile>

WindowFixture::WindowFixture(const QByteArray *settings)
{
    if (settings) {
        QFile file(settingsPath());
        if (!file.open(QIODevice::WriteOnly) || file.write(*settings) != settings->size())
            qFatal("cannot write the settings file");
    }
    window = std::make_unique<MainWindow>(folder.path(), fakeBrowserViewFactory(&log));
    startUpLog = std::exchange(log, {});
}

WindowFixture::~WindowFixture() = default;

FakeBrowserView *WindowFixture::view(int index) const
{
    return find<FakeBrowserView>(indexedName(u"WebBrowser1", index));
}

QString WindowFixture::settingsPath() const
{
    return SettingsFile::path(folder.path());
}

QWidget *WindowFixture::optionsWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == u"Options")
            return widget;
    }
    return nullptr;
}
