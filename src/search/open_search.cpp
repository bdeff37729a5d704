#include "open_search.h"

#include "search_template.h"
#include "sites_file.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

using namespace Qt::StringLiterals;

namespace OpenSearch {

namespace {

const QString Namespace = u"http://a9.com/-/spec/opensearch/1.1/"_s;
// A tab's caption, not a sentence.
constexpr qsizetype LongestName = 40;
const QString SearchTerms = u"{searchTerms}"_s;
// Stands for the search text while the template is read as an address, which would encode "%s".
const QString TextMark = u"reelhopsearchtext"_s;

QString say(const char *text)
{
    return QCoreApplication::translate("OpenSearch", text);
}

// The template with what the program can fill filled: the text's mark, the defaults the
// format gives its other parameters, nothing for those it marks optional ("{name?}").
std::pair<QString, QString> filled(QString address, const QXmlStreamAttributes &url)
{
    const auto offset = [&url](QLatin1StringView name) {
        const QString value = url.value(name).toString();
        return value.isEmpty() ? u"1"_s : value;
    };
    const QList<std::pair<QString, QString>> defaults{
        {SearchTerms, TextMark},
        {u"{inputEncoding}"_s, u"UTF-8"_s},
        {u"{outputEncoding}"_s, u"UTF-8"_s},
        {u"{language}"_s, u"*"_s},
        {u"{startPage}"_s, offset("pageOffset"_L1)},
        {u"{startIndex}"_s, offset("indexOffset"_L1)}};
    for (const auto &[parameter, value] : defaults)
        address.replace(parameter, value);
    address.remove(QRegularExpression(u"\\{[^{}]*\\?\\}"_s));
    const QRegularExpressionMatch unfilled = QRegularExpression(u"\\{[^{}]*\\}"_s).match(address);
    if (unfilled.hasMatch())
        return {{},
                say("its search address needs %1, which the program cannot give.")
                    .arg(unfilled.captured())};
    return {address, {}};
}

} // namespace

Reading read(const QByteArray &xml, const QUrl &address)
{
    if (xml.size() > LargestDescription)
        return {std::nullopt, say("it is larger than 64 KiB.")};
    QXmlStreamReader reader(xml);
    QString name;
    QString found;
    QString problem;
    bool isDescription = false;
    while (!reader.atEnd() && problem.isEmpty()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::DTD || token == QXmlStreamReader::EntityReference) {
            problem = say("it declares entities, which are not read.");
        } else if (token == QXmlStreamReader::StartElement) {
            const QStringView element = reader.name();
            if (!isDescription && element != u"OpenSearchDescription")
                problem = say("it is not an OpenSearch description.");
            isDescription = true;
            if (element == u"ShortName" && name.isEmpty()) {
                name = reader.readElementText(QXmlStreamReader::SkipChildElements).simplified();
            } else if (element == u"Url" && found.isEmpty() &&
                       reader.attributes().value("type"_L1).compare(u"text/html",
                                                                    Qt::CaseInsensitive) == 0 &&
                       reader.attributes()
                               .value("method"_L1)
                               .compare(u"post", Qt::CaseInsensitive) != 0) {
                const QString raw = reader.attributes().value("template"_L1).toString();
                if (raw.contains(SearchTemplate::Marker) || !raw.contains(SearchTerms))
                    problem = say("its search address has no place for the search text.");
                else
                    std::tie(found, problem) = filled(raw, reader.attributes());
            }
        }
    }
    if (problem.isEmpty() && reader.hasError())
        problem = say("it is not well-formed XML (%1).").arg(reader.errorString());
    if (problem.isEmpty() && found.isEmpty())
        problem = say("it names no web page address for a search.");
    if (problem.isEmpty() && name.isEmpty())
        problem = say("it gives the site no name.");
    if (!problem.isEmpty())
        return {std::nullopt, problem};

    const QUrl resolved = address.resolved(QUrl(found));
    const QString searchTemplate =
        resolved.toString(QUrl::FullyEncoded).replace(TextMark, SearchTemplate::Marker.toString());
    if (const QString unusable = SearchTemplate::templateProblem(searchTemplate);
        !unusable.isEmpty() || searchTemplate.size() > SitesFile::LongestValue)
        return {std::nullopt,
                unusable.isEmpty() ? say("its search address is too long.") : unusable};
    name = name.left(LongestName);
    const QString start = resolved
                              .adjusted(QUrl::RemovePath | QUrl::RemoveQuery |
                                        QUrl::RemoveFragment | QUrl::RemoveUserInfo)
                              .toString() +
                          u'/';
    return {Site{name, name, start, searchTemplate, false, {}}, {}};
}

QByteArray describe(const Site &site)
{
    QString searchTemplate = site.searchTemplate;
    if (searchTemplate.contains(SearchTemplate::Marker))
        searchTemplate.replace(SearchTemplate::Marker.toString(), SearchTerms);
    else
        searchTemplate += SearchTerms;
    QByteArray xml;
    QXmlStreamWriter writer(&xml);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeDefaultNamespace(Namespace);
    writer.writeStartElement(Namespace, u"OpenSearchDescription"_s);
    writer.writeTextElement(Namespace, u"ShortName"_s, site.tabCaption);
    writer.writeTextElement(Namespace, u"InputEncoding"_s, u"UTF-8"_s);
    writer.writeStartElement(Namespace, u"Url"_s);
    writer.writeAttribute(u"type"_s, u"text/html"_s);
    writer.writeAttribute(u"method"_s, u"get"_s);
    writer.writeAttribute(u"template"_s, searchTemplate);
    writer.writeEndElement();
    writer.writeEndElement();
    writer.writeEndDocument();
    return xml;
}

} // namespace OpenSearch
