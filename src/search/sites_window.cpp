#include "sites_window.h"

#include "form/control_names.h"
#include "search_template.h"
#include "site_descriptions.h"
#include "sites_file.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The site with the keyword its row shows.
Site withKeyword(Site site, const QString &keyword)
{
    site.keyword = keyword;
    return site;
}

const Site &builtIn(int site)
{
    return SiteCatalogue::builtInLineup()[site];
}

QLabel *problemLabel(QWidget *parent, const QString &name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setStyleSheet(u"color: #b00000;"_s);
    label->setWordWrap(true);
    label->hide();
    return label;
}

// Shows the problem beside its field, or hides it.
bool showProblem(QLabel *label, const QString &problem)
{
    label->setText(problem);
    label->setVisible(!problem.isEmpty());
    return problem.isEmpty();
}

} // namespace

SitesWindow::SitesWindow(QString filePath, const SiteCatalogue::Lineup &lineup, QWidget *parent)
    : QDialog(parent), m_filePath(std::move(filePath))
{
    setObjectName(QStringLiteral("Sites"));
    setWindowTitle(tr("Sites"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/reelhop.svg")));
    // However it is closed, the next one starts from the lineup in use.
    connect(this, &QDialog::finished, this, &QObject::deleteLater);

    auto *grid = new QGridLayout;
    grid->setColumnStretch(4, 2);
    grid->setColumnStretch(5, 3);
    const QStringList headings{
        tr("Tab"),     tr("Site"),       tr("Name"),
        tr("Keyword"), tr("Start page"), tr("Search address (%s stands for the search text)")};
    for (int column = 0; column < headings.size(); ++column)
        grid->addWidget(new QLabel(headings[column], this), 0, column);
    for (int site = 0; site < SiteCatalogue::SiteCount; ++site) {
        addRow(site);
        const Row &row = m_rows[site];
        const int line = 1 + 2 * site;
        grid->addWidget(new QLabel(QString::number(site + 1), this), line, 0);
        grid->addWidget(row.preset, line, 1);
        grid->addWidget(row.name, line, 2);
        grid->addWidget(row.keyword, line, 3);
        grid->addWidget(row.start, line, 4);
        grid->addWidget(row.search, line, 5);
        auto *reset = new QPushButton(tr("Built-in"), this);
        reset->setObjectName(indexedName(u"builtIn", site));
        reset->setAutoDefault(false);
        connect(reset, &QPushButton::clicked, this, [this, site] { fill(site, builtIn(site)); });
        grid->addWidget(reset, line, 6);
        auto *teach = new QPushButton(tr("Read Results Here..."), this);
        teach->setObjectName(indexedName(u"teach", site));
        teach->setAutoDefault(false);
        teach->setAccessibleName(tr("Read results here, tab %1").arg(site + 1));
        teach->setEnabled(!lineup[site].closed); // a closed site's tab shows no results
        connect(teach, &QPushButton::clicked, this, [this, site] { emit teachRequested(site); });
        grid->addWidget(teach, line, 7);
        grid->addWidget(row.reading, line + 1, 1);
        grid->addWidget(row.nameProblem, line + 1, 2);
        grid->addWidget(row.keywordProblem, line + 1, 3);
        grid->addWidget(row.startProblem, line + 1, 4);
        grid->addWidget(row.searchProblem, line + 1, 5);
        fill(site, lineup[site]);
    }

    auto *allBuiltIn = new QPushButton(tr("Built-in for All"), this);
    allBuiltIn->setObjectName(QStringLiteral("allBuiltIn"));
    allBuiltIn->setAutoDefault(false);
    connect(allBuiltIn, &QPushButton::clicked, this, [this] {
        for (const Row &row : m_rows)
            row.keyword->clear(); // each row's own keyword is free for it again
        for (int site = 0; site < SiteCatalogue::SiteCount; ++site)
            fill(site, builtIn(site));
    });
    m_failure = problemLabel(this, QStringLiteral("failure"));
    auto *buttons = new QDialogButtonBox(this);
    m_save = buttons->addButton(tr("SAVE"), QDialogButtonBox::AcceptRole);
    m_save->setObjectName(QStringLiteral("save"));
    QPushButton *cancel = buttons->addButton(tr("CANCEL"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(m_save, &QPushButton::clicked, this, &SitesWindow::save);
    connect(cancel, &QPushButton::clicked, this, &SitesWindow::close);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(allBuiltIn);
    for (const auto &[text, name, act] :
         {std::tuple{tr("Export..."), u"export"_s, &SitesWindow::exportDescriptions},
          {tr("Import..."), u"import"_s, &SitesWindow::importDescription}}) {
        auto *button = new QPushButton(text, this);
        button->setObjectName(name);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, act);
        bottom->addWidget(button);
    }
    bottom->addWidget(m_failure, 1);
    bottom->addWidget(buttons);
    auto *layout = new QVBoxLayout(this);
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("note"));
    m_note->setTextFormat(Qt::PlainText); // a site's own name, a folder's
    m_note->setWordWrap(true);
    m_note->hide();
    layout->addWidget(m_note);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(bottom);
    // Wide enough for the addresses, within the screen: on a small one the fields give way.
    resize(QSize(1160, sizeHint().height()).boundedTo(screen()->availableSize()));
    check();
}

void SitesWindow::addRow(int site)
{
    Row &row = m_rows[site];
    row.preset = new QComboBox(this);
    row.preset->setObjectName(indexedName(u"preset", site));
    row.preset->setPlaceholderText(tr("Another site"));
    row.preset->setAccessibleName(tr("Site of tab %1").arg(site + 1));
    const Site &own = builtIn(site);
    row.preset->addItem(own.closed ? tr("Built-in: %1 (closed)").arg(own.tabCaption)
                                   : tr("Built-in: %1").arg(own.tabCaption));
    for (const Site &preset : SiteCatalogue::presets())
        row.preset->addItem(preset.tabCaption);
    connect(row.preset, &QComboBox::activated, this, [this, site](int index) {
        const QList<Site> &presets = SiteCatalogue::presets();
        fill(site, index == 0                ? builtIn(site)
                   : index <= presets.size() ? presets[index - 1]
                                             : m_offered.value_or(builtIn(site)));
    });

    const auto field = [this, site](const QString &name, const QString &accessible) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(indexedName(name, site));
        // Nine rows of three such fields stay well inside what the file's reader takes.
        edit->setMaxLength(SitesFile::LongestValue);
        edit->setAccessibleName(accessible.arg(site + 1));
        connect(edit, &QLineEdit::textChanged, this, &SitesWindow::check);
        return edit;
    };
    row.name = field(u"name"_s, tr("Name of tab %1"));
    row.name->setMinimumWidth(120);
    row.keyword = field(u"keyword"_s, tr("Keyword of tab %1"));
    row.keyword->setMaxLength(SiteCatalogue::LongestKeyword);
    row.keyword->setFixedWidth(70);
    row.keyword->setToolTip(tr("Type !keyword and the search text to search this site alone"));
    row.start = field(u"start"_s, tr("Start page of tab %1"));
    row.search = field(u"search"_s, tr("Search address of tab %1"));
    if (builtIn(site).closed) {
        row.start->setPlaceholderText(tr("closed: its tab shows a notice"));
        row.search->setPlaceholderText(tr("closed: nothing is sent"));
    }
    row.reading = new QLabel(this);
    row.reading->setObjectName(indexedName(u"reading", site));
    row.reading->setTextFormat(Qt::PlainText);
    row.reading->setEnabled(false); // greyed: a note, not a field
    row.nameProblem = problemLabel(this, indexedName(u"nameProblem", site));
    row.keywordProblem = problemLabel(this, indexedName(u"keywordProblem", site));
    row.startProblem = problemLabel(this, indexedName(u"startProblem", site));
    row.searchProblem = problemLabel(this, indexedName(u"searchProblem", site));
}

void SitesWindow::showReadings(const std::array<QString, SiteCatalogue::SiteCount> &readings)
{
    for (int site = 0; site < SiteCatalogue::SiteCount; ++site)
        m_rows[site].reading->setText(readings[site]);
}

void SitesWindow::proposeLiveSites()
{
    const auto held = [this](const Site &preset) {
        return std::ranges::any_of(m_rows, [&](const Row &row) {
            return row.search->text().trimmed() == preset.searchTemplate;
        });
    };
    auto next = SiteCatalogue::presets().cbegin();
    for (int site = 0; site < SiteCatalogue::SiteCount; ++site) {
        if (!siteOfRow(site).closed)
            continue;
        next = std::find_if_not(next, SiteCatalogue::presets().cend(), held);
        if (next == SiteCatalogue::presets().cend())
            return;
        fill(site, *next);
    }
}

void SitesWindow::exportDescriptions()
{
    const QString folder = QFileDialog::getExistingDirectory(
        this, tr("Export the Sites as OpenSearch Descriptions"), QDir::homePath());
    if (folder.isEmpty())
        return;
    SiteCatalogue::Lineup lineup;
    for (int site = 0; site < SiteCatalogue::SiteCount; ++site)
        lineup[site] = siteOfRow(site);
    const std::optional<QStringList> written = SiteDescriptions::exportTo(folder, lineup);
    showProblem(
        m_failure,
        written
            ? QString()
            : tr("The sites could not be exported to %1.").arg(QDir::toNativeSeparators(folder)));
    if (written) // a note, not a problem
        showProblem(m_note, tr("%n sites exported to %1.", nullptr, int(written->size()))
                                .arg(QDir::toNativeSeparators(folder)));
}

void SitesWindow::importDescription()
{
    const QString path =
        QFileDialog::getOpenFileName(this, tr("Import an OpenSearch Description"), QDir::homePath(),
                                     tr("OpenSearch descriptions (*.xml);;All files (*)"));
    if (path.isEmpty())
        return;
    const OpenSearch::Reading reading = SiteDescriptions::importFrom(path);
    if (reading.site)
        offerSite(*reading.site);
    showProblem(
        m_failure,
        reading.site
            ? QString()
            : tr("%1 cannot be used: %2").arg(QDir::toNativeSeparators(path), reading.problem));
}

void SitesWindow::offerSite(const Site &site)
{
    const QString item = tr("New: %1").arg(site.tabCaption);
    for (const Row &row : m_rows) {
        if (m_offered)
            row.preset->setItemText(row.preset->count() - 1, item);
        else
            row.preset->addItem(item);
    }
    m_offered = site;
    m_note->setText(tr("%1 is ready: choose \u201c%2\u201d as the site of the tab it goes on, "
                       "then SAVE.")
                        .arg(site.tabCaption, item));
    m_note->show();
    check();
}

void SitesWindow::fill(int site, const Site &value)
{
    const Row &row = m_rows[site];
    // A closed site's addresses are the program's own notice: the row says so in words.
    const bool closed = value.closed;
    for (const auto &[field, text] : {std::pair{row.name, value.tabCaption},
                                      {row.start, closed ? QString() : value.startPage},
                                      {row.search, closed ? QString() : value.searchTemplate}}) {
        field->setText(text);
        field->setCursorPosition(0); // shown from their start, where the site's host is
    }
    // A keyword another row has stays that row's: this one gets none rather than a problem.
    const bool taken = std::ranges::any_of(m_rows, [&](const Row &other) {
        return &other != &row && other.keyword &&
               other.keyword->text().trimmed().compare(value.keyword, Qt::CaseInsensitive) == 0;
    });
    row.keyword->setText(taken ? QString() : value.keyword);
}

Site SitesWindow::siteOfRow(int site) const
{
    const Row &row = m_rows[site];
    const Site &own = builtIn(site);
    const QString name = row.name->text().trimmed();
    const QString keyword = row.keyword->text().trimmed();
    // A closed site's row, untouched: its empty fields stand for its notice.
    if (own.closed && name == own.tabCaption && row.start->text().trimmed().isEmpty() &&
        row.search->text().trimmed().isEmpty())
        return withKeyword(own, keyword);
    // The built-in name keeps the built-in site's own label beside the option boxes.
    Site typed{name,
               name == own.tabCaption ? own.optionLabel : name,
               row.start->text().trimmed(),
               row.search->text().trimmed(),
               false,
               keyword};
    // A site put on a closed site's row does not keep that site's notice as its start page,
    // nor does a row left without one: the site's own home, the root of its search address.
    const bool closedNotice =
        own.closed && typed.startPage == own.startPage &&
        (typed.tabCaption != own.tabCaption || typed.searchTemplate != own.searchTemplate);
    if (closedNotice || typed.startPage.isEmpty())
        typed.startPage = SearchTemplate::expand(typed.searchTemplate, QString())
                              .adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment)
                              .toString() +
                          u'/';
    const bool isOwn = typed.tabCaption == own.tabCaption && typed.startPage == own.startPage &&
                       typed.searchTemplate == own.searchTemplate;
    return isOwn ? withKeyword(own, keyword) : typed;
}

