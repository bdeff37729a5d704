#ifndef REELHOP_SEARCH_GROUPS_WINDOW_H
#define REELHOP_SEARCH_GROUPS_WINDOW_H

#include "site_groups.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QVBoxLayout;

// Edits the groups of sites: a list of them to add to, rename and delete, and for the group
// selected a box for each tab's site, and one for each of its sites no tab holds now (untick
// it to let it go). "SAVE" writes the whole groups file and reports it; a failed save keeps the
// window open. "CANCEL" and the close box change nothing.
class GroupsWindow final : public QDialog
{
    Q_OBJECT

public:
    GroupsWindow(QString filePath, SiteGroups::Contents contents,
                 const SiteCatalogue::Lineup &lineup, QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(GroupsWindow)

signals:
    void saved(const SiteGroups::Contents &contents);

private:
    SiteGroup *current();
    void addGroup();
    void renameGroup();
    void deleteGroup();
    void showGroup();
    void tick(int tab, bool ticked);
    void check();
    void save();

    QString m_filePath;
    SiteGroups::Contents m_contents;
    SiteCatalogue::Lineup m_lineup;
    QListWidget *m_list = nullptr;
    std::array<QCheckBox *, SiteCatalogue::SiteCount> m_sites{};
    QVBoxLayout *m_missing = nullptr;
    QPushButton *m_rename = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_save = nullptr;
    QLabel *m_problem = nullptr;
};

#endif
