#include "app/main_window.h"
#include "app/read_page.h"
#include "app/running_copy.h"
#include "blocking/blocker.h"
#include "blocking/why_blocked.h"
#include "browsing/engine_loader.h"
#include "browsing/web_engine_environment.h"
#include "files/data_file.h"
#include "form/cursor_blink_timeout.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <cstdio>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// --help and --version answer on the terminal before any window or display is needed.
std::optional<int> answerCommandLine(int argc, char *argv[], bool *verboseAsked,
                                     std::optional<ReadPage::Request> *pageToRead)
{
    // The answers below need the program's folder, but no display.
    std::optional<QCoreApplication> commandLine;
    QStringList arguments;
    for (int index = 0; index < argc; ++index)
        arguments.append(QString::fromLocal8Bit(argv[index]));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Search several video sites at once and compare their results tab by tab."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption whyBlocked(
        u"why-blocked"_s, u"Says which rule blocks or allows the address, and stops."_s,
        u"address"_s);
    const QCommandLineOption page(u"page"_s, u"With --why-blocked: the page that asks."_s,
                                  u"page"_s);
    const QCommandLineOption type(
        u"type"_s, u"With --why-blocked: the request type (script, image, ...; other)."_s,
        u"type"_s, u"other"_s);
    const QCommandLineOption list(
        u"list"_s, u"With --why-blocked: a list to ask instead of the program's; repeatable."_s,
        u"file"_s);
    const QCommandLineOption verbose(u"verbose"_s,
                                     u"Prints what the web engine says as it starts and runs."_s);
    const QCommandLineOption readPage(
        u"read-page"_s, u"Prints the results a saved page shows, one JSON object a line."_s,
        u"file"_s);
    const QCommandLineOption address(
        u"address"_s, u"With --read-page: the address the page was saved from."_s, u"address"_s);
    const QCommandLineOption site(
        u"site"_s, u"With --read-page: read by the rule of this site, 1 to 9."_s, u"number"_s);
    const QCommandLineOption shape(u"shape"_s,
                                   u"With --read-page: read by the page's shape alone."_s);
    parser.addOptions({whyBlocked, page, type, list, readPage, address, site, shape, verbose});
    // Qt's own options (-platform, -style, ...) are for QApplication: unknown ones are no error.
    parser.parse(arguments);
    // The terminal stays quiet unless something is wrong for the user, or it is asked for.
    *verboseAsked = parser.isSet(verbose);
    if (!*verboseAsked)
        QLoggingCategory::setFilterRules(u"qt.webenginecontext.info=false"_s);
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        // Without an application object Qt cannot name the program itself.
        const QString program = QFileInfo(arguments.value(0, QStringLiteral("reelhop"))).fileName();
        std::fputs(qPrintable(parser.helpText().replace(u"<executable_name>"_s, program)), stdout);
        return 0;
    }
    if (parser.isSet(version) || parser.isSet(whyBlocked)) {
        // Asking the engine's module its version loads the engine's library, which wants this.
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        commandLine.emplace(argc, argv);
    }
    if (parser.isSet(version)) {
        std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()),
                    qPrintable(QCoreApplication::applicationVersion()));
        const QString engine = EngineLoader::engineVersion(EngineLoader::installedModulePath());
        if (!engine.isEmpty())
            std::printf("Web engine: %s\n", qPrintable(engine));
        return 0;
    }
    if (parser.isSet(whyBlocked)) {
        QList<FilterLists::ListFile> lists;
        for (const QString &file : parser.values(list))
            lists.append({QFileInfo(file).fileName(), file});
        if (lists.isEmpty()) {
            const QString folder = DataFile::folderFor(QCoreApplication::applicationDirPath());
            const BlockingSettings settings =
                BlockingSettings::load(BlockingSettings::path(folder)).value_or(BlockingSettings{});
            lists = Blocker::listsInUse(FilterLists::available(folder), settings);
        }
        const WhyBlocked::Answer answer = WhyBlocked::ask(lists, parser.value(whyBlocked),
                                                          parser.value(page), parser.value(type));
        std::fputs(qPrintable(answer.text + u'\n'), answer.ok ? stdout : stderr);
        return answer.ok ? 0 : 2;
    }
    if (parser.isSet(readPage)) {
        // A --site that names no site is -1, which the request's check refuses.
        const int number = parser.value(site).toInt();
        const ReadPage::Request request{parser.value(readPage), parser.value(address),
                                        !parser.isSet(site) ? 0
                                        : number > 0        ? number
                                                            : -1,
                                        parser.isSet(shape)};
        if (const QString problem = ReadPage::problem(request); !problem.isEmpty()) {
            std::fputs(qPrintable(problem + u'\n'), stderr);
            return 2;
        }
        *pageToRead = request;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("Reelhop"));
    QCoreApplication::setApplicationVersion(QStringLiteral(REELHOP_VERSION));
    bool verbose = false;
    std::optional<ReadPage::Request> pageToRead;
    if (const std::optional<int> exitCode = answerCommandLine(argc, argv, &verbose, &pageToRead))
        return *exitCode;
    if (pageToRead) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        prepareWebEngineEnvironment(verbose);
        QApplication app(argc, argv);
        return ReadPage::run(*pageToRead,
                             DataFile::folderFor(QCoreApplication::applicationDirPath()));
    }

    const PageCompositing compositing = prepareWebEngineEnvironment(verbose);
    QApplication app(argc, argv);
    const QString dataFolder = DataFile::folderFor(QCoreApplication::applicationDirPath());
    RunningCopy copy(dataFolder);
    if (!copy.isFirst()) {
        if (copy.handOver())
            return 0;
        std::fputs("Reelhop is already running, and its window did not answer.\n", stderr);
        return 1;
    }
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/reelhop.svg")));
    QApplication::setDesktopFileName(QStringLiteral("reelhop"));
    const CursorBlinkTimeout blinkTimeout(std::chrono::seconds(10));

    EngineLoader engine(EngineLoader::installedModulePath());
    MainWindow window(QCoreApplication::applicationDirPath(), engine.factory());
    engine.setUserAgent(window.userAgent());
    engine.setRequestPolicy(window.requestPolicy());
    // A page that loaded before the lists were read would have shown its ads and trackers.
    if (!window.isBlockingReady()) {
        engine.holdPages();
        QObject::connect(&window, &MainWindow::blockingReady, &engine, &EngineLoader::releasePages);
    }
    const QString sandbox = sandboxOffReason(geteuid() == 0, qgetenv("QTWEBENGINE_DISABLE_SANDBOX"),
                                             qgetenv("QTWEBENGINE_CHROMIUM_FLAGS"));
    if (!sandbox.isEmpty())
        window.showNotice(sandbox);
    engine.prepareWindow(&window, compositing);
    if (!copy.listen(&window))
        window.showNotice(QCoreApplication::translate(
                              "RunningCopy",
                              "Starting Reelhop again will not bring this window to the front: it "
                              "cannot listen at %1.")
                              .arg(QDir::toNativeSeparators(RunningCopy::placeFor(dataFolder))));
    window.showMaximized();
    return QApplication::exec();
}
