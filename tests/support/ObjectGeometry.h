#pragma once

#include "layout/TUserObject.h"

#include <cstdint>
#include <ostream>

// A page object's rectangle, to set and compare in tests.
struct Geometry {
    std::int32_t left, top, width, height;
    bool operator==(const Geometry&) const = default;
};

inline void PrintTo(const Geometry& g, std::ostream* os) {
    *os << "(" << g.left << ", " << g.top << ", " << g.width << " x " << g.height << ")";
}

inline Geometry geometryOf(const TUserObject& object) {
    return {object.left, object.top, object.width, object.height};
}

inline void setGeometry(TUserObject& object, const Geometry& g) {
    object.left = g.left;
    object.top = g.top;
    object.width = g.width;
    object.height = g.height;
}
