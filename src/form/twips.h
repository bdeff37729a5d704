#ifndef REELHOP_FORM_TWIPS_H
#define REELHOP_FORM_TWIPS_H

#include <QRect>
#include <QSize>

// The window's measures are kept in twips as designed; Qt wants logical pixels.
namespace Twips {

inline constexpr int PerPixel = 15;

constexpr int toPixels(int twips)
{
    return (twips + PerPixel / 2) / PerPixel;
}

constexpr int fromPixels(int pixels)
{
    return pixels * PerPixel;
}

constexpr QRect rect(int left, int top, int width, int height)
{
    return {toPixels(left), toPixels(top), toPixels(width), toPixels(height)};
}

constexpr QSize size(int width, int height)
{
    return {toPixels(width), toPixels(height)};
}

} // namespace Twips

#endif
