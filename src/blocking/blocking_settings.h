#ifndef REELHOP_BLOCKING_BLOCKING_SETTINGS_H
#define REELHOP_BLOCKING_BLOCKING_SETTINGS_H

#include "files/ini_text.h"

#include <QStringList>
#include <optional>

// blocking.ini: whether blocking is on, which lists are off and the sites the user allowed.
//   [blocking]
//   enabled=true
//   lists off=filters.min.txt,filters/mine.txt
//   allowed sites=example.com,news.example
//   update lists=false        (fresh copies of the installed lists; on unless it says false)
struct BlockingSettings
{
    bool enabled = true;
    bool updateLists = true;
    QStringList listsOff;
    QStringList allowedSites;
    // The file as it was, so that a save keeps the user's comments and other keys.
    IniText text;

    static QString path(const QString &folder);
    static BlockingSettings fromText(const IniText &text);
    // The built-in settings when there is no file; nothing when it exists but cannot be read.
    static std::optional<BlockingSettings> load(const QString &filePath);
    IniText toText() const;
};

#endif
