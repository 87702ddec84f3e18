#include "editors/dialogs/ImageFitting.h"

#include "render/PageDrawing.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace {

// Truncation toward zero into an int; a result no screen could use is held at the int range's
// ends instead of overflowing.
int truncated(double value) {
    if (!std::isfinite(value))
        return 0;
    return static_cast<int>(std::clamp(std::trunc(value), -2147483648.0, 2147483647.0));
}

} // namespace

ImageSize FitToScreen(ImageSize size) {
    const double w = size.width;
    const double h = size.height;
    const double across = w / kScreenWidth;
    const double down = h / kScreenHeight;
    if (across > 1 && across > down)
        return {kScreenWidth, std::max(1, truncated(h * kScreenWidth / w))};
    if (down > 1)
        return {std::max(1, truncated(w * kScreenHeight / h)), kScreenHeight};
    return size;
}

Rect PreviewArea(const Rect& frame) {
    return {frame.left + 3, frame.top + 10, frame.right - 3, frame.bottom - 10};
}

Rect PreviewPlacement(const Rect& area, ImageSize size) {
    const long long left = area.left + (area.right - static_cast<long long>(size.width) - area.left) / 2;
    const long long top = area.top + (area.bottom - static_cast<long long>(size.height) - area.top) / 2;
    return Rect::FromSize(left, top, size.width, size.height);
}

double AspectRatioOf(ImageSize size) {
    if (size.width <= 0 || size.height <= 0)
        return 0.0;
    return static_cast<double>(size.width) / size.height;
}

std::optional<int> HeightForWidth(int width, double aspectRatio) {
    if (!(aspectRatio > 0) || !std::isfinite(aspectRatio))
        return std::nullopt;
    return truncated(width / aspectRatio);
}

std::optional<int> WidthForHeight(int height, double aspectRatio) {
    if (!(aspectRatio > 0) || !std::isfinite(aspectRatio))
        return std::nullopt;
    return truncated(height * aspectRatio);
}

QString DescriptionFromPath(const QString& path) {
    return QFileInfo(path).completeBaseName();
}
