#ifndef REELHOP_SEARCH_SITES_WINDOW_H
#define REELHOP_SEARCH_SITES_WINDOW_H

#include "site_catalogue.h"

#include <QDialog>
#include <array>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Which site each of the nine tabs holds: a row per tab with its name, keyword, start page and
// search address, a choice of well-known sites that fills a row in, and the built-in site for one
// row or all. "SAVE" writes the sites file and reports the lineup; it stays off while a field has a
// problem, and a failed save keeps the window open. "CANCEL" and the close box change nothing.
// "Export..." writes the rows' sites as OpenSearch descriptions into a folder; "Import..." offers
// the site of one.
class SitesWindow final : public QDialog
{
    Q_OBJECT

public:
    SitesWindow(QString filePath, const SiteCatalogue::Lineup &lineup, QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(SitesWindow)

    // What the last search read from each tab's page, so that a rule's effect shows.
    void showReadings(const std::array<QString, SiteCatalogue::SiteCount> &readings);
    // Fills each closed site's row with a well-known live site that no row holds, in the order
    // they are offered; nothing is saved before SAVE.
    void proposeLiveSites();
    // Offers a site from elsewhere (a page's description of it) on every row; nothing is
    // saved before SAVE.
    void offerSite(const Site &site);

signals:
    void saved(const SiteCatalogue::Lineup &lineup);
    // The row's "Read Results Here...": the user will point at a result of its tab's page.
    void teachRequested(int site);

private:
    struct Row
    {
        QComboBox *preset = nullptr;
        QLineEdit *name = nullptr;
        QLineEdit *keyword = nullptr;
        QLineEdit *start = nullptr;
        QLineEdit *search = nullptr;
        QLabel *nameProblem = nullptr;
        QLabel *keywordProblem = nullptr;
        QLabel *startProblem = nullptr;
        QLabel *searchProblem = nullptr;
        QLabel *reading = nullptr;
    };

    void addRow(int site);
    void fill(int site, const Site &value);
    Site siteOfRow(int site) const;
    void check();
    void save();
    void exportDescriptions();
    void importDescription();

    QString m_filePath;
    std::array<Row, SiteCatalogue::SiteCount> m_rows;
    QPushButton *m_save = nullptr;
    QLabel *m_failure = nullptr;
    QLabel *m_note = nullptr;
    std::optional<Site> m_offered;
};

#endif
