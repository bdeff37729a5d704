#include "browser_events.h"

#include "form/status_panel.h"
#include "search/site_catalogue.h"

#include <QComboBox>
#include <QEvent>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTabWidget>

namespace {

QIcon iconOfState(BrowserView::LoadState state)
{
    switch (state) {
    case BrowserView::LoadState::Loading:
        return QIcon(QStringLiteral(":/icons/state-loading.svg"));
    case BrowserView::LoadState::Loaded:
        return QIcon(QStringLiteral(":/icons/state-loaded.svg"));
    case BrowserView::LoadState::Failed:
        return QIcon(QStringLiteral(":/icons/state-failed.svg"));
    case BrowserView::LoadState::Idle:
        break;
    }
    return {};
}

} // namespace

BrowserEvents::BrowserEvents(const Controls &controls, QObject *parent)
    : QObject(parent), m_controls(controls)
{
    for (const auto state : {BrowserView::LoadState::Idle, BrowserView::LoadState::Loading,
                             BrowserView::LoadState::Loaded, BrowserView::LoadState::Failed})
        m_stateIcons.at(std::size_t(state)) = iconOfState(state);
    for (int index = 0; index < int(m_controls.views.size()); ++index) {
        BrowserView *view = m_controls.views[index];
        connect(view, &BrowserView::statusTextChanged, this, &BrowserEvents::showStatusText);
        connect(view, &BrowserView::progressChanged, this, &BrowserEvents::followProgress);
        connect(view, &BrowserView::loadStateChanged, this, [this, index] {
            showLoadState(index);
            showProgress();
        });
    }
    connect(m_controls.tabs, &QTabWidget::currentChanged, this, &BrowserEvents::followSelectedTab);

    connect(m_controls.addressBox->lineEdit(), &QLineEdit::textEdited, this,
            [this] { m_addressEdited = true; });
    // The box's line edit has the box as its focus proxy: the box gets the focus events.
    m_controls.addressBox->installEventFilter(this);
    followSelectedTab();
}

void BrowserEvents::addressSubmitted(bool opened)
{
    QComboBox *box = m_controls.addressBox;
    // Kept as typed: the address is sent as it stands.
    const QString typed = box->currentText();
    if (opened && !typed.trimmed().isEmpty()) {
        const QSignalBlocker quiet(box);
        if (const int known = box->findText(typed); known >= 0)
            box->removeItem(known);
        box->insertItem(0, typed);
        while (box->count() > MaxOpened)
            box->removeItem(box->count() - 1);
        box->setCurrentIndex(-1);
        box->setEditText(typed);
    }
    m_addressEdited = false;
    m_leftEdit.reset();
    m_typedByTab.remove(m_controls.tabs->currentIndex());
}

QString BrowserEvents::shownAddress(const QString &location)
{
    return location == u"http:///" ? QString() : location;
}

QString BrowserEvents::addressToOpen(const QString &text)
{
    const QString typed = text.trimmed();
    return typed.compare(SiteCatalogue::HomePage, Qt::CaseInsensitive) == 0 ||
                   typed == SiteCatalogue::FormerHomePage
               ? SiteCatalogue::HomePage.toString()
               : text;
}

bool BrowserEvents::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && std::exchange(m_addressEdited, false))
        m_leftEdit = {m_controls.tabs->currentIndex(), m_controls.addressBox->currentText()};
    return QObject::eventFilter(watched, event);
}

BrowserView *BrowserEvents::selectedView() const
{
    const std::optional<int> index = SiteCatalogue::viewOfTab(m_controls.tabs->currentIndex());
    return index ? m_controls.views.at(*index) : nullptr;
}

void BrowserEvents::showStatusText(const QString &text)
{
    // Whichever view reports: the panel shows it while any view's tab is selected.
    if (selectedView())
        m_controls.statusPanel->showReport(text);
}

void BrowserEvents::followProgress()
{
    showProgress();
    const BrowserView *view = selectedView();
    if (!view)
        return;
    // After a search nine views report for seconds; what the user is typing must survive them,
    // and so must what was typed on this tab before the user went to another.
    if ((m_addressEdited && m_controls.addressBox->lineEdit()->hasFocus()) ||
        m_typedByTab.contains(m_controls.tabs->currentIndex()))
        return;
    m_leftEdit.reset(); // left on this tab: given up
    m_controls.addressBox->setEditText(shownAddress(view->locationUrl()));
}

void BrowserEvents::showLoadState(int view)
{
    const BrowserView::LoadState state = m_controls.views.at(view)->loadState();
    m_controls.tabs->setTabIcon(SiteCatalogue::tabOfView(view),
                                m_stateIcons.at(std::size_t(state)));
}

void BrowserEvents::showProgress()
{
    const BrowserView *view = selectedView();
    const bool loading = view && view->loadState() == BrowserView::LoadState::Loading;
    m_controls.progressPanel->setText(loading ? tr("%1%").arg(view->loadProgress()) : QString());
}

void BrowserEvents::followSelectedTab()
{
    // What was typed and not sent stays with the tab it was typed on.
    if (std::exchange(m_addressEdited, false))
        m_typedByTab.insert(m_shownTab, m_controls.addressBox->currentText());
    else if (m_leftEdit && m_leftEdit->first == m_shownTab)
        m_typedByTab.insert(m_leftEdit->first, m_leftEdit->second);
    m_leftEdit.reset();
    m_shownTab = m_controls.tabs->currentIndex();
    // Nine sites may start videos at once after a search: only the one in sight is heard.
    const BrowserView *selected = selectedView();
    for (BrowserView *view : m_controls.views)
        view->setMuted(view != selected);
    showProgress();
    m_controls.addressBox->setEditText(m_typedByTab.value(
        m_shownTab, selected ? shownAddress(selected->locationUrl()) : QString()));
    if (selected && selected->loadState() == BrowserView::LoadState::Failed)
        m_controls.statusPanel->showReport(
            tr("The page could not be loaded: %1").arg(selected->failureReason()));
}
