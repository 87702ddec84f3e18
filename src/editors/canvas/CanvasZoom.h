#pragma once

#include "render/Surface.h"

#include <QPoint>
#include <QPointF>

// The canvas shows the page enlarged by a whole number, so every page pixel is a square block of
// widget pixels and a position on the widget falls in exactly one page pixel.
constexpr int kMinZoom = 1;
constexpr int kMaxZoom = 4;
// The panel's pixel density: 320 x 240 pixels (a 400-pixel diagonal) over 3.5 inches.
constexpr double kPanelDotsPerInch = 400.0 / 3.5;

[[nodiscard]] int ClampZoom(int zoom);

// The zoom that shows the page near the size it has on the panel, given the screen's density in
// widget pixels per inch and its device pixels per widget pixel. A high-density screen gets at
// least two device pixels per page pixel. An unknown density opens at 1x.
[[nodiscard]] int OpeningZoom(double dotsPerInch, double devicePixelRatio);

// The page pixel under a widget position; a fractional position lies inside the pixel it falls in.
[[nodiscard]] QPoint PagePixelAt(QPointF widgetPosition, int zoom);
// The widget point in the middle of a page pixel's block.
[[nodiscard]] QPoint WidgetPointOf(QPoint pagePixel, int zoom);

// Whole wheel notches from an accumulated angle: a fine-grained wheel or touchpad sends parts of a
// notch, which add up in `pending` until they make one.
[[nodiscard]] int WheelNotches(int& pending, int angleDelta);

// The surface with each pixel repeated `zoom` times across and down, without smoothing.
[[nodiscard]] Surface Magnify(const Surface& surface, int zoom);
