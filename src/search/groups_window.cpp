#include "groups_window.h"

#include "form/control_names.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

QPushButton *button(QWidget *parent, const QString &text, const QString &name)
{
    auto *made = new QPushButton(text, parent);
    made->setObjectName(name);
    made->setAutoDefault(false);
    return made;
}

} // namespace

GroupsWindow::GroupsWindow(QString filePath, SiteGroups::Contents contents,
                           const SiteCatalogue::Lineup &lineup, QWidget *parent)
    : QDialog(parent), m_filePath(std::move(filePath)), m_contents(std::move(contents)),
      m_lineup(lineup)
{
    setObjectName(QStringLiteral("Groups"));
    setWindowTitle(tr("Groups of Sites"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/reelhop.svg")));
    connect(this, &QDialog::finished, this, &QObject::deleteLater);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("groupList"));
    m_list->setAccessibleName(tr("Groups"));
    for (const SiteGroup &group : m_contents.groups)
        m_list->addItem(group.name);
    connect(m_list, &QListWidget::currentRowChanged, this, &GroupsWindow::showGroup);
    connect(m_list, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        const int row = m_list->row(item);
        if (row >= 0 && row < m_contents.groups.size()) {
            SiteGroup &group = m_contents.groups[row];
            if (m_contents.inUse == group.name)
                m_contents.inUse = item->text().trimmed(); // renamed, still the one in use
            group.name = item->text().trimmed();
        }
        check();
    });
    auto *add = button(this, tr("Add"), QStringLiteral("addGroup"));
    m_rename = button(this, tr("Rename"), QStringLiteral("renameGroup"));
    m_delete = button(this, tr("Delete"), QStringLiteral("deleteGroup"));
    connect(add, &QPushButton::clicked, this, &GroupsWindow::addGroup);
    connect(m_rename, &QPushButton::clicked, this, &GroupsWindow::renameGroup);
    connect(m_delete, &QPushButton::clicked, this, &GroupsWindow::deleteGroup);
    auto *listButtons = new QHBoxLayout;
    for (QPushButton *each : {add, m_rename, m_delete})
        listButtons->addWidget(each);
    auto *left = new QVBoxLayout;
    left->addWidget(m_list);
    left->addLayout(listButtons);

    auto *sites = new QGroupBox(tr("Its sites"), this);
    auto *siteBoxes = new QVBoxLayout(sites);
    for (int tab = 0; tab < SiteCatalogue::SiteCount; ++tab) {
        m_sites[tab] = new QCheckBox(
            tr("%1  %2").arg(tab + 1).arg(m_lineup[tab].tabCaption).replace(u'&', u"&&"_s), sites);
        m_sites[tab]->setObjectName(indexedName(u"groupSite", tab));
        connect(m_sites[tab], &QCheckBox::clicked, this,
                [this, tab](bool ticked) { tick(tab, ticked); });
        siteBoxes->addWidget(m_sites[tab]);
    }
    m_missing = new QVBoxLayout;
    siteBoxes->addLayout(m_missing);
    siteBoxes->addStretch();

    auto *columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addWidget(sites, 1);
    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("problem"));
    m_problem->setStyleSheet(u"color: #b00000;"_s);
    m_problem->setWordWrap(true);
    auto *buttons = new QDialogButtonBox(this);
    m_save = buttons->addButton(tr("SAVE"), QDialogButtonBox::AcceptRole);
    m_save->setObjectName(QStringLiteral("save"));
    QPushButton *cancel = buttons->addButton(tr("CANCEL"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(m_save, &QPushButton::clicked, this, &GroupsWindow::save);
    connect(cancel, &QPushButton::clicked, this, &GroupsWindow::close);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_problem, 1);
    bottom->addWidget(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(bottom);
    m_list->setCurrentRow(m_contents.groups.isEmpty() ? -1 : 0);
    showGroup();
    resize(560, sizeHint().height());
}

SiteGroup *GroupsWindow::current()
{
    const int row = m_list->currentRow();
    return row >= 0 && row < m_contents.groups.size() ? &m_contents.groups[row] : nullptr;
}

void GroupsWindow::addGroup()
{
    QString name;
    for (int number = m_contents.groups.size() + 1; name.isEmpty(); ++number) {
        if (SiteGroups::nameProblem(tr("Group %1").arg(number), m_contents.groups).isEmpty())
            name = tr("Group %1").arg(number);
    }
    m_contents.groups.append({name, {}});
    m_list->addItem(name);
    m_list->setCurrentRow(m_list->count() - 1);
    renameGroup();
}

void GroupsWindow::renameGroup()
{
    if (QListWidgetItem *item = m_list->currentItem()) {
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        m_list->editItem(item);
    }
}

void GroupsWindow::deleteGroup()
{
    const int row = m_list->currentRow();
    if (row < 0)
        return;
    if (m_contents.inUse == m_contents.groups[row].name)
        m_contents.inUse.clear();
    m_contents.groups.removeAt(row);
    delete m_list->takeItem(row);
    showGroup();
}

void GroupsWindow::showGroup()
{
    const SiteGroup *group = current();
    QList<int> tabs;
    for (const SiteGroup::Member &member : group ? group->members : QList<SiteGroup::Member>()) {
        if (const std::optional<int> tab = SiteGroups::tabOf(member, m_lineup))
            tabs.append(*tab);
    }
    for (int tab = 0; tab < SiteCatalogue::SiteCount; ++tab) {
        m_sites[tab]->setEnabled(group != nullptr);
        m_sites[tab]->setChecked(tabs.contains(tab));
    }
    while (QLayoutItem *item = m_missing->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    // A site no tab holds now stays in the group, said as such, until it is unticked.
    const SiteGroups::Found found =
        group ? SiteGroups::find(*group, m_lineup) : SiteGroups::Found();
    for (qsizetype index = 0; index < found.missing.size(); ++index) {
        const QString name = found.missing[index];
        auto *box = new QCheckBox(tr("%1 (on no tab now)").arg(name).replace(u'&', u"&&"_s), this);
        box->setObjectName(indexedName(u"missingSite", int(index)));
        box->setChecked(true);
        connect(box, &QCheckBox::clicked, this, [this, name, box](bool ticked) {
            if (SiteGroup *shown = current(); shown && !ticked)
                shown->members.removeIf(
                    [&](const SiteGroup::Member &member) { return member.name == name; });
            box->setEnabled(false); // let go: ticked again, it would be one of the tabs
        });
        m_missing->addWidget(box);
    }
    m_rename->setEnabled(group != nullptr);
    m_delete->setEnabled(group != nullptr);
    check();
}

void GroupsWindow::tick(int tab, bool ticked)
{
    SiteGroup *group = current();
    if (!group)
        return;
    group->members.removeIf([&](const SiteGroup::Member &member) {
        return SiteGroups::tabOf(member, m_lineup) == tab;
    });
    if (ticked)
        group->members.append({tab, m_lineup[tab].tabCaption});
    std::sort(group->members.begin(), group->members.end(),
              [](const auto &one, const auto &other) { return one.tab < other.tab; });
}

void GroupsWindow::check()
{
    QString problem;
    for (qsizetype index = 0; index < m_contents.groups.size() && problem.isEmpty(); ++index) {
        const QList<SiteGroup> before = m_contents.groups.first(index);
        const QString said = SiteGroups::nameProblem(m_contents.groups[index].name, before);
        if (!said.isEmpty())
            problem = tr("Group %1: %2").arg(index + 1).arg(said);
    }
    m_problem->setText(problem);
    m_save->setEnabled(problem.isEmpty());
}

void GroupsWindow::save()
{
    // A file that cannot be read holds what the user kept: it is never replaced.
    if (!SiteGroups::load(m_filePath) || !SiteGroups::save(m_filePath, m_contents)) {
        m_problem->setText(
            tr("The groups could not be saved to %1.").arg(QDir::toNativeSeparators(m_filePath)));
        return;
    }
    emit saved(m_contents);
    close();
}
