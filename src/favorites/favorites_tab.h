#ifndef REELHOP_FAVORITES_FAVORITES_TAB_H
#define REELHOP_FAVORITES_FAVORITES_TAB_H

#include <QWidget>

class QMenu;
class QPushButton;
class QTreeWidget;
class TabPlacement;

// The favorites page: the list, "DISPLAY", "DELETE" and the pop-up menu over the list. The list
// is the one store of the favorites; the file is rewritten whole after every change of it.
class FavoritesTab final : public QWidget
{
    Q_OBJECT

public:
    // The controls are placed in the strip's coordinates through the placement.
    FavoritesTab(QString filePath, TabPlacement &placement, QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(FavoritesTab)

    // Fills the list from the file; a file that cannot be read leaves it empty and says so, and
    // is never replaced by a save.
    void load();

    // Appends the page shown at the address and saves the list; a page without a title yet is
    // kept under its address. A view sent nowhere ("http:///" or nothing) is no page: nothing
    // is added, and the tab says why. Whether it was added.
    bool add(const QString &title, const QString &address);

signals:
    // The user opened a favorite; "DISPLAY" and "&Display" also rename the home tab.
    void openRequested(const QString &address, bool renameHomeTab);
    void statusMessage(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Opener { List, DisplayCommand };
    void openSelected(Opener opener);
    void deleteSelected();
    void save();
    void showPopUp(QPoint globalPosition);

    QString m_filePath;
    QTreeWidget *m_list = nullptr;
    QPushButton *m_displayButton = nullptr;
    QPushButton *m_deleteButton = nullptr;
    QMenu *m_popUp = nullptr;
    // The file existed but could not be read at start: saves must not replace it.
    bool m_unreadable = false;
};

#endif
