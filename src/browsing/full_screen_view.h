#ifndef REELHOP_BROWSING_FULL_SCREEN_VIEW_H
#define REELHOP_BROWSING_FULL_SCREEN_VIEW_H

#include <QWebEngineView>

// A tab's page while it fills the screen. Esc or the window's close box asks the page to leave
// full screen, so the page is handed back.
class FullScreenView final : public QWebEngineView
{
public:
    explicit FullScreenView(QWebEnginePage *page);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void leave();
};

#endif