void SitesWindow::check()
{
    if (!m_save)
        return; // still being built: the constructor checks once all rows are there
    bool usable = true;
    QStringList keywords; // of the rows above
    for (int site = 0; site < SiteCatalogue::SiteCount; ++site) {
        const Row &row = m_rows[site];
        const Site value = siteOfRow(site);
        const Site &own = builtIn(site);
        // A closed site's own notice is no web address, and is allowed as its own.
        const bool ownStart = value.startPage == own.startPage;
        const bool ownSearch = value.searchTemplate == own.searchTemplate;
        usable &= showProblem(row.nameProblem,
                              value.tabCaption.isEmpty() ? tr("Enter a name.") : QString());
        const qsizetype sameKeyword = keywords.indexOf(value.keyword.toCaseFolded());
        usable &= showProblem(row.keywordProblem,
                              !value.keyword.isEmpty() && sameKeyword >= 0
                                  ? tr("Tab %1 has this keyword.").arg(sameKeyword + 1)
                                  : SiteCatalogue::keywordProblem(value.keyword));
        keywords.append(value.keyword.toCaseFolded());
        usable &=
            showProblem(row.startProblem,
                        ownStart ? QString() : SearchTemplate::addressProblem(value.startPage));
        usable &= showProblem(row.searchProblem,
                              ownSearch ? QString()
                                        : SearchTemplate::templateProblem(value.searchTemplate));
        // The choice names the site the row holds, if it is one of them, whatever its keyword.
        const auto holds = [&value](const Site &site) {
            return withKeyword(site, value.keyword) == value;
        };
        const QList<Site> &presets = SiteCatalogue::presets();
        const auto preset = std::ranges::find_if(presets, holds);
        row.preset->setCurrentIndex(holds(own)                ? 0
                                    : preset != presets.end() ? 1 + int(preset - presets.begin())
                                    : m_offered && holds(*m_offered) ? 1 + int(presets.size())
                                                                     : -1);
    }
    m_save->setEnabled(usable);
}

void SitesWindow::save()
{
    SiteCatalogue::Lineup lineup;
    for (int site = 0; site < SiteCatalogue::SiteCount; ++site)
        lineup[site] = siteOfRow(site);
    // Read again: what the user wrote into the file since, and what the program does not know,
    // stays. A file that cannot be read is never replaced.
    const std::optional<SitesFile::Contents> stored = SitesFile::load(m_filePath);
    if (!stored || !SitesFile::save(m_filePath, SitesFile::withLineup(stored->text, lineup))) {
        showProblem(
            m_failure,
            tr("The sites could not be saved to %1.").arg(QDir::toNativeSeparators(m_filePath)));
        return;
    }
    emit saved(lineup);
    close();
}
