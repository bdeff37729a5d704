#include "list_check.h"

#include "files/data_file.h"
#include "filter_set.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace ListCheck {

namespace {

constexpr qsizetype LargestList = 64 * 1024 * 1024;
// A list's header comes first; its expiry is never far into it.
constexpr int HeaderLines = 50;

QString tr(const char *text)
{
    return QCoreApplication::translate("ListCheck", text);
}

} // namespace

std::chrono::seconds freshFor(QByteArrayView list)
{
    using namespace std::chrono;
    static const QRegularExpression Expires(uR"(^!\s*Expires:\s*(\d+)\s*(day|hour))"_s,
                                            QRegularExpression::CaseInsensitiveOption);
    int line = 0;
    for (QByteArrayView text :
         DataFile::lines(list.first(std::min(list.size(), qsizetype(8192))))) {
        if (++line > HeaderLines)
            break;
        const QRegularExpressionMatch match = Expires.match(QString::fromLatin1(text));
        if (!match.hasMatch())
            continue;
        const long count = match.captured(1).toLong();
        const seconds given = match.captured(2).toLower() == u"day" ? days(count) : hours(count);
        return std::clamp<seconds>(given, hours(1), days(30));
    }
    return days(5);
}

QString refusal(QByteArrayView fetched, int rulesBefore)
{
    const QByteArrayView text = DataFile::withoutByteOrderMark(fetched);
    if (text.isEmpty())
        return tr("the update was empty");
    if (fetched.size() > LargestList)
        return tr("the update was larger than 64 MiB");
    if (!(text.startsWith("[Adblock") || text.startsWith('!')) || text.contains('\0'))
        return tr("the update was not a filter list");
    // Rules of every kind, those the program skips too, as `rulesBefore` counts them.
    const Blocking::ListCount count = Blocking::FilterSet().addList(QString(), text);
    if ((count.rules + count.skipped) * 2 < rulesBefore)
        return tr("the update held less than half the rules");
    return {};
}

} // namespace ListCheck
