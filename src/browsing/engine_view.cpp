#include "engine_view.h"

#include <QVBoxLayout>
#include <algorithm>

using namespace Qt::StringLiterals;

EngineView::EngineView(EngineRequest requestEngine, QWidget *parent)
    : BrowserView(parent), m_requestEngine(std::move(requestEngine))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

QUrl EngineView::typedAddress(const QString &text)
{
    // The fix-up a browser's address bar does, but an address typed without a scheme tries
    // https first: "example.com" loads https://example.com.
    // A machine of the user's own network, named by number or by a bare name, keeps http.
    QUrl url = QUrl::fromUserInput(text);
    const QString host = url.host();
    const bool byNumber =
        host.contains(u':') ||
        std::all_of(host.cbegin(), host.cend(), [](QChar c) { return c.isDigit() || c == u'.'; });
    const bool local = !host.contains(u'.') || host.endsWith(u".local") || byNumber;
    if (url.scheme() == u"http" && !local &&
        !text.trimmed().startsWith(u"http:", Qt::CaseInsensitive))
        url.setScheme(u"https"_s);
    return url;
}

bool EngineView::navigate(const QString &address)
{
    const QUrl url = typedAddress(address);
    if (!url.isValid())
        return false;
    // A site that answers no https gets the http address it was typed as, once.
    m_httpFallback =
        url.scheme() == u"https" && !address.trimmed().startsWith(u"https:", Qt::CaseInsensitive)
            ? url.adjusted(QUrl::None)
            : QUrl();
    if (!m_httpFallback.isEmpty())
        m_httpFallback.setScheme(u"http"_s);
    // A pasted "javascript:" address would run in the shown site's page, with its cookies.
    if (url.scheme() == u"javascript") {
        emit statusTextChanged(tr("Addresses that run scripts are not opened."));
        return false;
    }
    if (m_open)
        return m_page->navigate(url.toString(QUrl::FullyEncoded));
    hold({url, std::nullopt, std::nullopt});
    return true;
}

bool EngineView::showPage(const QString &html, const QString &address)
{
    if (m_open)
        return m_page->showPage(html, address);
    hold({QUrl(address), html, std::nullopt});
    return true;
}

QByteArray EngineView::savedHistory() const
{
    return m_page ? m_page->savedHistory() : QByteArray();
}

bool EngineView::restoreHistory(const QByteArray &history, const QString &address)
{
    if (m_open)
        return m_page->restoreHistory(history, address);
    hold({QUrl(address), std::nullopt, history});
    return true;
}

void EngineView::hold(Pending pending)
{
    m_pending.append(std::move(pending));
    if (!std::exchange(m_requested, true))
        m_requestEngine(this);
}

void EngineView::attach(BrowserView *page)
{
    m_page = page;
    layout()->addWidget(page);
    connect(page, &BrowserView::statusTextChanged, this, &BrowserView::statusTextChanged);
    connect(page, &BrowserView::progressChanged, this, &BrowserView::progressChanged);
    connect(page, &BrowserView::loadStateChanged, this, &BrowserView::loadStateChanged);
    connect(page, &BrowserView::processEnded, this, &BrowserView::processEnded);
    connect(page, &BrowserView::loadStateChanged, this, [this](LoadState state) {
        if (state == LoadState::Failed && !m_httpFallback.isEmpty())
            navigate(std::exchange(m_httpFallback, QUrl()).toString(QUrl::FullyEncoded));
        else if (state == LoadState::Loaded)
            m_httpFallback.clear();
    });
    connect(page, &BrowserView::zoomStepRequested, this, &BrowserView::zoomStepRequested);
    connect(page, &BrowserView::findFinished, this, &BrowserView::findFinished);
    connect(page, &BrowserView::playRequested, this, &BrowserView::playRequested);
    connect(page, &BrowserView::blockedCountChanged, this, &BrowserView::blockedCountChanged);
    connect(page, &BrowserView::resultsRead, this, &BrowserView::resultsRead);
    connect(page, &BrowserView::teachingRequested, this, &BrowserView::teachingRequested);
    connect(page, &BrowserView::pagePointed, this, &BrowserView::pagePointed);
    connect(page, &BrowserView::pointingLeft, this, &BrowserView::pointingLeft);
    connect(page, &BrowserView::ownLinkFollowed, this, &BrowserView::ownLinkFollowed);
    connect(page, &BrowserView::siteDescriptionChosen, this, &BrowserView::siteDescriptionChosen);
    page->setMuted(m_muted);
    page->setZoomFactor(m_zoomFactor);
    page->setPlayerOffered(m_playerOffered);
    page->setTeachingOffered(m_teachingOffered);
    page->readResults(m_resultsReader);
}

