#pragma once

#include "layout/TLayout.h"

#include <cstdint>
#include <vector>

// A valid one-bit grey PNG of any size, all black: a few kilobytes can declare millions of pixels,
// as hostile or merely odd files do.
std::vector<std::uint8_t> BlackPng(std::uint32_t width, std::uint32_t height);

// Adds a user image with the next free ID whose stored PNG is kept as it is, undecoded (as a decode
// over the budget leaves it), and an image object on `page` showing it. Returns the ID.
std::int32_t AddKeptImage(TLayout& layout, TUserPage& page, const std::vector<std::uint8_t>& png);
