#ifndef REELHOP_BROWSING_BROWSER_ENGINE_H
#define REELHOP_BROWSING_BROWSER_ENGINE_H

#include "browser_view.h"

// What the web engine module gives the program: views that show real pages. The module is
// loaded once the window is on screen, so the program's start never waits for the engine.
class BrowserEngine
{
public:
    virtual ~BrowserEngine() = default;
    virtual BrowserView *createView(QWidget *parent) = 0;
};

// The module's one exported function, by name. An empty user agent is the engine's own.
inline constexpr char CreateBrowserEngineSymbol[] = "reelhopCreateBrowserEngine";
using CreateBrowserEngine = BrowserEngine *(*)(const QString &userAgent);

#endif
