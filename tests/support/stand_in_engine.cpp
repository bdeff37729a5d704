// A web engine module whose pages only keep what they are told, so that tests see when the
// program loads its engine and what the engine's views receive.
#include "browsing/browser_engine.h"

namespace {

class StandInPage final : public BrowserView
{
public:
    explicit StandInPage(QWidget *parent) : BrowserView(parent)
    {
        setObjectName(QStringLiteral("standInPage"));
    }
    bool navigate(const QString &address) override { return keep("address", address); }
    bool showPage(const QString &, const QString &address) override
    {
        return keep("address", address);
    }
    bool goBack() override { return false; }
    bool goForward() override { return false; }
    bool stop() override { return false; }
    bool refresh() override { return false; }
    bool printWithDialog() override { return false; }
    QString locationUrl() const override { return property("address").toString(); }
    QString title() const override { return {}; }
    LoadState loadState() const override { return LoadState::Idle; }
    int loadProgress() const override { return 0; }
    QString failureReason() const override { return {}; }
    void setMuted(bool muted) override { keep("muted", muted); }
    void setZoomFactor(qreal) override {}
    qreal zoomFactor() const override { return 1; }
    void findText(const QString &, bool) override {}
    void setPlayerOffered(bool) override {}
    void setLifecycle(Lifecycle) override {}
    Lifecycle lifecycle() const override { return Lifecycle::Active; }
    bool isInUse() const override { return false; }

private:
    bool keep(const char *name, const QVariant &value)
    {
        setProperty(name, value);
        return true;
    }
};

class StandInEngine final : public BrowserEngine
{
public:
    BrowserView *createView(QWidget *parent) override { return new StandInPage(parent); }
};

} // namespace

extern "C" Q_DECL_EXPORT BrowserEngine *reelhopCreateBrowserEngine(const QString &)
{
    return new StandInEngine;
}
