#include "layout.h"

#include "form/twips.h"

#include <algorithm>

namespace {

constexpr int NormalLayoutMinHeight = 1500;
constexpr int ViewHeightMargin = 2150;
constexpr int ViewWidthMargin = 650;
constexpr int StripHeightMargin = 1550;
constexpr int StripWidthMargin = 450;

// Margins larger than the window would give negative sizes; nothing can be smaller than empty.
QSize shrunk(QSize twips, int widthMargin, int heightMargin)
{
    return Twips::size(std::max(0, twips.width() - widthMargin),
                       std::max(0, twips.height() - heightMargin));
}

} // namespace

WindowLayout layoutForWindow(QSize outerPixels)
{
    const QSize twips(Twips::fromPixels(outerPixels.width()),
                      Twips::fromPixels(outerPixels.height()));
    if (twips.height() <= NormalLayoutMinHeight)
        return {outerPixels, outerPixels};
    return {shrunk(twips, ViewWidthMargin, ViewHeightMargin),
            shrunk(twips, StripWidthMargin, StripHeightMargin)};
}

QSize windowForStrip(QSize stripPixels)
{
    return Twips::size(Twips::fromPixels(stripPixels.width()) + StripWidthMargin,
                       Twips::fromPixels(stripPixels.height()) + StripHeightMargin);
}
