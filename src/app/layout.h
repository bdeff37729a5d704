#ifndef REELHOP_APP_LAYOUT_H
#define REELHOP_APP_LAYOUT_H

#include <QSize>

// Sizes of the browser views and the tab strip for a window of a given outer size (frame
// included). The views keep margins inside the strip, the strip leaves room for the frame and
// the status bar; a tiny window (as when minimized) gives everything its own size.
struct WindowLayout
{
    QSize view;
    QSize tabStrip;
};

WindowLayout layoutForWindow(QSize outerPixels);

// The smallest window whose tab strip is the given size: the strip's controls are placed for it.
QSize windowForStrip(QSize stripPixels);

#endif
