#ifndef REELHOP_SEARCH_GROUP_CHOICE_H
#define REELHOP_SEARCH_GROUP_CHOICE_H

#include "site_groups.h"

#include <QObject>
#include <QPointer>

class GroupsWindow;
class QComboBox;
class SiteLineup;

// The drop-down of what the next search searches: "Sites: Options" (the options' Search boxes),
// a group by its name, or "Edit Groups..." to open their window. The choice and the groups live
// in the groups file; one that cannot be read is never replaced.
class GroupChoice final : public QObject
{
    Q_OBJECT

public:
    GroupChoice(QString filePath, QComboBox *box, const SiteLineup *lineup,
                QObject *parent = nullptr);
    ~GroupChoice() override;
    Q_DISABLE_COPY_MOVE(GroupChoice)

    // Reads the file and shows its choice.
    void load();
    const SiteGroups::Contents &contents() const { return m_contents; }
    // The groups' window, or in front when it is open.
    void showWindow();

signals:
    void statusMessage(const QString &text);

private:
    void fill();
    void choose(int index);

    QString m_filePath;
    QComboBox *m_box;
    const SiteLineup *m_lineup;
    SiteGroups::Contents m_contents;
    bool m_unreadable = false;
    QPointer<GroupsWindow> m_window;
};

#endif
