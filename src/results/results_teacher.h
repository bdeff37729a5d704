#ifndef REELHOP_RESULTS_RESULTS_TEACHER_H
#define REELHOP_RESULTS_RESULTS_TEACHER_H

#include "browsing/browser_view.h"
#include "reading_rule.h"
#include "search/site_catalogue.h"

#include <QObject>
#include <QPointer>
#include <array>
#include <functional>

class QMessageBox;

// Teaches the program where a site's page shows its results, in one click: the user points at
// one result in the site's tab, the view marks every result the rule derived from it would read,
// and OK writes that rule into the site's group of the sites file, whole.
class ResultsTeacher final : public QObject
{
    Q_OBJECT

public:
    using SiteViews = std::array<BrowserView *, SiteCatalogue::SiteCount>;
    using SiteNames = std::function<QString(int site)>;

    // Each view's menu offers it; the dialogs come over the window.
    ResultsTeacher(const SiteViews &views, QString sitesFilePath, SiteNames names, QWidget *window);

    // Shows the site's tab and lets the user point at a result of its page; one at a time.
    void teach(int site);

signals:
    void tabWanted(int site);
    void statusMessage(const QString &text);

private:
    void takePoint(const QVariant &answer, bool clicked);
    void save(const ReadingRule &rule);
    void finish();

    SiteViews m_views;
    QString m_sitesFilePath;
    SiteNames m_names;
    QWidget *m_window = nullptr;
    int m_site = -1;
    QString m_siteName;
    QPointer<QMessageBox> m_question;
};

#endif
