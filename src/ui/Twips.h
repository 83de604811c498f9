#pragma once

#include <QRect>
#include <QSize>
#include <cmath>

// Window and control geometry is kept in twips (1/1440 inch), converted at 15 twips per pixel.
namespace Twips {

constexpr int perPixel = 15;

constexpr int toPixels(int twips)
{
    return (twips + perPixel / 2) / perPixel;
}
constexpr int fromPixels(int pixels)
{
    return pixels * perPixel;
}

inline QRect rect(int left, int top, int width, int height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

inline QSize size(int width, int height)
{
    return QSize(toPixels(width), toPixels(height));
}

} // namespace Twips
