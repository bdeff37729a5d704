#include "search_history.h"

#include "files/data_file.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStringListModel>

namespace {

// A hundred searches; anything far larger is not this file.
constexpr qint64 MaxFileBytes = 1024 * 1024;

} // namespace

SearchHistory::SearchHistory(QString filePath, QLineEdit *searchBox)
    : QObject(searchBox), m_filePath(std::move(filePath)), m_searches(new QStringListModel(this))
{
    auto *offers = new QCompleter(m_searches, searchBox);
    offers->setCaseSensitivity(Qt::CaseInsensitive);
    offers->setModelSorting(QCompleter::UnsortedModel); // newest first, as kept
    offers->setMaxVisibleItems(10);
    searchBox->setCompleter(offers);
    connect(offers, qOverload<const QString &>(&QCompleter::activated), this,
            &SearchHistory::chosen);
    // The offers list takes the keys while it shows; Enter there with no offer picked closes it
    // and would search nothing: it searches the text in the box, as Enter in the box does.
    offers->popup()->installEventFilter(this);
}

bool SearchHistory::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<const QKeyEvent *>(event)->key();
        const auto *list = static_cast<QAbstractItemView *>(watched);
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !list->currentIndex().isValid())
            QMetaObject::invokeMethod(this, &SearchHistory::chosen, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

QString SearchHistory::path(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("searches.txt"));
}

QStringList SearchHistory::withSearch(QStringList searches, const QString &text)
{
    QString line = text.left(LongestSearch);
    line.replace(u'\r', u' ').replace(u'\n', u' ');
    if (line.trimmed().isEmpty())
        return searches;
    searches.removeAll(line);
    searches.prepend(line);
    return searches.mid(0, MaxSearches);
}

void SearchHistory::load()
{
    const std::optional<QByteArray> bytes = DataFile::read(m_filePath, MaxFileBytes);
    m_unreadable = !bytes;
    if (m_unreadable) {
        emit statusMessage(tr("The search history could not be read from %1; it is kept as it is.")
                               .arg(QDir::toNativeSeparators(m_filePath)));
        return;
    }
    QStringList searches;
    for (const QByteArrayView line : DataFile::lines(DataFile::withoutByteOrderMark(*bytes))) {
        if (searches.size() < MaxSearches && !line.isEmpty())
            searches.append(QString::fromUtf8(line));
    }
    m_searches->setStringList(searches);
}

void SearchHistory::add(const QString &text)
{
    save(withSearch(m_searches->stringList(), text));
}

void SearchHistory::clear()
{
    m_unreadable = false; // the user asked for it gone
    if (save({}))
        emit statusMessage(tr("The search history was cleared."));
}

bool SearchHistory::save(const QStringList &searches)
{
    m_searches->setStringList(searches);
    if (m_unreadable)
        return false;
    QByteArray bytes;
    for (const QString &search : searches)
        bytes += search.toUtf8() + '\n';
    if (DataFile::write(m_filePath, bytes))
        return true;
    emit statusMessage(tr("The search history could not be saved to %1.")
                           .arg(QDir::toNativeSeparators(m_filePath)));
    return false;
}
