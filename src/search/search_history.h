#ifndef REELHOP_SEARCH_SEARCH_HISTORY_H
#define REELHOP_SEARCH_SEARCH_HISTORY_H

#include <QObject>
#include <QStringList>

class QLineEdit;
class QStringListModel;

// The searches made, newest first, each once, at most a hundred: the search box offers back
// those that start with what is typed. They are kept in a file of their own, one per line, and
// go nowhere else.
class SearchHistory final : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxSearches = 100;
    // Plenty for a search, and a hundred of them stay well inside what the file's reader takes.
    static constexpr int LongestSearch = 2000;

    SearchHistory(QString filePath, QLineEdit *searchBox);

    static QString path(const QString &folder);
    static QStringList withSearch(QStringList searches, const QString &text);

    // Reads the file; one that exists but cannot be read is kept as it is, and not written.
    void load();
    void add(const QString &text);
    void clear();

signals:
    // The user took an earlier search from the offers, or pressed Enter while they showed.
    void chosen();
    void statusMessage(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Whether the file was written.
    bool save(const QStringList &searches);

    QString m_filePath;
    QStringListModel *m_searches = nullptr;
    bool m_unreadable = false;
};

#endif
