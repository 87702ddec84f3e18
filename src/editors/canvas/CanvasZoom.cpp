#include "editors/canvas/CanvasZoom.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// One step of a mouse wheel, in eighths of a degree.
constexpr int kNotch = 120;
// Below this many device pixels per inch a screen is of ordinary density.
constexpr double kHighDensity = 1.5 * 96.0;

} // namespace

int ClampZoom(int zoom) {
    return std::clamp(zoom, kMinZoom, kMaxZoom);
}

int OpeningZoom(double dotsPerInch, double devicePixelRatio) {
    if (!std::isfinite(dotsPerInch) || !std::isfinite(devicePixelRatio) || dotsPerInch <= 0 || devicePixelRatio <= 0)
        return kMinZoom;
    int zoom = ClampZoom(static_cast<int>(std::lround(std::min(dotsPerInch / kPanelDotsPerInch, 8.0))));
    // A page pixel of one device pixel is hard to see and to hit on a dense screen.
    if (dotsPerInch * devicePixelRatio >= kHighDensity)
        zoom = std::max(zoom, ClampZoom(static_cast<int>(std::ceil(2.0 / devicePixelRatio))));
    return zoom;
}

QPoint PagePixelAt(QPointF widgetPosition, int zoom) {
    return {static_cast<int>(std::floor(widgetPosition.x() / zoom)),
            static_cast<int>(std::floor(widgetPosition.y() / zoom))};
}

QPoint WidgetPointOf(QPoint pagePixel, int zoom) {
    return pagePixel * zoom + QPoint(zoom / 2, zoom / 2);
}

int WheelNotches(int& pending, int angleDelta) {
    pending += angleDelta;
    const int notches = pending / kNotch;
    pending -= notches * kNotch;
    return notches;
}

Surface Magnify(const Surface& surface, int zoom) {
    if (zoom == 1)
        return surface;
    Surface big(surface.Width() * zoom, surface.Height() * zoom);
    const std::size_t rowBytes = static_cast<std::size_t>(big.Stride());
    for (int y = 0; y < surface.Height(); ++y) {
        const Argb* from = surface.Data() + static_cast<std::size_t>(y) * surface.Width();
        Argb* to = big.Data() + static_cast<std::size_t>(y) * zoom * big.Width();
        for (int x = 0; x < surface.Width(); ++x)
            std::fill_n(to + static_cast<std::size_t>(x) * zoom, zoom, from[x]);
        for (int copy = 1; copy < zoom; ++copy)
            std::memcpy(to + static_cast<std::size_t>(copy) * big.Width(), to, rowBytes);
    }
    return big;
}
