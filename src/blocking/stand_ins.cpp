#include "stand_ins.h"

#include "files/data_file.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// The package's stand-ins are a few KiB each; its silent videos the largest.
constexpr qint64 LargestStandIn = 4 * 1024 * 1024;

} // namespace

StandIns StandIns::read(const QStringList &packageFolders)
{
    for (const QString &package : packageFolders) {
        const std::optional<QByteArray> table =
            DataFile::read(QDir(package).filePath(u"js/redirect-resources.js"_s), 1024 * 1024);
        if (table)
            return fromTable(*table, QDir(package).filePath(u"web_accessible_resources"_s));
    }
    return {};
}

StandIns StandIns::fromTable(QByteArrayView table, const QString &folder)
{
    // [ 'noop.js', { alias: [ 'noopjs', 'abp-resource:blank-js' ], data: 'text', } ],
    static const QRegularExpression Entry(uR"(\[\s*'([^']+)'\s*,\s*\{([^}]*)\})"_s);
    static const QRegularExpression Aliases(uR"(alias:\s*(\[[^\]]*\]|'[^']*'))"_s);
    static const QRegularExpression Quoted(u"'([^']*)'"_s);
    StandIns standIns;
    const QString text = QString::fromUtf8(table);
    for (const QRegularExpressionMatch &entry : Entry.globalMatch(text)) {
        const QString name = entry.captured(1);
        const QString file = QDir(folder).filePath(name);
        // Only what the folder holds as a file of its own; a name is never a path.
        if (name.contains(u'/') || name.startsWith(u'.') || !QFileInfo(file).isFile())
            continue;
        standIns.m_files.insert(name, file);
        const QRegularExpressionMatch aliases = Aliases.match(entry.captured(2));
        for (const QRegularExpressionMatch &alias : Quoted.globalMatch(aliases.captured(1)))
            standIns.m_files.insert(alias.captured(1), file);
    }
    return standIns;
}

std::optional<StandIns::Resource> StandIns::resource(const QString &name) const
{
    const auto file = m_files.constFind(name);
    if (file == m_files.cend())
        return std::nullopt;
    std::optional<QByteArray> bytes = DataFile::read(*file, LargestStandIn);
    if (!bytes)
        return std::nullopt;
    // "empty" has no extension; a page takes it as the nothing it is.
    const QMimeType type = QMimeDatabase().mimeTypeForFile(*file, QMimeDatabase::MatchExtension);
    return Resource{std::move(*bytes),
                    type.isDefault() ? QByteArray("text/plain") : type.name().toLatin1()};
}
