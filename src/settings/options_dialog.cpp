#include "options_dialog.h"

#include "form/control_names.h"
#include "form/fonts.h"
#include "form/tab_placement.h"
#include "form/twips.h"
#include "search/site_catalogue.h"
#include "setting_check_box.h"
#include "start_choice.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

namespace {

constexpr int RowHeight = 480;
// Both pages' rows start below the tab captions (the Search page's rows once sat 24 px higher,
// the first one cramped under the frame).
constexpr int StartUpTop = 780;
constexpr int SearchTop = StartUpTop;
constexpr int LabelLeft = 960;

} // namespace

OptionsDialog::OptionsDialog(QString settingsPath, const SiteCatalogue::Lineup &lineup,
                             QWidget *parent)
    : QWidget(parent, Qt::Dialog), m_settingsPath(std::move(settingsPath))
{
    setObjectName(QStringLiteral("Options"));
    setWindowTitle(QStringLiteral("OPTIONS"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/reelhop.svg")));
    setFixedSize(Twips::size(3120, 6930));

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("SSTab1"));
    m_pages->setGeometry(Twips::rect(0, 360, 3015, 5775));
    auto *placement = new TabPlacement(m_pages);

    const QFont labelFont = designFont(QStringLiteral("MS Sans Serif"), 12);
    const std::array<std::pair<QString, int>, 2> pages{
        {{QStringLiteral("Start-Up"), StartUpTop}, {QStringLiteral("Search"), SearchTop}}};
    for (int page = 0; page < int(pages.size()); ++page) {
        auto *pageWidget = new QWidget;
        m_pages->addTab(pageWidget, pages[page].first);
        for (int site = 0; site < SiteCatalogue::SiteCount; ++site) {
            const int box = page * SiteCatalogue::SiteCount + site;
            const int top = pages[page].second + RowHeight * site;

            auto *check = new SettingCheckBox(pageWidget);
            check->setObjectName(indexedName(u"Check1", box));
            placement->add(check, Twips::rect(480, top, 255, 255));
            m_boxes[box] = check;

            auto *label = new QLabel(pageWidget);
            label->setObjectName(indexedName(u"Label1", box));
            label->setFont(labelFont);
            label->setBuddy(check);
            placement->add(label, Twips::rect(LabelLeft, top, 1575, 255));
            m_labels[box] = label;
            // As in any dialog, clicking a box's text ticks the box.
            label->installEventFilter(this);
        }
    }
    addStartChoice(m_pages->widget(0), placement);
    m_pages->setCurrentIndex(0);

    m_saveButton = new QPushButton(QStringLiteral("SAVE"), this);
    m_saveButton->setObjectName(QStringLiteral("Command1"));
    m_saveButton->setGeometry(Twips::rect(240, 6360, 975, 375));
    connect(m_saveButton, &QPushButton::clicked, this, &OptionsDialog::save);

    m_cancelButton = new QPushButton(QStringLiteral("CANCEL"), this);
    m_cancelButton->setObjectName(QStringLiteral("Command2"));
    m_cancelButton->setGeometry(Twips::rect(1440, 6360, 1095, 375));
    connect(m_cancelButton, &QPushButton::clicked, this, &OptionsDialog::close);

    m_placement = placement;
    showSiteLabels(lineup);
    applySettingsFile();
}

int OptionsDialog::state(int box) const
{
    return m_boxes.at(box)->state();
}

SettingsFile::States OptionsDialog::states() const
{
    SettingsFile::States states{};
    for (int box = 0; box < SettingsFile::BoxCount; ++box)
        states[box] = state(box);
    return states;
}

void OptionsDialog::addStartChoice(QWidget *page, TabPlacement *placement)
{
    // Below the last row, clear of the page's frame.
    constexpr int Top = StartUpTop + RowHeight * SiteCatalogue::SiteCount - 90;
    auto *label = new QLabel(tr("On start, show:"), page);
    placement->add(label, Twips::rect(480, Top, 2295, 255));
    m_startChoice = new QComboBox(page);
    m_startChoice->setObjectName(QStringLiteral("startChoice"));
    m_startChoice->addItems({tr("the start pages"), tr("the last session")});
    label->setBuddy(m_startChoice);
    placement->add(m_startChoice, Twips::rect(480, Top + 270, 2295, 330));
}

QString OptionsDialog::preferencesPath() const
{
    return StartChoice::path(QFileInfo(m_settingsPath).path());
}

void OptionsDialog::applySettingsFile()
{
    m_startChoice->setCurrentIndex(int(StartChoice::read(preferencesPath())));
    const QList<int> stored = SettingsFile::load(m_settingsPath);
    for (int box = 0; box < stored.size(); ++box)
        m_boxes[box]->setState(stored[box]);
}

void OptionsDialog::showSiteLabels(const SiteCatalogue::Lineup &lineup)
{
    for (int box = 0; box < SettingsFile::BoxCount; ++box) {
        const QString &label = lineup[box % SiteCatalogue::SiteCount].optionLabel;
        m_labels[box]->setText(label);
        m_boxes[box]->setAccessibleName(label);
    }
    // Each name whole: the labels, and the window with them, take the width the longest needs.
    int widest = Twips::toPixels(1575);
    for (const QLabel *label : m_labels)
        widest = std::max(widest, label->sizeHint().width());
    for (QLabel *label : m_labels)
        m_placement->setSize(label, QSize(widest, Twips::toPixels(255)));
    const int extra = widest - Twips::toPixels(1575);
    m_pages->resize(Twips::toPixels(3015) + extra, m_pages->height());
    setFixedSize(Twips::size(3120, 6930) + QSize(extra, 0));
    m_placement->apply();
}

bool OptionsDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        for (int box = 0; box < SettingsFile::BoxCount; ++box)
            if (watched == m_labels[box] && m_boxes[box]->isEnabled())
                m_boxes[box]->click();
    }
    return QWidget::eventFilter(watched, event);
}

void OptionsDialog::save()
{
    // The choices stay live for this run either way; the user must learn they were not kept.
    if (!SettingsFile::save(m_settingsPath, states()))
        emit saveFailed(m_settingsPath);
    // Only a change is written: the preferences file is the user's, and most never need one.
    const auto start = StartChoice::Start(m_startChoice->currentIndex());
    if (start != StartChoice::read(preferencesPath()) &&
        !StartChoice::write(preferencesPath(), start))
        emit saveFailed(preferencesPath());
    hide();
}

void OptionsDialog::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit unloaded();
    deleteLater();
}
