#ifndef REELHOP_BROWSING_BROWSER_VIEW_H
#define REELHOP_BROWSING_BROWSER_VIEW_H

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QWidget>
#include <functional>

// The one face of a web view that the window uses. Every operation only starts work inside the
// view and reports by its return value whether the view took it; nothing waits for a page.
class BrowserView : public QWidget
{
    Q_OBJECT

public:
    enum class LoadState { Idle, Loading, Loaded, Failed };
    Q_ENUM(LoadState)
    // How much of a page out of sight is kept: all of it, a frozen page (no scripts or timers
    // run), or only its address, loaded again when the page is shown.
    enum class Lifecycle { Active, Frozen, Discarded };

    using QWidget::QWidget;

    virtual bool navigate(const QString &address) = 0;
    // Shows a page the program made as if it had been loaded from the address, which is then
    // the view's address and the base of the page's relative links.
    virtual bool showPage(const QString &html, const QString &address) = 0;
    virtual bool goBack() = 0;
    virtual bool goForward() = 0;
    virtual bool stop() = 0;
    virtual bool refresh() = 0;
    virtual bool printWithDialog() = 0;

    // "http:///" until the view is first sent somewhere.
    virtual QString locationUrl() const = 0;
    // The page's own title; empty for a page that has none.
    virtual QString title() const = 0;

    virtual LoadState loadState() const = 0;
    // Of the page loading now or last loaded, 0 to 100.
    virtual int loadProgress() const = 0;
    // Why the last load failed, in a few words; empty unless it failed.
    virtual QString failureReason() const = 0;

    virtual void setMuted(bool muted) = 0;

    // The page's zoom; 1 is 100%.
    virtual void setZoomFactor(qreal factor) = 0;
    virtual qreal zoomFactor() const = 0;

    // Finds the text in the page from the current match on, backwards or forwards, and reports
    // through findFinished(); an empty text ends the search and its highlight.
    virtual void findText(const QString &text, bool backward) = 0;

    // Whether a link's menu offers to play it in the video player.
    virtual void setPlayerOffered(bool offered) = 0;

    virtual void setLifecycle(Lifecycle state) = 0;
    virtual Lifecycle lifecycle() const = 0;
    // Whether freezing or discarding the page would cost the user something: it plays sound, or
    // the user has typed into it.
    virtual bool isInUse() const = 0;

    // The page's way back and forward, as the engine keeps it; empty when the view has none.
    virtual QByteArray savedHistory() const { return {}; }
    // Takes a saved way back and forward in place of the view's own and loads the page it was
    // on, or, when the bytes are none the engine can take, opens the address instead.
    virtual bool restoreHistory(const QByteArray &history, const QString &address)
    {
        Q_UNUSED(history)
        return navigate(address);
    }

    // How many requests of the page shown were blocked.
    virtual int blockedCount() const { return 0; }

    // Reads the results of the next page the view loads with the script, in a world of the
    // program's own: once at the load and again once the page has stopped changing. Reading goes
    // on with the pages after it until one shows results; an empty script stops it.
    virtual void readResults(const QString &script) { Q_UNUSED(script) }

    // Whether the page's menu offers to teach the program where the page shows its results.
    virtual void setTeachingOffered(bool offered) { Q_UNUSED(offered) }
    // Lets the user point at a part of the page: a layer of the view's own takes the pointer,
    // unseen by the page's scripts. Each place pointed at, and the click, is told to the script,
    // a function of the place run in the program's own world; the marks of its answer
    // ("marks": [[x, y, width, height], ...], in the page's units) are drawn over the page. After
    // the click the layer stays, showing them, until endPointing(); Esc or another page ends it
    // before. Returns whether there is a page to point at.
    virtual bool pointAtPage(const QString &script)
    {
        Q_UNUSED(script)
        return false;
    }
    virtual void endPointing() {}

signals:
    void statusTextChanged(const QString &text);
    void progressChanged(int progress, int maximum);
    void loadStateChanged(BrowserView::LoadState state);
    // The page's process ended: it crashed, or the system ended it.
    void processEnded();
    // Ctrl and the wheel over the page: one zoom step in or (negative) out.
    void zoomStepRequested(int step);
    // The match shown, counted from 1 (0 for none), of how many.
    void findFinished(int activeMatch, int matches);
    void playRequested(const QString &address);
    void blockedCountChanged(int count);
    // The reader's answer, as the engine hands it over; settled once the page stopped changing.
    void resultsRead(const QVariant &answer, bool settled);
    // The menu's "Read Results Here..." was chosen.
    void teachingRequested();
    // The script's answer for a place pointed at; clicked for the click.
    void pagePointed(const QVariant &answer, bool clicked);
    // Esc or another page ended the pointing before a click.
    void pointingLeft();
    // A link on one of the program's own pages led to a bundled address without a page: the
    // program's to answer; the page stays.
    void ownLinkFollowed(const QString &address);
    // The page menu's "Put This Site on a Tab...": the address of the site's description of its
    // search, and of the page that declared it.
    void siteDescriptionChosen(const QUrl &description, const QUrl &page);
};

// Makes one view; the window asks for ten. The program passes the web engine's, tests a fake.
using BrowserViewFactory = std::function<BrowserView *(QWidget *parent)>;

#endif
