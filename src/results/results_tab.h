#ifndef REELHOP_RESULTS_RESULTS_TAB_H
#define REELHOP_RESULTS_RESULTS_TAB_H

#include "browsing/browser_view.h"
#include "page_reading.h"
#include "reading_rule.h"
#include "result_list.h"

#include <QWidget>
#include <array>

class QButtonGroup;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QListView;
class QSpinBox;
class QToolButton;
class ResultsModel;
class Thumbnails;

// Every chosen site's results of the last search in one list, read from the sites' own pages:
// in turns, a video several sites show listed once, by site, by length. A result opens in its
// site's tab; its menu plays it or keeps it as a favorite.
class RequestPolicy;
class ResultsTab final : public QWidget
{
    Q_OBJECT

public:
    using SiteViews = std::array<BrowserView *, SiteCatalogue::SiteCount>;

    // The rules come from the sites file, read anew at each search.
    ResultsTab(const SiteViews &views, QString sitesFilePath, QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(ResultsTab)

    // A new search on the sites given: the list empties and each site's view is told to read
    // the page it loads next. Called before the views are sent to their results pages.
    void startSearch(const SiteCatalogue::Lineup &lineup, const QList<int> &sites);

    // What the last search read, by site in the order searched; and the same shown again, as
    // read once the pages had settled, with no view told to read.
    QList<std::pair<int, PageReading>> readings() const;
    void showReadings(const SiteCatalogue::Lineup &lineup,
                      const QList<std::pair<int, PageReading>> &readings);

    // What the last search read from each site, in words; empty for a site not searched.
    std::array<QString, SiteCatalogue::SiteCount> readingSummaries() const;

    void setPlayerOffered(bool offered) { m_playerOffered = offered; }
    // A result that leads to a page the policy blocks is an ad, never a result; none: no check.
    void setAdPolicy(const RequestPolicy *policy) { m_adPolicy = policy; }

signals:
    void openRequested(int site, const QString &address);
    void playRequested(const QString &address);
    void favoriteRequested(const QString &title, const QString &address);
    void readingsChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Status { NotSearched, Loading, Read, Failed };
    struct SiteState
    {
        Status status = Status::NotSearched;
        PageReading reading;
        bool settled = false;
        bool hasRule = false;
        QString name;
        QToolButton *button = nullptr;
    };

    void takeReading(int site, const QVariant &answer, bool settled);
    void followLoadState(int site, BrowserView::LoadState loadState);
    void remerge();
    void rearrange();
    void showSiteButton(int site);
    void openRow(const QModelIndex &index);
    void showMenu(const QModelIndex &index, QPoint globalPosition);

    SiteViews m_views;
    QString m_sitesFilePath;
    std::array<SiteState, SiteCatalogue::SiteCount> m_sites;
    QList<int> m_searched;
    QList<ListedVideo> m_merged;
    bool m_playerOffered = false;
    const RequestPolicy *m_adPolicy = nullptr;
    // The site whose results alone are shown; -1 for all.
    int m_shownSite = -1;

    Thumbnails *m_thumbnails = nullptr;
    ResultsModel *m_model = nullptr;
    QHBoxLayout *m_siteRow = nullptr;
    QButtonGroup *m_siteButtons = nullptr;
    QToolButton *m_all = nullptr;
    QComboBox *m_order = nullptr;
    QSpinBox *m_shortest = nullptr;
    QSpinBox *m_longest = nullptr;
    QListView *m_list = nullptr;
    QLabel *m_empty = nullptr;
};

#endif
