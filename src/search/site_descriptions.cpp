#include "site_descriptions.h"

#include "files/data_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace SiteDescriptions {

std::optional<QStringList> exportTo(const QString &folder, const SiteCatalogue::Lineup &lineup)
{
    QStringList written;
    for (int tab = 0; tab < SiteCatalogue::SiteCount; ++tab) {
        if (lineup[tab].closed)
            continue;
        // A name a file system takes anywhere: the site's name is the user's, or a file's.
        QString name = lineup[tab].tabCaption;
        name.replace(QRegularExpression(u"[^\\w .-]"_s), u"_"_s);
        const QString path =
            QDir(folder).filePath(u"%1 %2.xml"_s.arg(tab + 1).arg(name.left(60).trimmed()));
        if (!DataFile::write(path, OpenSearch::describe(lineup[tab])))
            return std::nullopt;
        written.append(path);
    }
    return written;
}

OpenSearch::Reading importFrom(const QString &path)
{
    const std::optional<QByteArray> bytes = DataFile::read(path, OpenSearch::LargestDescription);
    if (!bytes || bytes->isEmpty())
        return {std::nullopt,
                QCoreApplication::translate(
                    "SiteDescriptions", "it cannot be read, or is empty or larger than 64 KiB.")};
    return OpenSearch::read(*bytes, QUrl::fromLocalFile(path));
}

} // namespace SiteDescriptions
