#include "filter_lists.h"

#include "files/data_file.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

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

QList<ListFile> available(const QString &dataFolder, const QStringList &systemFolders)
{
    // uBlock's own lists that hold rules; its list of lists and its "bad lists" do not.
    static const QStringList Wanted{
        u"easylist.txt"_s,    u"easyprivacy.txt"_s, u"filters.min.txt"_s,    u"privacy.min.txt"_s,
        u"badware.min.txt"_s, u"unbreak.min.txt"_s, u"quick-fixes.min.txt"_s};
    QList<ListFile> files;
    QSet<QString> found;
    for (const QString &name : Wanted) {
        for (const QString &folder : systemFolders) {
            const QString path = QDir(folder).filePath(name);
            if (!found.contains(name) && QFileInfo(path).isFile()) {
                files.append({name, path, folder.endsWith(u"/assets/ublock"_s)});
                found.insert(name);
            }
        }
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
        ListReport report{file, {}, QFileInfo(file.path).lastModified(), {}};
        const std::optional<QByteArray> bytes = DataFile::read(file.path, LargestList);
        if (!bytes || bytes->isEmpty())
            report.failure = QObject::tr("it is not a readable file of at most 64 MiB");
        else if (!looksLikeText(*bytes))
            report.failure = QObject::tr("it is not a text file");
        else
            report.count = filters->addList(file.name, *bytes, file.trusted);
        loaded.reports.append(report);
    }
    loaded.filters = std::move(filters);
    return loaded;
}

} // namespace FilterLists
