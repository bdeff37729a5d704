#include "page_reading.h"

#include <QRegularExpression>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace PageReadings {

namespace {

// A day: anything longer is a count of something else.
constexpr int LongestLength = 24 * 3600;

QString plainText(const QVariant &value)
{
    if (value.typeId() != QMetaType::QString)
        return {};
    QString text = value.toString().left(LongestText * 2);
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            c = u' ';
    }
    return text.simplified().left(LongestText);
}

QString webAddress(const QVariant &value)
{
    if (value.typeId() != QMetaType::QString || value.toString().size() > LongestAddress)
        return {};
    const QUrl url(value.toString(), QUrl::StrictMode);
    const bool web = url.scheme() == u"http" || url.scheme() == u"https";
    return url.isValid() && web && !url.host().isEmpty() ? url.toString(QUrl::FullyEncoded)
                                                         : QString();
}

QString thumbnailAddress(const QVariant &value)
{
    const QString text = value.typeId() == QMetaType::QString ? value.toString() : QString();
    static const QRegularExpression image(u"^data:image/(png|jpeg|gif|webp)[;,]"_s,
                                          QRegularExpression::CaseInsensitiveOption);
    if (text.size() <= LongestAddress && image.match(text).hasMatch())
        return text;
    return webAddress(value);
}

} // namespace

int seconds(QStringView length)
{
    static const QRegularExpression clock(
        u"(?:^|\\s)(?:(\\d{1,2}):)?(\\d{1,2}):(\\d{2})(?:\\s|$)"_s);
    static const QRegularExpression iso(u"^PT(?:(\\d+)H)?(?:(\\d+)M)?(?:(\\d+)(?:\\.\\d+)?S)?$"_s,
                                        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression plain(u"^\\d{1,6}$"_s);
    const QString text = length.trimmed().toString();
    int total = -1;
    if (const auto m = clock.match(text); m.hasMatch())
        total = m.captured(1).toInt() * 3600 + m.captured(2).toInt() * 60 + m.captured(3).toInt();
    else if (const auto m = iso.match(text); m.hasMatch() && text.size() > 2)
        total = m.captured(1).toInt() * 3600 + m.captured(2).toInt() * 60 + m.captured(3).toInt();
    else if (plain.match(text).hasMatch())
        total = text.toInt();
    return total <= LongestLength ? total : -1;
}

QString lengthText(int seconds)
{
    if (seconds < 0)
        return {};
    const QString minutesAndSeconds =
        u"%1:%2"_s.arg(seconds / 60 % 60).arg(seconds % 60, 2, 10, QChar(u'0'));
    if (seconds < 3600)
        return minutesAndSeconds;
    return u"%1:%2:%3"_s.arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QChar(u'0'))
        .arg(seconds % 60, 2, 10, QChar(u'0'));
}

PageReading fromAnswer(const QVariant &answer)
{
    PageReading reading;
    const QVariantMap map = answer.toMap();
    reading.changes = map.value(u"changes"_s).toInt();
    const QString how = map.value(u"how"_s).toString();
    const QVariantList items = map.value(u"results"_s).toList();
    for (const QVariant &item : items) {
        if (reading.results.size() == MostResults)
            break;
        const QVariantMap fields = item.toMap();
        VideoResult result{plainText(fields.value(u"title"_s)),
                           webAddress(fields.value(u"link"_s)),
                           thumbnailAddress(fields.value(u"image"_s)),
                           plainText(fields.value(u"length"_s)),
                           -1,
                           plainText(fields.value(u"author"_s)),
                           plainText(fields.value(u"meta"_s)),
                           {}};
        if (result.title.isEmpty() || result.address.isEmpty())
            continue;
        result.seconds = seconds(result.length);
        if (result.seconds >= 0)
            result.length = lengthText(result.seconds);
        reading.results.append(result);
    }
    if (!reading.results.isEmpty()) {
        reading.how = how == u"rule"   ? PageReading::How::Rule
                      : how == u"data" ? PageReading::How::Data
                                       : PageReading::How::Shape;
        reading.itemBypassed =
            reading.how == PageReading::How::Rule && map.value(u"itemBypassed"_s).toBool();
    }
    return reading;
}

} // namespace PageReadings
