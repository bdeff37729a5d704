#include "filter_lists.h"

#include "files/data_file.h"
#include "list_check.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace FilterLists {

namespace {

// EasyList with its rules' comments is about 2 MB; a list a hundred times that is no list.
constexpr qint64 LargestList = 64 * 1024 * 1024;

// Text lists hold no NUL byte; a binary file named like a list is not read as rules.
bool looksLikeText(const QByteArray &bytes)
{
    return !bytes.left(65536).contains('\0');
}

} // namespace

QStringList packageFolders()
{
    return {u"/usr/share/chromium/extensions/ublock-origin"_s, u"/usr/share/webext/ublock-origin"_s,
            u"/usr/share/xul-ext/ublock-origin"_s};
}

QStringList systemListFolders(const QStringList &packages)
{
    QStringList folders;
    for (const QString &package : packages)
        for (const QString &assets : {u"/assets/thirdparties/easylist"_s, u"/assets/ublock"_s})
            folders.append(package + assets);
    return folders;
}

QString userFolder(const QString &dataFolder)
{
    return QDir(dataFolder).filePath(QStringLiteral("filters"));
}

QString freshFolder(const QString &dataFolder)
{
    return QDir(dataFolder).filePath(QStringLiteral("lists"));
}

QList<ListFile> available(const QString &dataFolder, const QStringList &systemFolders)
{
    // The lists that hold rules, and whether they are uBlock's own; its list of lists and its
    // "bad lists" hold none.
    static const QList<std::pair<QString, bool>> Wanted{
        {u"easylist.txt"_s, false},   {u"easyprivacy.txt"_s, false},
        {u"filters.min.txt"_s, true}, {u"privacy.min.txt"_s, true},
        {u"badware.min.txt"_s, true}, {u"unbreak.min.txt"_s, true},
        {u"quick-fixes.min.txt"_s, true}};
    QList<ListFile> files;
    for (const auto &[name, own] : Wanted) {
        QString installed;
        for (const QString &folder : systemFolders)
            if (installed.isEmpty() && QFileInfo(QDir(folder).filePath(name)).isFile())
                installed = QDir(folder).filePath(name);
        if (installed.isEmpty())
            continue;
        // A fresh copy until the package brings a newer one.
        const QFileInfo fresh(QDir(freshFolder(dataFolder)).filePath(name));
        const bool freshIsNewer =
            fresh.isFile() && fresh.lastModified() >= QFileInfo(installed).lastModified();
        files.append({name, freshIsNewer ? fresh.filePath() : installed, own});
    }
    const QDir user(userFolder(dataFolder));
    for (const QString &name : user.entryList({u"*.txt"_s}, QDir::Files | QDir::System, QDir::Name))
        files.append({u"filters/"_s + name, user.filePath(name)});
    return files;
}

Loaded load(const QList<ListFile> &files, std::shared_ptr<const ScriptletLibrary> scriptlets)
{
    auto filters = std::make_shared<Blocking::FilterSet>();
    filters->useScriptlets(std::move(scriptlets));
    Loaded loaded;
    for (const ListFile &file : files) {
        ListReport report{file, {}, QFileInfo(file.path).lastModified(), {}, {}};
        const std::optional<QByteArray> bytes = DataFile::read(file.path, LargestList);
        if (!bytes || bytes->isEmpty())
            report.failure = QObject::tr("it is not a readable file of at most 64 MiB");
        else if (!looksLikeText(*bytes))
            report.failure = QObject::tr("it is not a text file");
        else {
            report.count = filters->addList(file.name, *bytes, file.trusted);
            report.freshFor = ListCheck::freshFor(*bytes);
        }
        loaded.reports.append(report);
    }
    loaded.filters = std::move(filters);
    return loaded;
}

} // namespace FilterLists
