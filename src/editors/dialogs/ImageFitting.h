#pragma once

#include "render/Rect.h"

#include <QString>

#include <optional>

// The arithmetic of importing a picture: fitting it to the screen, placing its preview, and keeping
// a width and height in proportion. Kept apart from the dialogs so it can be checked without widgets.

struct ImageSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const ImageSize&, const ImageSize&) = default;
};

// The size shrunk, in proportion, until it fits the 320 x 240 screen; a size that already fits is
// returned unchanged. The shrunk side never drops below 1 pixel, so a sliver of a picture stays a
// picture the resampler can make.
[[nodiscard]] ImageSize FitToScreen(ImageSize size);

// Where the preview may draw inside its frame: 3 pixels in from the left and right, 10 from the top
// and bottom.
[[nodiscard]] Rect PreviewArea(const Rect& frame);
// The picture's rectangle, centred in the area; odd halves are truncated toward zero, so a
// picture larger than the area starts at its left or top edge plus half the overhang.
[[nodiscard]] Rect PreviewPlacement(const Rect& area, ImageSize size);

// Width over height, or 0 when either side is not positive and no ratio exists.
[[nodiscard]] double AspectRatioOf(ImageSize size);
// The other side for a retained ratio, truncated toward zero; nothing when the ratio is undefined.
[[nodiscard]] std::optional<int> HeightForWidth(int width, double aspectRatio);
[[nodiscard]] std::optional<int> WidthForHeight(int height, double aspectRatio);

// The description an imported file starts with: its name without folder and extension.
[[nodiscard]] QString DescriptionFromPath(const QString& path);
