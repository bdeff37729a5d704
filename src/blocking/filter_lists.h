#ifndef REELHOP_BLOCKING_FILTER_LISTS_H
#define REELHOP_BLOCKING_FILTER_LISTS_H

#include "filter_set.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <chrono>
#include <memory>

// The filter lists the program can use: those Debian installs with uBlock Origin's packages,
// and the user's own in the "filters" folder beside the data files.
namespace FilterLists {

struct ListFile
{
    QString name; // "easylist.txt"; a user's list as "filters/mine.txt"
    QString path;
    // uBlock's own lists, whose in-page rules may call every function of the package.
    bool trusted = false;
};

// What became of one list when the lists were read.
struct ListReport
{
    ListFile file;
    Blocking::ListCount count;
    QDateTime modified;
    // How long the copy stays fresh, as it says itself.
    std::chrono::seconds freshFor{0};
    // Empty when the list was read; else why it was skipped.
    QString failure;
};

struct Loaded
{
    std::shared_ptr<const Blocking::FilterSet> filters;
    QList<ListReport> reports;
};

// The user's lists folder.
QString userFolder(const QString &dataFolder);
// Where fresh copies of the installed lists are kept, under their own names.
QString freshFolder(const QString &dataFolder);

// Where Debian's uBlock Origin packages are installed, and where in them they keep their lists.
QStringList packageFolders();
QStringList systemListFolders(const QStringList &packages = packageFolders());

// The lists installed on this machine and the user's own, by name; where both of Debian's
// packages hold a list, the first found; where a fresh copy is newer, that.
QList<ListFile> available(const QString &dataFolder,
                          const QStringList &systemFolders = systemListFolders());

// Reads the lists into one filter set, with the functions its in-page rules may call. A list
// that is not a regular file, is too large or is no text is named and skipped; the rest are used.
Loaded load(const QList<ListFile> &files,
            std::shared_ptr<const ScriptletLibrary> scriptlets = nullptr);

} // namespace FilterLists

#endif
