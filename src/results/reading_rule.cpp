#include "reading_rule.h"

#include "search/sites_file.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>
#include <functional>

using namespace Qt::StringLiterals;

namespace ReadingRules {

namespace {

// A selector longer than this is no selector a person wrote.
constexpr qsizetype LongestSelector = 500;

struct KnownRule
{
    QStringView host;
    ReadingRule rule;
};

// From what the sites' results pages are publicly documented to hold; sites change their pages,
// and a user mends a rule in the sites file.
const QList<KnownRule> &knownRules()
{
    static const QList<KnownRule> rules{
        {u"www.youtube.com",
         {u"ytd-video-renderer"_s, u"#video-title"_s, u"a#video-title, a#thumbnail"_s,
          u"ytd-thumbnail img, img"_s,
          u"ytd-thumbnail-overlay-time-status-renderer, .badge-shape-wiz__text"_s,
          u"ytd-channel-name a, #channel-name a"_s, u"#metadata-line"_s}},
        {u"rumble.com",
         {u"li.video-listing-entry"_s, u".video-item--title"_s, u"a.video-item--a"_s,
          u"img.video-item--img"_s, u".video-item--duration"_s, u".ellipsis-1"_s,
          u".video-item--meta"_s}},
        {u"www.google.com",
         {u"div.MjjYud"_s, u"h3, div[role=\"heading\"]"_s, u"a[jsname=\"UWckNb\"]"_s, u"img"_s,
          u"span.k1U36b"_s, u".gqF9jc, .WRu9Cd"_s, u".ITZIwc"_s}},
    };
    return rules;
}

// The reader, a function of what to read by.
const QString &reader()
{
    static const QString script = [] {
        QFile file(u":/results/reader.js"_s);
        file.open(QIODevice::ReadOnly);
        return QString::fromUtf8(file.readAll()).trimmed();
    }();
    return script;
}

// The rule of the selectors the lookup gives for the sites file's keys; one longer than a person
// writes, or of more than one line, is none.
ReadingRule ruleOf(const std::function<QString(QStringView key)> &lookup)
{
    std::array<QString, SitesFile::RuleKeys.size()> found;
    for (std::size_t key = 0; key < found.size(); ++key) {
        const QString value = lookup(SitesFile::RuleKeys[key]);
        const bool oneLine =
            std::ranges::none_of(value, [](QChar c) { return c.unicode() < 0x20; });
        found[key] = value.size() <= LongestSelector && oneLine ? value : QString();
    }
    return {found[0], found[1], found[2], found[3], found[4], found[5], found[6]};
}

} // namespace

ReadingRule builtIn(const QString &searchTemplate)
{
    const QString host = QUrl(searchTemplate).host();
    for (const KnownRule &known : knownRules()) {
        if (host == known.host)
            return known.rule;
    }
    return {};
}

std::array<ReadingRule, SiteCatalogue::SiteCount> forLineup(const IniText &sitesText,
                                                            const SiteCatalogue::Lineup &lineup)
{
    std::array<ReadingRule, SiteCatalogue::SiteCount> rules;
    for (int site = 0; site < SiteCatalogue::SiteCount; ++site) {
        const QString group = SitesFile::groupOf(site);
        const ReadingRule own = ruleOf(
            [&](QStringView key) { return sitesText.value(group, key).value_or(QString()); });
        rules[site] = own.isEmpty() ? builtIn(lineup[site].searchTemplate) : own;
    }
    return rules;
}

QString readerScript(const ReadingRule &rule, Means means, const QString &pageAddress)
{
    // The selectors go in as JSON data, never as script text.
    QJsonObject selectors{{u"shapeOnly"_s, means == Means::ShapeOnly}, {u"page"_s, pageAddress}};
    const auto given = rule.selectors();
    for (std::size_t key = 0; key < given.size(); ++key)
        selectors.insert(SitesFile::RuleKeys[key].toString(), given[key]);
    return reader() + u'(' +
           QString::fromUtf8(QJsonDocument(selectors).toJson(QJsonDocument::Compact)) + u')';
}

QString pickerScript()
{
    return u"(point => "_s + reader() + u"({pick: point}))"_s;
}

ReadingRule ruleOfAnswer(const QVariant &answer)
{
    const QVariantMap rule = answer.toMap().value(u"rule"_s).toMap();
    return ruleOf([&rule](QStringView key) { return rule.value(key.toString()).toString(); });
}

} // namespace ReadingRules
