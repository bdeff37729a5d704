#include "web_engine_environment.h"

#include <QCoreApplication>
#include <QDir>
#include <unistd.h>

namespace {

// A kernel render node is what a GPU driver offers programs; without one OpenGL is software.
bool machineHasGpu()
{
    return !QDir(QStringLiteral("/dev/dri"))
                .entryList({QStringLiteral("renderD*")}, QDir::System)
                .isEmpty();
}

} // namespace

PageCompositing choosePageCompositing(const QByteArray &quickBackend, bool softwareOpenGLForced,
                                      bool hasGpu)
{
    if (!quickBackend.isEmpty())
        return quickBackend == "software" ? PageCompositing::Software : PageCompositing::OpenGL;
    return hasGpu && !softwareOpenGLForced ? PageCompositing::OpenGL : PageCompositing::Software;
}

QString sandboxOffReason(bool runsAsRoot, const QByteArray &disableSandbox,
                         const QByteArray &chromiumFlags)
{
    QString why;
    if (runsAsRoot)
        why = QCoreApplication::translate("Sandbox", "Reelhop runs as root");
    else if (!disableSandbox.isEmpty())
        why = QCoreApplication::translate("Sandbox", "QTWEBENGINE_DISABLE_SANDBOX is set");
    else if (chromiumFlags.split(' ').contains("--no-sandbox"))
        why =
            QCoreApplication::translate("Sandbox", "QTWEBENGINE_CHROMIUM_FLAGS holds --no-sandbox");
    if (why.isEmpty())
        return {};
    return QCoreApplication::translate(
               "Sandbox", "The web engine's sandbox is off (%1): a page that breaks the engine "
                          "reaches your files.")
        .arg(why);
}

QByteArray engineSwitches(const QByteArray &userSwitches, bool verbose)
{
    // A frame of another site shares no process, and so no memory, with the page around it.
    QByteArray switches = "--site-per-process";
    // Errors included: a page's bad certificate is the page's business, not the terminal's.
    if (!verbose)
        switches += " --log-level=3";
    if (!userSwitches.trimmed().isEmpty())
        switches += ' ' + userSwitches.trimmed();
    return switches;
}

PageCompositing prepareWebEngineEnvironment(bool verbose)
{
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            engineSwitches(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS"), verbose));
    // The engine's sandbox refuses to start as root; everyone else keeps it.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");

    const PageCompositing compositing = choosePageCompositing(
        qgetenv("QT_QUICK_BACKEND"), qEnvironmentVariableIntValue("LIBGL_ALWAYS_SOFTWARE") != 0,
        machineHasGpu());
    // Sharing contexts makes Qt start OpenGL with the application, which software pages never
    // use: that would cost the window a good part of its start.
    if (compositing == PageCompositing::OpenGL)
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    else
        qputenv("QT_QUICK_BACKEND", "software");
    return compositing;
}
