#pragma once

#include "ArtCanvas.h"

#include <vector>

// How one button face looks. Every effect stays within 13 pixels of the outline, so that the
// face drawn at 31 × 31 splits into 15-pixel corners and one-pixel stretchable edges that give
// the same button at any size.
struct FaceStyle {
    Paint body;                 // the interior, and so the colour of the centre pixel
    Paint border;               // one-pixel outline
    double radius = 0;          // corner radius of the body
    double inset = 0;           // room between the picture's edge and the body, for the glow
    double bevel = 2;           // depth of the lit and shaded rim
    double bevelStrength = 0.3; // how far the rim moves toward white or black
    double gloss = 0.2;         // lightening of the top band
    double shade = 0.2;         // darkening of the bottom band
    bool pressed = false;       // lit from below: a face that looks pushed in
    double glow = 0;            // opacity of the outer glow at the outline; 0 for none
    Paint glowColor;
    double rim = 0; // opacity of a coloured line just inside the border
    Paint rimColor;
    bool alpha = true; // false: an opaque, square-cornered face
};

struct BuiltinFace {
    int id = 0;
    FaceStyle style;
};

// The built-in faces, by image ID.
const std::vector<BuiltinFace>& BuiltinFaces();

// The face at any size; the library holds them at 31 × 31.
Picture RenderButtonFace(const FaceStyle& style, int width, int height);
