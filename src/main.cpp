#include "app/main_window.h"
#include "browsing/engine_loader.h"
#include "browsing/web_engine_environment.h"
#include "form/cursor_blink_timeout.h"
#include "form/fonts.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <cstdio>

namespace {

// --help and --version answer on the terminal before any window or display is needed.
std::optional<int> answerCommandLine(int argc, char *argv[])
{
    QStringList arguments;
    for (int index = 0; index < argc; ++index)
        arguments.append(QString::fromLocal8Bit(argv[index]));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Search several video sites at once and compare their results tab by tab."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    // Qt's own options (-platform, -style, ...) are for QApplication: unknown ones are no error.
    parser.parse(arguments);
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        // Without an application object Qt cannot name the program itself.
        const QString program = QFileInfo(arguments.value(0, QStringLiteral("reelhop"))).fileName();
        std::fputs(qPrintable(parser.helpText().replace(u"<executable_name>"_qs, program)), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()),
                    qPrintable(QCoreApplication::applicationVersion()));
        return 0;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("Reelhop"));
    QCoreApplication::setApplicationVersion(QStringLiteral(REELHOP_VERSION));
    if (const std::optional<int> exitCode = answerCommandLine(argc, argv))
        return *exitCode;

    const PageCompositing compositing = prepareWebEngineEnvironment();
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/reelhop.svg")));
    QApplication::setDesktopFileName(QStringLiteral("reelhop"));
    registerFontSubstitutes();
    const CursorBlinkTimeout blinkTimeout(std::chrono::seconds(10));

    EngineLoader engine(EngineLoader::installedModulePath());
    MainWindow window(QCoreApplication::applicationDirPath(), engine.factory());
    engine.setUserAgent(window.userAgent());
    engine.prepareWindow(&window, compositing);
    window.showMaximized();
    return QApplication::exec();
}
