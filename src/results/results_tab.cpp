#include "results_tab.h"

#include "blocking/request_policy.h"
#include "form/control_names.h"
#include "results_model.h"
#include "search/sites_file.h"
#include "thumbnails.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QSpinBox *minutesBox(QWidget *parent, const QString &name, const QString &accessibleName)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setAccessibleName(accessibleName);
    box->setRange(0, 600);
    box->setSuffix(ResultsTab::tr(" min"));
    box->setSpecialValueText(ResultsTab::tr("any"));
    return box;
}

} // namespace

ResultsTab::ResultsTab(const SiteViews &views, QString sitesFilePath, QWidget *parent)
    : QWidget(parent), m_views(views), m_sitesFilePath(std::move(sitesFilePath)),
      m_thumbnails(new Thumbnails(this)), m_model(new ResultsModel(m_thumbnails, this))
{
    setObjectName(u"Results"_s);
    m_siteRow = new QHBoxLayout;
    m_siteButtons = new QButtonGroup(this);
    m_all = new QToolButton(this);
    m_all->setObjectName(u"resultsAll"_s);
    m_all->setText(tr("All sites"));
    m_all->setCheckable(true);
    m_all->setChecked(true);
    m_siteButtons->addButton(m_all, -1);
    m_siteRow->addWidget(m_all);
    for (int site = 0; site < SiteCatalogue::SiteCount; ++site) {
        auto *button = new QToolButton(this);
        button->setObjectName(indexedName(u"resultsSite", site));
        button->setCheckable(true);
        button->hide();
        m_siteButtons->addButton(button, site);
        m_siteRow->addWidget(button);
        m_sites[site].button = button;
        connect(views[site], &BrowserView::resultsRead, this,
                [this, site](const QVariant &answer, bool settled) {
                    takeReading(site, answer, settled);
                });
        connect(views[site], &BrowserView::loadStateChanged, this,
                [this, site](BrowserView::LoadState state) { followLoadState(site, state); });
    }
    m_siteRow->addStretch();
    connect(m_siteButtons, &QButtonGroup::idClicked, this, [this](int site) {
        // The site shown alone, clicked again, shows all of them again.
        if (site == m_shownSite)
            m_all->setChecked(true);
        m_shownSite = m_siteButtons->checkedId();
        rearrange();
    });

    m_order = new QComboBox(this);
    m_order->setObjectName(u"resultsOrder"_s);
    m_order->setAccessibleName(tr("Order"));
    m_order->addItems({tr("In turns"), tr("Shortest first"), tr("Longest first")});
    connect(m_order, &QComboBox::currentIndexChanged, this, &ResultsTab::rearrange);
    m_shortest = minutesBox(this, u"resultsShortest"_s, tr("Length at least, in minutes"));
    m_longest = minutesBox(this, u"resultsLongest"_s, tr("Length at most, in minutes"));
    for (QSpinBox *box : {m_shortest, m_longest})
        connect(box, &QSpinBox::valueChanged, this, &ResultsTab::rearrange);
    auto *arrangeRow = new QHBoxLayout;
    arrangeRow->addWidget(new QLabel(tr("Order:"), this));
    arrangeRow->addWidget(m_order);
    arrangeRow->addSpacing(12);
    arrangeRow->addWidget(new QLabel(tr("Length at least"), this));
    arrangeRow->addWidget(m_shortest);
    arrangeRow->addWidget(new QLabel(tr("at most"), this));
    arrangeRow->addWidget(m_longest);
    arrangeRow->addStretch();

    m_list = new QListView(this);
    m_list->setObjectName(u"resultsList"_s);
    m_list->setAccessibleName(tr("Results of every chosen site"));
    m_list->setModel(m_model);
    m_list->setItemDelegate(new ResultDelegate(m_list));
    m_list->setUniformItemSizes(true);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->installEventFilter(this);
    m_list->viewport()->installEventFilter(this);
    m_empty = new QLabel(tr("Search with \u201cFind It!\u201d: every chosen site's results are "
                            "listed here as their pages show them."),
                         this);
    m_empty->setObjectName(u"resultsEmpty"_s);
    m_empty->setWordWrap(true);
    m_empty->setTextFormat(Qt::PlainText);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(m_siteRow);
    layout->addLayout(arrangeRow);
    layout->addWidget(m_empty);
    layout->addWidget(m_list, 1);
}

