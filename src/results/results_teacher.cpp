#include "results_teacher.h"

#include "page_reading.h"
#include "search/sites_file.h"

#include <QDir>
#include <QMessageBox>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

// "Title, length and channel found": the parts that most of the results show.
QString partsFound(const QList<VideoResult> &results)
{
    const auto most = [&results](auto shown) {
        return 2 * std::ranges::count_if(results, shown) >= results.size();
    };
    QStringList parts{ResultsTeacher::tr("Title")};
    if (most([](const VideoResult &video) { return video.seconds >= 0; }))
        parts.append(ResultsTeacher::tr("length"));
    if (most([](const VideoResult &video) { return !video.author.isEmpty(); }))
        parts.append(ResultsTeacher::tr("channel"));
    const QString last = parts.takeLast();
    return parts.isEmpty() ? ResultsTeacher::tr("%1 found").arg(last)
                           : ResultsTeacher::tr("%1 and %2 found").arg(parts.join(u", "_s), last);
}

} // namespace

ResultsTeacher::ResultsTeacher(const SiteViews &views, QString sitesFilePath, SiteNames names,
                               QWidget *window)
    : QObject(window), m_views(views), m_sitesFilePath(std::move(sitesFilePath)),
      m_names(std::move(names)), m_window(window)
{
    for (int site = 0; site < SiteCatalogue::SiteCount; ++site) {
        views[site]->setTeachingOffered(true);
        connect(views[site], &BrowserView::teachingRequested, this, [this, site] { teach(site); });
        connect(views[site], &BrowserView::pagePointed, this,
                [this, site](const QVariant &answer, bool clicked) {
                    if (site == m_site)
                        takePoint(answer, clicked);
                });
        connect(views[site], &BrowserView::pointingLeft, this, [this, site] {
            if (site == m_site && !m_question)
                finish();
        });
    }
}

void ResultsTeacher::teach(int site)
{
    if (m_site >= 0)
        m_views[m_site]->endPointing();
    delete m_question;
    m_site = site;
    m_siteName = m_names(site);
    const QString &siteName = m_siteName;
    // From the Sites window too: the page to point at comes to the front.
    emit tabWanted(site);
    m_window->activateWindow();
    m_window->raise();
    if (!m_views[site]->pointAtPage(ReadingRules::pickerScript())) {
        m_site = -1;
        emit statusMessage(tr("%1 shows no page to read: search first, then click one of its "
                              "results.")
                               .arg(siteName));
        return;
    }
    emit statusMessage(tr("Click one result on %1's page: Reelhop will read every result like "
                          "it. Esc leaves.")
                           .arg(siteName));
}

void ResultsTeacher::takePoint(const QVariant &answer, bool clicked)
{
    if (!clicked || m_question)
        return;
    const ReadingRule rule = ReadingRules::ruleOfAnswer(answer);
    const PageReading reading = PageReadings::fromAnswer(answer);
    if (rule.isEmpty() || reading.results.isEmpty()) {
        emit statusMessage(tr("No result was found where you clicked: choose Read Results "
                              "Here... again and click a result's title or picture."));
        finish();
        return;
    }
    m_question = new QMessageBox(
        QMessageBox::Question, tr("Read Results Here"),
        tr("%n results: %1", nullptr, int(reading.results.size())).arg(partsFound(reading.results)),
        QMessageBox::Ok | QMessageBox::Cancel, m_window);
    m_question->setObjectName(u"teachResults"_s);
    m_question->setInformativeText(
        tr("They are marked on the page. OK reads %1's results this way from the next search.")
            .arg(m_siteName));
    m_question->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_question, &QMessageBox::finished, this, [this, rule](int answered) {
        if (answered == QMessageBox::Ok)
            save(rule);
        finish();
    });
    m_question->open();
}

void ResultsTeacher::save(const ReadingRule &rule)
{
    const std::optional<SitesFile::Contents> file = SitesFile::load(m_sitesFilePath);
    const QString shownPath = QDir::toNativeSeparators(m_sitesFilePath);
    if (!file) {
        emit statusMessage(
            tr("The rule was not saved: %1 cannot be read, and is left as it is.").arg(shownPath));
        return;
    }
    IniText text = file->text;
    const QString group = SitesFile::groupOf(m_site);
    const auto values = rule.selectors();
    for (std::size_t key = 0; key < values.size(); ++key) {
        if (values[key].isEmpty())
            text.remove(group, SitesFile::RuleKeys[key]);
        else
            text.setValue(group, SitesFile::RuleKeys[key].toString(), values[key]);
    }
    if (!SitesFile::save(m_sitesFilePath, text)) {
        emit statusMessage(tr("The rule could not be written to %1.").arg(shownPath));
        return;
    }
    emit statusMessage(
        tr("%1's results are read by the new rule from the next search.").arg(m_siteName));
}

void ResultsTeacher::finish()
{
    if (m_site >= 0)
        m_views[m_site]->endPointing();
    m_site = -1;
}
