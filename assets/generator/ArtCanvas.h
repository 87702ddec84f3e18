#pragma once

#include "picture/Picture.h"

#include <cstdint>
#include <vector>

// A colour with straight (not premultiplied) components from 0 to 1.
struct Paint {
    double r = 0;
    double g = 0;
    double b = 0;
    double a = 1;
};

// 0xRRGGBB as an opaque paint.
Paint Hex(std::uint32_t rgb);
Paint Mix(const Paint& from, const Paint& to, double t);
Paint Lighten(const Paint& color, double t);
Paint Darken(const Paint& color, double t);
Paint WithAlpha(const Paint& color, double alpha);

// A floating-point RGBA drawing surface for the art. It composites in premultiplied form so that
// soft edges and glows blend as light does, and rounds to 8 bits only once, at the end.
class ArtCanvas {
public:
    ArtCanvas(int width, int height);

    int Width() const { return width; }
    int Height() const { return height; }

    // Paints the colour over the pixel, weighted by coverage (0..1); outside the canvas nothing happens.
    void Blend(int x, int y, const Paint& color, double coverage = 1.0);
    // Replaces the pixel outright.
    void Put(int x, int y, const Paint& color);
    Paint At(int x, int y) const;

    // Without alpha every pixel is taken as opaque; fully transparent pixels become transparent black.
    Picture ToPicture(bool withAlpha) const;

private:
    struct Premultiplied {
        double r = 0;
        double g = 0;
        double b = 0;
        double a = 0;
    };
    int width;
    int height;
    std::vector<Premultiplied> pixels;
};
