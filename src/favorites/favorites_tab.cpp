#include "favorites_tab.h"

#include "favorites_file.h"
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
    ListView4 = new QTreeWidget(this);
    ListView4->setObjectName(QStringLiteral("ListView4"));
    ListView4->setColumnCount(2);
    ListView4->setHeaderLabels({tr("ITEMS"), QString()});
    ListView4->setColumnWidth(TitleColumn, Twips::toPixels(10000));
    ListView4->setColumnWidth(AddressColumn, Twips::toPixels(40));
    ListView4->setRootIsDecorated(false);
    ListView4->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView4->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView4->setAccessibleName(tr("Favorites"));
    placement.add(ListView4, Twips::rect(120, 480, 12735, 7575));
    connect(ListView4, &QTreeWidget::itemClicked, this, &FavoritesTab::ListView4_Click);
    connect(ListView4, &QTreeWidget::itemDoubleClicked, this, &FavoritesTab::ListView4_DblClick);
    ListView4->installEventFilter(this);
    ListView4->viewport()->installEventFilter(this);

    Command2 = createTextButton(this, QStringLiteral("Command2"), tr("DISPLAY"));
    placement.add(Command2, Twips::rect(1320, 8160, 1215, 375));
    connect(Command2, &QPushButton::clicked, this, &FavoritesTab::Command2_Click);
    Command3 = createTextButton(this, QStringLiteral("Command3"), tr("DELETE"));
    placement.add(Command3, Twips::rect(2880, 8160, 1335, 375));
    connect(Command3, &QPushButton::clicked, this, &FavoritesTab::Command3_Click);

    // Shown only over the list, never on the menu bar.
    PopUp = new QMenu(tr("Popup"), this);
    PopUp->setObjectName(QStringLiteral("PopUp"));
    PopUp->addAction(tr("&Delete"), this, &FavoritesTab::Delete_Click)
        ->setObjectName(QStringLiteral("Delete"));
    PopUp->addAction(tr("&Display"), this, &FavoritesTab::Display_Click)
        ->setObjectName(QStringLiteral("Display"));
}

void FavoritesTab::load()
{
    const int columns = ListView4->columnCount();
    const std::optional<QList<FavoritesFile::Item>> items =
        FavoritesFile::load(m_filePath, columns);
    if (!items) {
        emit statusMessage(tr("The favorites could not be read from %1.")
                               .arg(QDir::toNativeSeparators(m_filePath)));
        return;
    }
    QList<QTreeWidgetItem *> rows;
    rows.reserve(items->size());
    for (const FavoritesFile::Item &item : *items)
        rows.append(new QTreeWidgetItem(item));
    ListView4->addTopLevelItems(rows);
}

void FavoritesTab::add(const QString &title, const QString &address)
{
    auto *item = new QTreeWidgetItem(ListView4);
    item->setText(TitleColumn, title);
    item->setText(AddressColumn, address);
    save();
}

void FavoritesTab::deleteSelected()
{
    const QList<QTreeWidgetItem *> selected = ListView4->selectedItems();
    if (!selected.isEmpty())
        delete selected.constFirst();
    // Rewritten even when nothing was removed: the file always mirrors the list.
    save();
}

void FavoritesTab::save()
{
    QList<FavoritesFile::Item> items;
    const int columns = ListView4->columnCount();
    for (int row = 0; row < ListView4->topLevelItemCount(); ++row) {
        const QTreeWidgetItem *entry = ListView4->topLevelItem(row);
        FavoritesFile::Item item;
        for (int column = 0; column < columns; ++column)
            item.append(entry->text(column));
        items.append(item);
    }
    // The list keeps its new state either way; the user must learn that the file did not.
    if (!FavoritesFile::save(m_filePath, items, columns))
        emit statusMessage(tr("The favorites could not be saved to %1.")
                               .arg(QDir::toNativeSeparators(m_filePath)));
}

void FavoritesTab::openSelected(Opener opener)
{
    const QList<QTreeWidgetItem *> selected = ListView4->selectedItems();
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
    if (watched == ListView4->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto *press = static_cast<QMouseEvent *>(event);
        ListView4_MouseDown(press->button(), press->globalPosition().toPoint());
    } else if (watched == ListView4 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            openSelected(Opener::List);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FavoritesTab::ListView4_MouseDown(Qt::MouseButton button, QPoint globalPosition)
{
    if (button != Qt::RightButton)
        return;
    // "&Delete" must act on the entry the user pointed at.
    if (QTreeWidgetItem *item =
            ListView4->itemAt(ListView4->viewport()->mapFromGlobal(globalPosition)))
        ListView4->setCurrentItem(item);
    PopUp->popup(globalPosition);
}

void FavoritesTab::ListView4_Click()
{
    openSelected(Opener::List);
}

void FavoritesTab::ListView4_DblClick()
{
    openSelected(Opener::List);
}

void FavoritesTab::Command2_Click()
{
    openSelected(Opener::DisplayCommand);
}

void FavoritesTab::Display_Click()
{
    openSelected(Opener::DisplayCommand);
}

void FavoritesTab::Command3_Click()
{
    deleteSelected();
}

void FavoritesTab::Delete_Click()
{
    deleteSelected();
}
