#pragma once

#include "layout/TUserPage.h"

#include <memory>

class TLayout;

// Puts a new object of type T with that rectangle on top of the page.
template <typename T> T& AddObjectAt(TUserPage& page, int left, int top, int width, int height) {
    auto object = std::make_unique<T>();
    object->left = left;
    object->top = top;
    object->width = width;
    object->height = height;
    return static_cast<T&>(*page.AddObject(std::move(object)));
}

// Pages drawn from the built-in art, for the goldens and the benchmark.

// One object of every kind (framed and plain buttons, pictures, gradients, both slider
// orientations, a hot spot, an object of an unknown kind) on a gradient background.
TUserPage& AddEveryKindPage(TLayout& layout);

// A busy control page: 30 objects with frames, gradients, captions in every size, icons and sliders
// over the built-in background.
TUserPage& AddBusyPage(TLayout& layout);
