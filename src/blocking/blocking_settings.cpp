#include "blocking_settings.h"

#include "files/data_file.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 LargestFile = 256 * 1024;
constexpr QStringView Group = u"blocking";

QStringList listValue(const std::optional<QString> &value)
{
    QStringList items;
    for (const QString &item : value.value_or(QString()).split(u','))
        if (!item.trimmed().isEmpty())
            items.append(item.trimmed());
    return items;
}

} // namespace

QString BlockingSettings::path(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("blocking.ini"));
}

BlockingSettings BlockingSettings::fromText(const IniText &text)
{
    BlockingSettings settings;
    settings.text = text;
    settings.enabled = text.value(Group, u"enabled").value_or(u"true"_s).toLower() != u"false";
    settings.updateLists =
        text.value(Group, u"update lists").value_or(u"true"_s).toLower() != u"false";
    settings.listsOff = listValue(text.value(Group, u"lists off"));
    settings.allowedSites = listValue(text.value(Group, u"allowed sites"));
    for (QString &site : settings.allowedSites)
        site = site.toLower();
    return settings;
}

std::optional<BlockingSettings> BlockingSettings::load(const QString &filePath)
{
    const std::optional<QByteArray> bytes = DataFile::read(filePath, LargestFile);
    if (!bytes)
        return std::nullopt;
    return fromText(IniText::fromBytes(*bytes));
}

IniText BlockingSettings::toText() const
{
    IniText written = text;
    written.setValue(Group.toString(), u"enabled"_s, enabled ? u"true"_s : u"false"_s);
    written.setValue(Group.toString(), u"lists off"_s, listsOff.join(u','));
    written.setValue(Group.toString(), u"allowed sites"_s, allowedSites.join(u','));
    // Written once it differs from what no line means, so files made before it stay as they were.
    if (!updateLists || text.value(Group, u"update lists"))
        written.setValue(Group.toString(), u"update lists"_s, updateLists ? u"true"_s : u"false"_s);
    return written;
}
