#ifndef REELHOP_BROWSING_WEB_ENGINE_ENVIRONMENT_H
#define REELHOP_BROWSING_WEB_ENGINE_ENVIRONMENT_H

#include <QByteArray>
#include <QString>

// How the pages reach the screen.
enum class PageCompositing {
    // Through OpenGL: the whole window is then drawn by OpenGL, which only pays with a GPU.
    OpenGL,
    // Painted like any other widget, so a blinking cursor redraws only itself.
    Software,
};

// The user's own QT_QUICK_BACKEND wins; otherwise pages use OpenGL only on a machine with a GPU,
// as without one every frame of the window would go through a software OpenGL.
PageCompositing choosePageCompositing(const QByteArray &quickBackend, bool softwareOpenGLForced,
                                      bool hasGpu);

// The engine's switches: each site's pages and frames in processes of their own, and the
// engine's own log lines kept off the terminal unless asked for; the user's switches come last.
QByteArray engineSwitches(const QByteArray &userSwitches, bool verbose);

// Sets the switches the web engine needs before the QApplication exists and says how pages
// will be composited.
PageCompositing prepareWebEngineEnvironment(bool verbose = false);

// Why the engine's sandbox is off, for the user to read; empty while it is on.
QString sandboxOffReason(bool runsAsRoot, const QByteArray &disableSandbox,
                         const QByteArray &chromiumFlags);

#endif
