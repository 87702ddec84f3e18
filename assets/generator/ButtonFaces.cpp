#include "ButtonFaces.h"

#include "Shapes.h"

#include <algorithm>
#include <cmath>

namespace {

// Light falls from above and a little from the left.
constexpr double kLightX = -0.42;
constexpr double kLightY = -0.91;

// The top band's highlight fades out within this many pixels of the outline, the bottom band's
// shadow within kShadeDepth; both end before the frame's one-pixel middle at 15.
constexpr double kGlossDepth = 12.0;
constexpr double kShadeDepth = 10.0;
constexpr double kBorderWidth = 1.0;

Paint shadeBody(const FaceStyle& style, double x, double y, const Box& box, double depth) {
    Paint c = style.body;
    const double fromTop = y - box.top;
    const double fromBottom = box.bottom - y;
    c = Lighten(c, style.gloss * std::clamp(1.0 - fromTop / kGlossDepth, 0.0, 1.0));
    c = Darken(c, style.shade * std::pow(std::clamp(1.0 - fromBottom / kShadeDepth, 0.0, 1.0), 1.5));
    if (style.pressed) {
        // A pushed face catches light at the bottom and falls into shadow at the top.
        c = Darken(c, style.gloss * 0.8 * (1.0 - SmoothStep(0.0, kGlossDepth * 0.6, fromTop)));
        c = Lighten(c, style.shade * 0.8 * (1.0 - SmoothStep(0.0, kShadeDepth * 0.6, fromBottom)));
    }

    if (depth < kBorderWidth + style.bevel + 1) {
        // The bevel: a ring just inside the border, lit on the sides that face the light.
        double nx = 0;
        double ny = 0;
        RoundedBoxNormal(x, y, box, style.radius, nx, ny);
        double lit = nx * kLightX + ny * kLightY;
        if (style.pressed)
            lit = -lit;
        const double ring = Coverage(depth - kBorderWidth - style.bevel);
        const double fade = 1.0 - 0.45 * std::clamp((depth - kBorderWidth) / style.bevel, 0.0, 1.0);
        const double amount = lit * style.bevelStrength * fade * ring;
        c = amount > 0 ? Lighten(c, amount) : Darken(c, -amount * 0.9);
    }
    if (style.rim > 0) {
        const double onRim = std::clamp(1.0 - std::abs(depth - kBorderWidth - 0.5), 0.0, 1.0);
        c = Mix(c, style.rimColor, onRim * style.rim);
    }
    // The border: everything nearer the outline than its width.
    return Mix(style.border, c, Coverage(kBorderWidth - depth));
}

} // namespace

Picture RenderButtonFace(const FaceStyle& style, int width, int height) {
    ArtCanvas canvas(width, height);
    const Box box{style.inset, style.inset, width - style.inset, height - style.inset};
    const double glowReach = style.inset + 1.5;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double px = x + 0.5;
            const double py = y + 0.5;
            const double d = RoundedBoxDistance(px, py, box, style.radius);
            if (style.glow > 0 && d > -0.5) {
                const double fade = std::clamp(1.0 - std::max(d, 0.0) / glowReach, 0.0, 1.0);
                canvas.Blend(x, y, style.glowColor, style.glow * fade * fade);
            }
            const double cover = Coverage(d);
            if (cover > 0)
                canvas.Blend(x, y, shadeBody(style, px, py, box, -d), cover);
        }
    }
    return canvas.ToPicture(style.alpha);
}

const std::vector<BuiltinFace>& BuiltinFaces() {
    static const std::vector<BuiltinFace> faces = [] {
        auto make = [](std::uint32_t body, std::uint32_t border, double radius) {
            FaceStyle style;
            style.body = Hex(body);
            style.border = Hex(border);
            style.radius = radius;
            return style;
        };
        constexpr std::uint32_t kBlue = 0x2F6FC7, kBlueBorder = 0x0C2448;
        constexpr std::uint32_t kGreen = 0x2F9A48, kGreenBorder = 0x0D3818;
        constexpr std::uint32_t kDeep = 0x3B4A66, kDeepBorder = 0x0F141E;

        FaceStyle blueSquare = make(kBlue, kBlueBorder, 4);
        blueSquare.gloss = 0.3;

        FaceStyle blueGlow = make(kBlue, kBlueBorder, 7);
        blueGlow.inset = 2;
        blueGlow.gloss = 0.32;
        blueGlow.glow = 0.85;
        blueGlow.glowColor = Hex(0x8CCBFF);

        FaceStyle deepRound = make(kDeep, kDeepBorder, 10);
        deepRound.bevel = 4;
        deepRound.bevelStrength = 0.45;
        deepRound.gloss = 0.18;
        deepRound.shade = 0.3;

        FaceStyle greenGlow = blueGlow;
        greenGlow.body = Hex(kGreen);
        greenGlow.border = Hex(kGreenBorder);
        greenGlow.glowColor = Hex(0x9CF5A8);

        FaceStyle greenSquare = make(kGreen, kGreenBorder, 0);
        greenSquare.gloss = 0.3;
        greenSquare.alpha = false;

        FaceStyle deepSquare = deepRound;
        deepSquare.radius = 0;
        deepSquare.alpha = false;

        FaceStyle greySquare = make(0xC6CAD0, 0x4C525B, 4);
        greySquare.gloss = 0.5;
        greySquare.shade = 0.15;

        FaceStyle deepHighlight = deepRound;
        deepHighlight.body = Hex(0x55709C);
        deepHighlight.pressed = true;
        deepHighlight.rim = 0.7;
        deepHighlight.rimColor = Hex(0x9FD4FF);

        return std::vector<BuiltinFace>{{3, blueSquare},  {4, blueGlow},   {5, deepRound},  {6, greenGlow},
                                        {7, greenSquare}, {8, deepSquare}, {9, greySquare}, {16, deepHighlight}};
    }();
    return faces;
}
