#include "favorites_tab.h"

#include "favorites_file.h"
#include "files/data_file.h"
#include "form/tab_placement.h"
#include "form/text_button.h"
#include "form/twips.h"

#include <QDir>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeWidget>

namespace {

constexpr int TitleColumn = 0;
constexpr int AddressColumn = 1;

} // namespace

FavoritesTab::FavoritesTab(QString filePath, TabPlacement &placement, QWidget *parent)
    : QWidget(parent), m_filePath(std::move(filePath))
{
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("ListView4"));
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({tr("ITEMS"), QString()});
    m_list->setColumnWidth(TitleColumn, Twips::toPixels(10000));
    m_list->setColumnWidth(AddressColumn, Twips::toPixels(40));
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setAccessibleName(tr("Favorites"));
    placement.add(m_list, Twips::rect(120, 480, 12735, 7575));
    // A click opens the favorite; a double click starts with one, so it opens it just the same.
    const auto openFromList = [this] { openSelected(Opener::List); };
    connect(m_list, &QTreeWidget::itemClicked, this, openFromList);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, openFromList);
    m_list->installEventFilter(this);
    m_list->viewport()->installEventFilter(this);

    m_displayButton = createTextButton(this, QStringLiteral("Command2"), tr("DISPLAY"));
    placement.add(m_displayButton, Twips::rect(1320, 8160, 1215, 375));
    connect(m_displayButton, &QPushButton::clicked, this,
            [this] { openSelected(Opener::DisplayCommand); });
    m_deleteButton = createTextButton(this, QStringLiteral("Command3"), tr("DELETE"));
    placement.add(m_deleteButton, Twips::rect(2880, 8160, 1335, 375));
    connect(m_deleteButton, &QPushButton::clicked, this, &FavoritesTab::deleteSelected);

    // Shown only over the list, never on the menu bar.
    m_popUp = new QMenu(tr("Popup"), this);
    m_popUp->setObjectName(QStringLiteral("PopUp"));
    m_popUp->addAction(tr("&Delete"), this, &FavoritesTab::deleteSelected)
        ->setObjectName(QStringLiteral("Delete"));
    m_popUp->addAction(tr("&Display"), this, [this] { openSelected(Opener::DisplayCommand); })
        ->setObjectName(QStringLiteral("Display"));
}

void FavoritesTab::load()
{
    const int columns = m_list->columnCount();
    const std::optional<QList<FavoritesFile::Item>> items =
        FavoritesFile::load(m_filePath, columns);
    if (!items) {
        m_unreadable = true;
        emit statusMessage(tr("The favorites could not be read from %1; it is kept as it is.")
                               .arg(QDir::toNativeSeparators(m_filePath)));
        return;
    }
    QList<QTreeWidgetItem *> rows;
    rows.reserve(items->size());
    for (const FavoritesFile::Item &item : *items)
        rows.append(new QTreeWidgetItem(item));
    m_list->addTopLevelItems(rows);
}

bool FavoritesTab::add(const QString &title, const QString &address)
{
    if (address.isEmpty() || address == u"http:///") {
        emit statusMessage(tr("There is no page here to add to the favorites: open a page on a "
                              "site tab or on HOME first."));
        return false;
    }
    auto *item = new QTreeWidgetItem(m_list);
    item->setText(TitleColumn, title.isEmpty() ? address : title);
    item->setText(AddressColumn, address);
    save();
    return true;
}

void FavoritesTab::deleteSelected()
{
    const QList<QTreeWidgetItem *> selected = m_list->selectedItems();
    if (!selected.isEmpty())
        delete selected.constFirst();
    // Rewritten even when nothing was removed: the file always mirrors the list.
    save();
}

void FavoritesTab::save()
{
    QList<FavoritesFile::Item> items;
    const int columns = m_list->columnCount();
    for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
        const QTreeWidgetItem *entry = m_list->topLevelItem(row);
        FavoritesFile::Item item;
        for (int column = 0; column < columns; ++column)
            item.append(entry->text(column));
        items.append(item);
    }
    // The list keeps its new state either way; the user must learn that the file did not. A
    // file that could not be read holds favorites this list does not: it is never replaced
    // (once the user has moved it away, the list is saved again).
    const QString shownPath = QDir::toNativeSeparators(m_filePath);
    if (m_unreadable && DataFile::isPresent(m_filePath)) {
        emit statusMessage(
            tr("The favorites were not saved: %1 could not be read, and is kept as it is.")
                .arg(shownPath));
        return;
    }
    m_unreadable = false;
    if (!FavoritesFile::save(m_filePath, items, columns))
        emit statusMessage(tr("The favorites could not be saved to %1.").arg(shownPath));
}

void FavoritesTab::openSelected(Opener opener)
{
    const QList<QTreeWidgetItem *> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return;
    const QTreeWidgetItem *item = selected.constFirst();
    // An entry without a title is never opened, whatever its address.
    if (item->text(TitleColumn).isEmpty())
        return;
    emit openRequested(item->text(AddressColumn), opener == Opener::DisplayCommand);
}

bool FavoritesTab::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto *press = static_cast<QMouseEvent *>(event);
        // Only the right button opens the pop-up menu.
        if (press->button() == Qt::RightButton)
            showPopUp(press->globalPosition().toPoint());
    } else if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            openSelected(Opener::List);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FavoritesTab::showPopUp(QPoint globalPosition)
{
    // "&Delete" must act on the entry the user pointed at.
    if (QTreeWidgetItem *item = m_list->itemAt(m_list->viewport()->mapFromGlobal(globalPosition)))
        m_list->setCurrentItem(item);
    m_popUp->popup(globalPosition);
}
