#pragma once

#include <algorithm>

// Positions are worked out in 64 bits and brought back into an int here. Anything this far out lies
// off every surface, so the clamp changes no pixel, and sums of a few such values still fit an int.
constexpr long long kFarOut = 1LL << 29;
constexpr int ToCoordinate(long long value) {
    return static_cast<int>(std::clamp(value, -kFarOut, kFarOut));
}

// A half-open rectangle: the pixels left <= x < right, top <= y < bottom.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    // Widths in 64 bits: a rectangle from a damaged file may span more than an int holds.
    long long Width() const { return static_cast<long long>(right) - left; }
    long long Height() const { return static_cast<long long>(bottom) - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(int x, int y) const { return left <= x && x < right && top <= y && y < bottom; }
    Rect Intersected(const Rect& other) const {
        return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                std::min(bottom, other.bottom)};
    }

    // The rectangle from (left, top) with the given size, each side clamped by ToCoordinate.
    static Rect FromSize(long long left, long long top, long long width, long long height) {
        return {ToCoordinate(left), ToCoordinate(top), ToCoordinate(left + width), ToCoordinate(top + height)};
    }

    friend bool operator==(const Rect&, const Rect&) = default;
};
