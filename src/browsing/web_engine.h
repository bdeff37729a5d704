#ifndef REELHOP_BROWSING_WEB_ENGINE_H
#define REELHOP_BROWSING_WEB_ENGINE_H

#include "browser_engine.h"
#include "download_folder.h"

#include <memory>

class FrameRules;
class OwnPages;
class QWebEngineProfile;

// The module's engine: one named, persistent profile that all views share, with the program's
// own pages and the names of the downloads still coming.
class WebEngine final : public BrowserEngine
{
public:
    WebEngine(const QString &storageName, const EngineSettings &settings);
    ~WebEngine() override;
    Q_DISABLE_COPY_MOVE(WebEngine)

    BrowserView *createView(QWidget *parent) override;

private:
    std::unique_ptr<QWebEngineProfile> m_profile;
    OwnPages *m_ownPages = nullptr;
    FrameRules *m_frameRules = nullptr;
    DownloadFolder m_downloads;
    const RequestPolicy *m_policy = nullptr;
};

#endif
