#ifndef REELHOP_BROWSING_BROWSER_ENGINE_H
#define REELHOP_BROWSING_BROWSER_ENGINE_H

#include "browser_view.h"

class RequestPolicy;

// What the web engine module gives the program: views that show real pages. The module is
// loaded once the window is on screen, so the program's start never waits for the engine.
class BrowserEngine
{
public:
    virtual ~BrowserEngine() = default;
    virtual BrowserView *createView(QWidget *parent) = 0;
};

// What the program tells the engine as it is made.
struct EngineSettings
{
    // Empty: the engine's own.
    QString userAgent;
    // Asked for every request and page; none blocks nothing. Outlives the engine's pages.
    const RequestPolicy *policy = nullptr;
};

// The module's exported functions, by name.
inline constexpr char CreateBrowserEngineSymbol[] = "reelhopCreateBrowserEngine";
using CreateBrowserEngine = BrowserEngine *(*)(const EngineSettings &settings);
// "Chromium 102.0.5005.177, security fixes to 108.0.5359.94"
inline constexpr char EngineVersionSymbol[] = "reelhopEngineVersion";
using EngineVersion = QString (*)();

#endif
