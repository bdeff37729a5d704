#ifndef REELHOP_BROWSING_WEB_ENGINE_ENVIRONMENT_H
#define REELHOP_BROWSING_WEB_ENGINE_ENVIRONMENT_H

// Switches the web engine needs before the QApplication exists.
void prepareWebEngineEnvironment();

#endif