void ResultsTab::startSearch(const SiteCatalogue::Lineup &lineup, const QList<int> &sites)
{
    const std::optional<SitesFile::Contents> file = SitesFile::load(m_sitesFilePath);
    const auto rules = ReadingRules::forLineup(file ? file->text : IniText(), lineup);
    m_searched = sites;
    for (int site = 0; site < SiteCatalogue::SiteCount; ++site) {
        SiteState &state = m_sites[site];
        const bool searched = sites.contains(site) && !lineup[site].closed;
        state.status = searched ? Status::Loading : Status::NotSearched;
        state.reading = {};
        state.settled = false;
        state.hasRule = !rules[site].isEmpty();
        state.name = lineup[site].tabCaption;
        m_views[site]->readResults(searched ? ReadingRules::readerScript(rules[site]) : QString());
        showSiteButton(site);
    }
    m_all->setChecked(true);
    m_shownSite = -1;
    remerge();
}

QList<std::pair<int, PageReading>> ResultsTab::readings() const
{
    QList<std::pair<int, PageReading>> readings;
    for (const int site : m_searched)
        if (m_sites[site].status != Status::NotSearched)
            readings.append({site, m_sites[site].reading});
    return readings;
}

void ResultsTab::showReadings(const SiteCatalogue::Lineup &lineup,
                              const QList<std::pair<int, PageReading>> &readings)
{
    m_searched.clear();
    for (int site = 0; site < SiteCatalogue::SiteCount; ++site)
        m_sites[site] = {Status::NotSearched, {}, false, false, lineup[site].tabCaption,
                         m_sites[site].button};
    for (const auto &[site, reading] : readings) {
        m_searched.append(site);
        m_sites[site].status = Status::Read;
        m_sites[site].reading = reading;
        m_sites[site].settled = true;
    }
    for (int site = 0; site < SiteCatalogue::SiteCount; ++site)
        showSiteButton(site);
    m_all->setChecked(true);
    m_shownSite = -1;
    remerge();
}

void ResultsTab::takeReading(int site, const QVariant &answer, bool settled)
{
    SiteState &state = m_sites[site];
    // A page that settled with results has given them; one that showed none (a consent page)
    // may show them once the user has answered it.
    if (state.status == Status::NotSearched || (state.settled && !state.reading.results.isEmpty()))
        return;
    PageReading reading = PageReadings::fromAnswer(answer);
    for (VideoResult &result : reading.results)
        result.page = m_views[site]->locationUrl();
    if (m_adPolicy)
        reading.results.removeIf([this](const VideoResult &result) {
            return !m_adPolicy
                        ->blockingRule(QUrl(result.address), QUrl(result.page),
                                       Blocking::RequestType::Document)
                        .isEmpty();
        });
    // A reading before the page settled never takes away what an earlier one found.
    if (!settled && reading.results.isEmpty())
        return;
    state.reading = std::move(reading);
    state.settled = settled;
    state.status = settled ? Status::Read : Status::Loading;
    showSiteButton(site);
    remerge();
}

void ResultsTab::followLoadState(int site, BrowserView::LoadState loadState)
{
    SiteState &state = m_sites[site];
    if (state.status != Status::Loading || loadState != BrowserView::LoadState::Failed)
        return;
    state.status = Status::Failed;
    showSiteButton(site);
    emit readingsChanged();
}

void ResultsTab::showSiteButton(int site)
{
    const SiteState &state = m_sites[site];
    QToolButton *button = state.button;
    button->setVisible(state.status != Status::NotSearched);
    const qsizetype count = state.reading.results.size();
    switch (state.status) {
    case Status::NotSearched:
        break;
    case Status::Loading:
        button->setText(count ? tr("%1: %n, still loading", nullptr, int(count)).arg(state.name)
                              : tr("%1: loading").arg(state.name));
        break;
    case Status::Read:
        button->setText(count ? tr("%1: %n", nullptr, int(count)).arg(state.name)
                              : tr("%1: read nothing").arg(state.name));
        break;
    case Status::Failed:
        button->setText(tr("%1: failed").arg(state.name));
        break;
    }
}

