#include "form/fonts.h"
#include "app/main_window.h"
#include "browsing/web_engine_environment.h"
#include "browsing/web_engine_view.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    prepareWebEngineEnvironment();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Reelhop"));
    QApplication::setApplicationVersion(QStringLiteral("1.2.0"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/reelhop.svg")));
    registerFontSubstitutes();

    WebEngineViews views;
    MainWindow window(QCoreApplication::applicationDirPath(), views.factory());
    views.prepareWindow(&window);
    window.showMaximized();
    return QApplication::exec();
}
