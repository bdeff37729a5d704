// A web engine module whose views are the test program's fake views, so that tests see when the
// program loads its engine and what the engine's views receive.
#include "browsing/browser_engine.h"

// Made by the test program that loads this module.
BrowserView *createStandInView(QWidget *parent);

namespace {

class StandInEngine final : public BrowserEngine
{
public:
    BrowserView *createView(QWidget *parent) override { return createStandInView(parent); }
};

} // namespace

extern "C" Q_DECL_EXPORT BrowserEngine *reelhopCreateBrowserEngine(const EngineSettings &)
{
    return new StandInEngine;
}
