#include "start_choice.h"

#include "files/data_file.h"
#include "files/ini_text.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace StartChoice {

namespace {

constexpr qint64 LargestFile = 64 * 1024;

} // namespace

QString path(const QString &folder)
{
    return QDir(folder).filePath(u"reelhop.ini"_s);
}

Start read(const QString &preferencesPath)
{
    const IniText text =
        IniText::fromBytes(DataFile::read(preferencesPath, LargestFile).value_or(QByteArray()));
    return text.value(u"start", u"show").value_or(QString()).trimmed() == u"last session"
               ? Start::LastSession
               : Start::StartPages;
}

bool write(const QString &preferencesPath, Start start)
{
    const std::optional<QByteArray> bytes = DataFile::read(preferencesPath, LargestFile);
    if (!bytes)
        return false;
    IniText text = IniText::fromBytes(*bytes);
    text.setValue(u"start"_s, u"show"_s,
                  start == Start::LastSession ? u"last session"_s : u"start pages"_s);
    return DataFile::write(preferencesPath, text.toBytes());
}

} // namespace StartChoice
