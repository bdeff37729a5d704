#ifndef REELHOP_RESULTS_PAGE_READING_H
#define REELHOP_RESULTS_PAGE_READING_H

#include <QList>
#include <QString>
#include <QVariant>

// One video as a results page shows it. Every text is plain text from the page, never markup.
struct VideoResult
{
    QString title;
    // Always an http or https address.
    QString address;
    // An http, https or data:image address, or empty.
    QString thumbnail;
    // As the page shows it; seconds is -1 when it tells no length.
    QString length;
    int seconds = -1;
    QString author;
    QString meta;
    // The page that showed it, whose place (the web, or this machine and its network) is the only
    // place its picture may come from.
    QString page;

    friend bool operator==(const VideoResult &, const VideoResult &) = default;
};

// What the reader found on one page, checked and bounded.
struct PageReading
{
    enum class How { Nothing, Rule, Data, Shape };
    How how = How::Nothing;
    // Read by a rule whose item matched fewer results than its link: the results were found
    // around the links instead.
    bool itemBypassed = false;
    QList<VideoResult> results;
    // The page's changes so far, by which the view tells that it has settled.
    int changes = 0;

    friend bool operator==(const PageReading &, const PageReading &) = default;
};

namespace PageReadings {

inline constexpr int MostResults = 100;
inline constexpr int LongestText = 500;
inline constexpr int LongestAddress = 2000;

// The reader's answer as the engine hands it over. Anything else in it (another type, a longer
// text, an address of another scheme) is dropped or cut, never trusted.
PageReading fromAnswer(const QVariant &answer);

// Seconds of "1:02:03", "12:34", "PT1H2M3S" or "75"; -1 for anything else.
int seconds(QStringView length);

// "1:02:03" or "2:05".
QString lengthText(int seconds);

} // namespace PageReadings

#endif
