#pragma once

#include "layout/TGlyph.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

// One caption size of the built-in glyphs.
struct GlyphSize {
    int sizeKey = 0; // the face's text size code: 1 Small, 2 Medium, 3 Large, 4 Tiny
    const char* name = "";
    int pixels = 0;            // the font's em size in pixels
    const char* fontFile = ""; // a file of the DejaVu family
};

// In stored order: Small, Medium, Large, Tiny.
const std::array<GlyphSize, 4>& GlyphSizes();

constexpr int kFirstAsciiCode = 0x20;
constexpr int kLastAsciiCode = 0x7F;

// Renders 0x20–0x7F at every size from the fonts in fontDir, in stored order (by size, then code).
// 0x7F, a control code with no picture, is an empty glyph as wide as a space.
// Throws std::runtime_error when a font cannot be loaded.
std::vector<std::unique_ptr<TGlyph>> RenderAsciiGlyphs(const std::string& fontDir);

// The 2-bit level of an 8-bit coverage; generous to full ink so strokes stay solid.
int CoverageLevel(int coverage);
