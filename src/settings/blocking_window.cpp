#include "blocking_window.h"

#include "blocking/blocker.h"

#include <QCheckBox>
#include <QDate>
#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

enum Column { Name, Rules, Skipped, Updated };

// "updated today", "updated 2 days ago": how old the copy in use is.
QString age(const QDateTime &modified)
{
    const qint64 days = modified.date().daysTo(QDate::currentDate());
    if (days <= 0)
        return QObject::tr("updated today");
    if (days == 1)
        return QObject::tr("updated yesterday");
    return QObject::tr("updated %1 days ago").arg(days);
}

// "+js() 9,501, $csp 120": what rules were skipped for, most often first; past `most` kinds,
// how many more.
QString skippedKinds(const QMap<QByteArray, int> &counts, qsizetype most = -1)
{
    QList<std::pair<int, QByteArray>> kinds;
    for (auto kind = counts.cbegin(); kind != counts.cend(); ++kind)
        kinds.append({kind.value(), kind.key()});
    std::stable_sort(kinds.begin(), kinds.end(),
                     [](const auto &a, const auto &b) { return a.first > b.first; });
    QStringList said;
    for (const auto &[count, kind] : kinds)
        said.append(QString::fromUtf8(kind) + u' ' + QLocale().toString(count));
    if (most >= 0 && said.size() > most)
        return QObject::tr("%1 and %n more", nullptr, int(said.size() - most))
            .arg(said.first(most).join(u", "_s));
    return said.join(u", "_s);
}

} // namespace

