#ifndef REELHOP_APP_TOOLBAR_ROW_H
#define REELHOP_APP_TOOLBAR_ROW_H

#include <QCoreApplication>
#include <QList>

class QComboBox;
class QLineEdit;
class QMenuBar;
class QPushButton;
class QToolButton;
class QWidget;

// The row across the top of the window, in its design places: the page buttons, the address box,
// the search box and their buttons. It only makes the controls; the window wires them.
struct ToolbarRow
{
    Q_DECLARE_TR_FUNCTIONS(ToolbarRow)

public:
    explicit ToolbarRow(QWidget *client);

    // Its controls from left to right, the order the Tab key takes.
    QList<QWidget *> inFocusOrder() const;
    // Ctrl+L and Ctrl+K anywhere in the window: to the address box, to the search box, with
    // their text selected.
    void addFocusKeys(QWidget *window) const;
    // The group box in the menu bar's right corner, no taller than the bar was without it, so
    // that the row below stays where the form has it.
    void placeGroupBox(QMenuBar *menuBar) const;

    QToolButton *back = nullptr;
    QToolButton *forward = nullptr;
    QToolButton *stop = nullptr;
    QToolButton *refresh = nullptr;
    QToolButton *print = nullptr;
    QComboBox *addressBox = nullptr;
    QToolButton *go = nullptr;
    QLineEdit *searchBox = nullptr;
    QPushButton *searchButton = nullptr;
    QPushButton *addFavorite = nullptr;
    // What the next search searches. The row has no room the form does not fill, even at the
    // window's narrowest: the window puts it in the menu bar's free corner, above Find It!.
    QComboBox *groupBox = nullptr;
};

#endif
