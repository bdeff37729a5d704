#include "read_page.h"

#include "blocking/request_policy.h"
#include "browsing/engine_loader.h"
#include "files/data_file.h"
#include "results/page_reading.h"
#include "results/reading_rule.h"
#include "search/search_template.h"
#include "search/sites_file.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTimer>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace ReadPage {

namespace {

// Larger than any results page a browser saves with its pictures inlined.
constexpr qint64 LargestPage = 64 * 1024 * 1024;
// The reader settles within seconds; an engine that never answers is said so.
constexpr auto LongestWait = std::chrono::seconds(60);
const QString ShownAt = u"reelhop:saved-page"_s;

// Nothing the saved page asks for leaves the machine.
class NothingLeaves final : public RequestPolicy
{
public:
    RequestVerdict verdict(const QUrl &, const QUrl &, Blocking::RequestType) const override
    {
        return {u"(a saved page is read offline)"_s, {}};
    }
    PageHiding hiding(const QUrl &) const override { return {}; }
};

// The page as if it came from the address: its relative links resolve against it.
QString asFrom(QString html, const QString &address)
{
    const QString base = u"<base href=\"%1\">"_s.arg(address.toHtmlEscaped());
    static const QRegularExpression head(u"<head\\b[^>]*>"_s,
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch found = head.match(html);
    return found.hasMatch() ? html.insert(found.capturedEnd(), base) : base + html;
}

ReadingRule ruleFor(const Request &request, const QString &dataFolder)
{
    if (request.shapeOnly)
        return {};
    if (request.site == 0)
        return ReadingRules::builtIn(request.address);
    const std::optional<SitesFile::Contents> file = SitesFile::load(SitesFile::path(dataFolder));
    const SiteCatalogue::Lineup lineup = file ? file->lineup : SiteCatalogue::builtInLineup();
    return ReadingRules::forLineup(file ? file->text : IniText(), lineup)[request.site - 1];
}

QString howName(PageReading::How how)
{
    switch (how) {
    case PageReading::How::Rule:
        return u"rule"_s;
    case PageReading::How::Data:
        return u"data"_s;
    case PageReading::How::Shape:
        return u"shape"_s;
    case PageReading::How::Nothing:
        break;
    }
    return {};
}

void print(const PageReading &reading)
{
    for (const VideoResult &result : reading.results) {
        const QJsonObject line{{u"title"_s, result.title},      {u"link"_s, result.address},
                               {u"image"_s, result.thumbnail},  {u"length"_s, result.length},
                               {u"author"_s, result.author},    {u"meta"_s, result.meta},
                               {u"how"_s, howName(reading.how)}};
        std::puts(QJsonDocument(line).toJson(QJsonDocument::Compact).constData());
    }
    std::fflush(stdout);
}

int fail(const QString &why)
{
    std::fputs(qPrintable(why + u'\n'), stderr);
    return 2;
}

} // namespace

QString problem(const Request &request)
{
    const QFileInfo file(request.file);
    if (!file.isFile() || !file.isReadable())
        return u"Cannot read %1: no such readable file."_s.arg(request.file);
    if (file.size() > LargestPage)
        return u"Cannot read %1: larger than %2 MiB."_s.arg(request.file).arg(LargestPage >> 20);
    if (const QString wrong = SearchTemplate::addressProblem(request.address); !wrong.isEmpty())
        return u"The address %1 cannot be a page's: %2"_s.arg(request.address, wrong);
    if (request.site < 0 || request.site > SiteCatalogue::SiteCount)
        return u"--site takes a site's number, 1 to %1."_s.arg(SiteCatalogue::SiteCount);
    if (request.site != 0 && request.shapeOnly)
        return u"--site and --shape are two ways of reading: give one."_s;
    return {};
}

int run(const Request &request, const QString &dataFolder)
{
    if (const QString wrong = problem(request); !wrong.isEmpty())
        return fail(wrong);
    const std::optional<QByteArray> bytes = DataFile::read(request.file, LargestPage);
    if (!bytes)
        return fail(u"Cannot read %1."_s.arg(request.file));

    NothingLeaves policy;
    EngineLoader engine(EngineLoader::installedModulePath());
    engine.setRequestPolicy(&policy);
    engine.release(); // no window to wait for
    const std::unique_ptr<BrowserView> view(engine.factory()(nullptr));
    view->resize(1280, 1024); // a desktop's page, laid out as a desktop browser lays it out
    view->show();

    QEventLoop loop;
    int exitCode = 2;
    QObject::connect(view.get(), &BrowserView::resultsRead, &loop,
                     [&](const QVariant &answer, bool settled) {
                         if (!settled)
                             return;
                         print(PageReadings::fromAnswer(answer));
                         exitCode = 0;
                         loop.quit();
                     });
    QObject::connect(
        view.get(), &BrowserView::loadStateChanged, &loop, [&](BrowserView::LoadState state) {
            if (state != BrowserView::LoadState::Failed)
                return;
            fail(u"The engine could not show %1: %2"_s.arg(request.file, view->failureReason()));
            loop.quit();
        });
    QTimer::singleShot(LongestWait, &loop, [&] {
        fail(u"The page was not read within %1 seconds."_s.arg(LongestWait.count()));
        loop.quit();
    });
    view->readResults(ReadingRules::readerScript(ruleFor(request, dataFolder),
                                                 request.shapeOnly ? ReadingRules::Means::ShapeOnly
                                                                   : ReadingRules::Means::Any,
                                                 request.address));
    view->showPage(asFrom(QString::fromUtf8(*bytes), request.address), ShownAt);
    loop.exec();
    return exitCode;
}

} // namespace ReadPage