void EngineView::open()
{
    if (!m_page || std::exchange(m_open, true))
        return;
    // In the order they were made: the last one made is the page shown.
    for (const Pending &pending : std::exchange(m_pending, {})) {
        const QString address = pending.url.toString(QUrl::FullyEncoded);
        if (pending.html)
            m_page->showPage(*pending.html, address);
        else if (pending.history)
            m_page->restoreHistory(*pending.history, address);
        else
            m_page->navigate(address);
    }
}

void EngineView::engineFailed(const QString &reason)
{
    m_failure = reason;
    m_requested = false; // the next address tries again, and says so again
    emit statusTextChanged(tr("The page could not be loaded: %1").arg(reason));
    emit loadStateChanged(LoadState::Failed);
}

bool EngineView::goBack()
{
    return m_page && m_page->goBack();
}

bool EngineView::goForward()
{
    return m_page && m_page->goForward();
}

bool EngineView::stop()
{
    return m_page && m_page->stop();
}

bool EngineView::refresh()
{
    return m_page && m_page->refresh();
}

bool EngineView::printWithDialog()
{
    return m_page && m_page->printWithDialog();
}

QString EngineView::locationUrl() const
{
    if (m_page && !m_page->locationUrl().isEmpty())
        return m_page->locationUrl();
    if (!m_pending.isEmpty())
        return m_pending.constLast().url.toString();
    return QStringLiteral("http:///"); // where a view is before it is first sent anywhere
}

QString EngineView::title() const
{
    return m_page ? m_page->title() : QString();
}

BrowserView::LoadState EngineView::loadState() const
{
    if (!m_failure.isEmpty())
        return LoadState::Failed;
    return m_page ? m_page->loadState() : LoadState::Idle;
}

int EngineView::loadProgress() const
{
    return m_page ? m_page->loadProgress() : 0;
}

QString EngineView::failureReason() const
{
    return m_page ? m_page->failureReason() : m_failure;
}

void EngineView::setMuted(bool muted)
{
    m_muted = muted;
    if (m_page)
        m_page->setMuted(muted);
}

void EngineView::setZoomFactor(qreal factor)
{
    m_zoomFactor = factor;
    if (m_page)
        m_page->setZoomFactor(factor);
}

qreal EngineView::zoomFactor() const
{
    return m_page ? m_page->zoomFactor() : m_zoomFactor;
}

void EngineView::findText(const QString &text, bool backward)
{
    if (m_page)
        m_page->findText(text, backward);
    else
        emit findFinished(0, 0);
}

void EngineView::setPlayerOffered(bool offered)
{
    m_playerOffered = offered;
    if (m_page)
        m_page->setPlayerOffered(offered);
}

void EngineView::setLifecycle(Lifecycle state)
{
    // A view without its engine holds nothing to save.
    if (m_page)
        m_page->setLifecycle(state);
}

BrowserView::Lifecycle EngineView::lifecycle() const
{
    return m_page ? m_page->lifecycle() : Lifecycle::Active;
}

bool EngineView::isInUse() const
{
    return m_page && m_page->isInUse();
}

int EngineView::blockedCount() const
{
    return m_page ? m_page->blockedCount() : 0;
}

void EngineView::readResults(const QString &script)
{
    m_resultsReader = script;
    if (m_page)
        m_page->readResults(script);
}

void EngineView::setTeachingOffered(bool offered)
{
    m_teachingOffered = offered;
    if (m_page)
        m_page->setTeachingOffered(offered);
}

bool EngineView::pointAtPage(const QString &script)
{
    return m_page && m_page->pointAtPage(script);
}

void EngineView::endPointing()
{
    if (m_page)
        m_page->endPointing();
}
