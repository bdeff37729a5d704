#include "options_dialog.h"

#include "form/control_names.h"
#include "form/fonts.h"
#include "form/tab_placement.h"
#include "form/twips.h"
#include "search/site_catalogue.h"
#include "setting_check_box.h"

#include <QCloseEvent>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

namespace {

constexpr int RowHeight = 480;
constexpr int StartUpTop = 780;
constexpr int SearchTop = 420;

} // namespace

OptionsDialog::OptionsDialog(QString settingsPath, QWidget *parent)
    : QWidget(parent, Qt::Dialog), m_settingsPath(std::move(settingsPath))
{
    setObjectName(QStringLiteral("Options"));
    setWindowTitle(QStringLiteral("OPTIONS"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/reelhop.svg")));
    setFixedSize(Twips::size(3120, 6930));

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->setGeometry(Twips::rect(0, 360, 3015, 5775));
    auto *placement = new TabPlacement(SSTab1);

    const QFont labelFont = designFont(QStringLiteral("MS Sans Serif"), 12);
    const std::array<std::pair<QString, int>, 2> pages{
        {{QStringLiteral("Start-Up"), StartUpTop}, {QStringLiteral("Search"), SearchTop}}};
    for (int page = 0; page < int(pages.size()); ++page) {
        auto *pageWidget = new QWidget;
        SSTab1->addTab(pageWidget, pages[page].first);
        for (int site = 0; site < SiteCatalogue::SiteCount; ++site) {
            const int box = page * SiteCatalogue::SiteCount + site;
            const int top = pages[page].second + RowHeight * site;

            auto *check = new SettingCheckBox(pageWidget);
            check->setObjectName(indexedName(u"Check1", box));
            check->setAccessibleName(SiteCatalogue::Sites[site].optionLabel.toString());
            placement->add(check, Twips::rect(480, top, 255, 255));
            Check1[box] = check;

            auto *label = new QLabel(SiteCatalogue::Sites[site].optionLabel.toString(), pageWidget);
            label->setObjectName(indexedName(u"Label1", box));
            label->setFont(labelFont);
            label->setBuddy(check);
            placement->add(label, Twips::rect(960, top, 1575, 255));
        }
    }
    SSTab1->setCurrentIndex(0);

    Command1 = new QPushButton(QStringLiteral("SAVE"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(Twips::rect(240, 6360, 975, 375));
    connect(Command1, &QPushButton::clicked, this, &OptionsDialog::Command1_Click);

    Command2 = new QPushButton(QStringLiteral("CANCEL"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setGeometry(Twips::rect(1440, 6360, 1095, 375));
    connect(Command2, &QPushButton::clicked, this, &OptionsDialog::Command2_Click);

    placement->apply();
    applySettingsFile();
}

int OptionsDialog::state(int box) const
{
    return Check1.at(box)->state();
}

SettingsFile::States OptionsDialog::states() const
{
    SettingsFile::States states{};
    for (int box = 0; box < SettingsFile::BoxCount; ++box)
        states[box] = state(box);
    return states;
}

void OptionsDialog::applySettingsFile()
{
    const QList<int> stored = SettingsFile::load(m_settingsPath);
    for (int box = 0; box < stored.size(); ++box)
        Check1[box]->setState(stored[box]);
}

void OptionsDialog::Command1_Click()
{
    // The choices stay live for this run either way; the user must learn they were not kept.
    if (!SettingsFile::save(m_settingsPath, states()))
        emit saveFailed(m_settingsPath);
    hide();
}

void OptionsDialog::Command2_Click()
{
    close();
}

void OptionsDialog::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit unloaded();
    deleteLater();
}
