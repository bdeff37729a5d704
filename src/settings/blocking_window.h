#ifndef REELHOP_SETTINGS_BLOCKING_WINDOW_H
#define REELHOP_SETTINGS_BLOCKING_WINDOW_H

#include <QDialog>

class Blocker;
class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;

// What the blocker does, for the user to change: the off switch for all blocking, each list
// with its rules, skipped rules and how fresh it is, turned on and off, its updates, and the sites
// the user allowed.
// Every change applies at once to new requests and is saved whole.
class BlockingWindow final : public QDialog
{
    Q_OBJECT

public:
    explicit BlockingWindow(Blocker *blocker, QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(BlockingWindow)

private:
    void fill();
    void apply();

    Blocker *m_blocker;
    QCheckBox *m_enabled = nullptr;
    QTreeWidget *m_lists = nullptr;
    QListWidget *m_allowed = nullptr;
    QPushButton *m_removeAllowed = nullptr;
    QLabel *m_skipped = nullptr;
    QCheckBox *m_updateLists = nullptr;
    QPushButton *m_updateNow = nullptr;
    QLabel *m_updates = nullptr;
    QLabel *m_failure = nullptr;
    bool m_filling = false;
};

#endif
