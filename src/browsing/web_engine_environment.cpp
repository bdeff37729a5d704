#include "web_engine_environment.h"

#include <QCoreApplication>
#include <unistd.h>

void prepareWebEngineEnvironment()
{
    // The engine's sandbox refuses to start as root; everyone else keeps it.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}