BlockingWindow::BlockingWindow(Blocker *blocker, QWidget *parent)
    : QDialog(parent), m_blocker(blocker)
{
    setObjectName(QStringLiteral("Blocking"));
    setWindowTitle(tr("Blocking"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *column = new QVBoxLayout(this);

    m_enabled = new QCheckBox(tr("&Block ads, trackers and harmful sites"));
    m_enabled->setObjectName(QStringLiteral("blockingOn"));
    column->addWidget(m_enabled);

    auto *listsLabel = new QLabel(tr("Filter &lists"));
    column->addWidget(listsLabel);
    m_lists = new QTreeWidget;
    m_lists->setObjectName(QStringLiteral("blockingLists"));
    m_lists->setRootIsDecorated(false);
    m_lists->setHeaderLabels({tr("List"), tr("Rules"), tr("Skipped"), tr("Copy in use")});
    m_lists->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    listsLabel->setBuddy(m_lists);
    column->addWidget(m_lists, 1);
    m_skipped = new QLabel;
    m_skipped->setObjectName(QStringLiteral("skippedKinds"));
    m_skipped->setWordWrap(true);
    m_skipped->setTextFormat(Qt::PlainText);
    column->addWidget(m_skipped);

    auto *updates = new QHBoxLayout;
    m_updateLists = new QCheckBox(tr("&Update lists automatically"));
    m_updateLists->setObjectName(QStringLiteral("updateLists"));
    updates->addWidget(m_updateLists);
    updates->addStretch();
    m_updateNow = new QPushButton(tr("Update &Now"));
    m_updateNow->setObjectName(QStringLiteral("updateNow"));
    updates->addWidget(m_updateNow);
    column->addLayout(updates);
    m_updates = new QLabel;
    m_updates->setObjectName(QStringLiteral("updateTroubles"));
    m_updates->setWordWrap(true);
    m_updates->setTextFormat(Qt::PlainText);
    column->addWidget(m_updates);

    auto *allowedLabel = new QLabel(tr("&Sites allowed (nothing is blocked on them)"));
    column->addWidget(allowedLabel);
    m_allowed = new QListWidget;
    m_allowed->setObjectName(QStringLiteral("allowedSites"));
    allowedLabel->setBuddy(m_allowed);
    column->addWidget(m_allowed);
    m_removeAllowed = new QPushButton(tr("&Block on This Site Again"));
    m_removeAllowed->setObjectName(QStringLiteral("removeAllowed"));
    column->addWidget(m_removeAllowed, 0, Qt::AlignLeft);

    m_failure = new QLabel;
    m_failure->setObjectName(QStringLiteral("failure"));
    m_failure->setWordWrap(true);
    m_failure->hide();
    column->addWidget(m_failure);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);
    resize(640, 600);

    connect(m_enabled, &QCheckBox::toggled, this, &BlockingWindow::apply);
    connect(m_updateLists, &QCheckBox::toggled, this, &BlockingWindow::apply);
    connect(m_updateNow, &QPushButton::clicked, this, [this] {
        if (m_blocker->updateNow())
            fill();
    });
    connect(blocker, &Blocker::updateProgress, this, [this](int done, int total) {
        m_updateNow->setText(tr("Updating %1 of %2…").arg(done + 1).arg(total));
    });
    connect(blocker, &Blocker::updatesDone, this, &BlockingWindow::fill);
    connect(m_lists, &QTreeWidget::itemChanged, this, &BlockingWindow::apply);
    connect(m_removeAllowed, &QPushButton::clicked, this, [this] {
        delete m_allowed->currentItem();
        apply();
    });
    connect(m_allowed, &QListWidget::currentRowChanged, this,
            [this](int row) { m_removeAllowed->setEnabled(row >= 0); });
    connect(blocker, &Blocker::listsLoaded, this, &BlockingWindow::fill);
    // Not from inside the change of one of this window's own rows.
    connect(blocker, &Blocker::settingsChanged, this, &BlockingWindow::fill, Qt::QueuedConnection);
    fill();
}

void BlockingWindow::fill()
{
    m_filling = true;
    const BlockingSettings &settings = m_blocker->settings();
    m_enabled->setChecked(settings.enabled);
    m_updateLists->setChecked(settings.updateLists);
    m_updateNow->setEnabled(!m_blocker->isUpdating());
    m_updateNow->setText(m_blocker->isUpdating() ? tr("Updating…") : tr("Update &Now"));
    m_updates->setText(m_blocker->updateTroubles().join(u'\n'));
    m_lists->clear();
    QMap<QByteArray, int> skipped;
    for (const FilterLists::ListFile &file : m_blocker->availableLists()) {
        auto *item = new QTreeWidgetItem(m_lists, {file.name});
        item->setToolTip(Name, QDir::toNativeSeparators(file.path));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        const bool on = !settings.listsOff.contains(file.name, Qt::CaseInsensitive);
        item->setCheckState(Name, on ? Qt::Checked : Qt::Unchecked);
        for (const FilterLists::ListReport &report : m_blocker->reports()) {
            if (report.file.path != file.path || !on)
                continue;
            item->setText(Rules, report.failure.isEmpty() ? QString::number(report.count.rules)
                                                          : tr("not read"));
            item->setToolTip(Rules, report.failure);
            item->setText(Skipped, QString::number(report.count.skipped));
            item->setToolTip(Skipped, skippedKinds(report.count.skippedFor));
            for (auto kind = report.count.skippedFor.cbegin();
                 kind != report.count.skippedFor.cend(); ++kind)
                skipped[kind.key()] += kind.value();
            item->setText(Updated, age(report.modified));
            item->setToolTip(Updated, QLocale().toString(report.modified, QLocale::LongFormat));
        }
    }
    // The commonest in the window, every one in its tip.
    m_skipped->setText(
        skipped.isEmpty()
            ? QString()
            : tr("Rules skipped, by what they use: %1").arg(skippedKinds(skipped, 6)));
    m_skipped->setToolTip(skippedKinds(skipped));
    m_allowed->clear();
    m_allowed->addItems(settings.allowedSites);
    m_removeAllowed->setEnabled(false);
    m_filling = false;
}

void BlockingWindow::apply()
{
    if (m_filling)
        return;
    BlockingSettings settings = m_blocker->settings();
    settings.enabled = m_enabled->isChecked();
    settings.updateLists = m_updateLists->isChecked();
    settings.listsOff.clear();
    for (int row = 0; row < m_lists->topLevelItemCount(); ++row) {
        const QTreeWidgetItem *item = m_lists->topLevelItem(row);
        if (item->checkState(Name) != Qt::Checked)
            settings.listsOff.append(item->text(Name));
    }
    settings.allowedSites.clear();
    for (int row = 0; row < m_allowed->count(); ++row)
        settings.allowedSites.append(m_allowed->item(row)->text());
    const bool saved = m_blocker->apply(settings);
    m_failure->setText(saved ? QString()
                             : tr("Your choices hold until Reelhop closes: %1 could not be saved.")
                                   .arg(QDir::toNativeSeparators(m_blocker->settingsPath())));
    m_failure->setVisible(!saved);
}