std::array<QString, SiteCatalogue::SiteCount> ResultsTab::readingSummaries() const
{
    std::array<QString, SiteCatalogue::SiteCount> summaries;
    for (int site = 0; site < SiteCatalogue::SiteCount; ++site) {
        const SiteState &state = m_sites[site];
        const int count = int(state.reading.results.size());
        const PageReading::How how = state.reading.how;
        if (state.status == Status::NotSearched)
            continue;
        if (state.status == Status::Failed)
            summaries[site] = tr("its page failed to load");
        else if (count == 0)
            summaries[site] = state.status == Status::Loading ? tr("reading\u2026")
                                                              : tr("read nothing: open the tab");
        else if (how == PageReading::How::Rule && state.reading.itemBypassed)
            summaries[site] = tr("read %n results around the rule's links: its item matched "
                                 "fewer",
                                 nullptr, count);
        else if (how == PageReading::How::Rule)
            summaries[site] = tr("read %n results", nullptr, count);
        else if (how == PageReading::How::Data)
            summaries[site] = tr("read %n results from the page's data", nullptr, count);
        else if (state.hasRule)
            summaries[site] = tr("the rule read nothing: read %n by shape", nullptr, count);
        else
            summaries[site] = tr("no rule: read %n by shape", nullptr, count);
    }
    return summaries;
}

void ResultsTab::remerge()
{
    QList<std::pair<int, QList<VideoResult>>> bySite;
    for (const int site : m_searched)
        bySite.append({site, m_sites[site].reading.results});
    m_merged = ResultList::merge(bySite);
    rearrange();
    emit readingsChanged();
}

void ResultsTab::rearrange()
{
    const auto minutes = [](const QSpinBox *box) { return box->value() ? box->value() * 60 : -1; };
    const ResultList::Filter filter{minutes(m_shortest), minutes(m_longest),
                                    m_siteButtons->checkedId()};
    const QList<int> rows =
        ResultList::arrange(m_merged, ResultList::Order(m_order->currentIndex()), filter);
    QStringList names;
    for (const SiteState &state : m_sites)
        names.append(state.name);
    m_model->show(m_merged, rows, names);
    m_empty->setVisible(rows.isEmpty());
    if (m_searched.isEmpty())
        return;
    m_empty->setText(m_merged.isEmpty() ? tr("No results have been read yet: each site's are "
                                             "listed once its page has loaded.")
                                        : tr("No result is of that site and length."));
}

void ResultsTab::openRow(const QModelIndex &index)
{
    if (index.isValid())
        emit openRequested(index.data(ResultsModel::FirstSiteRole).toInt(),
                           index.data(ResultsModel::AddressRole).toString());
}

void ResultsTab::showMenu(const QModelIndex &index, QPoint globalPosition)
{
    if (!index.isValid())
        return;
    // The result as the row shows it now: a reading that comes while the menu is open may move
    // another result into the row.
    const int site = index.data(ResultsModel::FirstSiteRole).toInt();
    const QString address = index.data(ResultsModel::AddressRole).toString();
    const QString title = index.data().toString();
    QMenu menu(this);
    menu.setObjectName(u"resultMenu"_s);
    menu.addAction(tr("Open in Its Tab"), this,
                   [this, site, address] { emit openRequested(site, address); });
    if (m_playerOffered)
        menu.addAction(tr("Play in Video Player"), this,
                       [this, address] { emit playRequested(address); });
    menu.addAction(tr("Add to Favorites"), this,
                   [this, title, address] { emit favoriteRequested(title, address); });
    menu.exec(globalPosition);
}

bool ResultsTab::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const auto key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            openRow(m_list->currentIndex());
            return true;
        }
    } else if ((watched == m_list || watched == m_list->viewport()) &&
               event->type() == QEvent::ContextMenu) {
        // The menu key opens the menu of the row in focus; the mouse's, of the row under it.
        const auto *menu = static_cast<QContextMenuEvent *>(event);
        const bool byKey = menu->reason() == QContextMenuEvent::Keyboard;
        const QModelIndex index =
            byKey ? m_list->currentIndex()
                  : m_list->indexAt(m_list->viewport()->mapFromGlobal(menu->globalPos()));
        showMenu(index, byKey ? m_list->viewport()->mapToGlobal(m_list->visualRect(index).center())
                              : menu->globalPos());
        return true;
    } else if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const QModelIndex index = m_list->indexAt(mouse->position().toPoint());
        if (mouse->button() == Qt::LeftButton && index.isValid()) {
            m_list->setCurrentIndex(index);
            openRow(index);
            return true;
        }
        if (mouse->button() == Qt::MiddleButton && index.isValid()) {
            m_list->setCurrentIndex(index);
            showMenu(index, mouse->globalPosition().toPoint());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
