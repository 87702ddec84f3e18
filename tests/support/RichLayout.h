#pragma once

#include "layout/TLayout.h"

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

// A small picture with a few known pixels; `seed` varies them.
std::unique_ptr<Picture> TestPicture(int width, int height, std::uint8_t seed, bool alpha = false);

// Random pixels: noise does not compress, so its PNG is as large as its pixels.
std::unique_ptr<Picture> NoisePicture(int width, int height, std::mt19937& random);

// Adds a user image with the next free ID and a fresh GUID; returns its ID.
std::int32_t AddTestImage(TLayout& layout, std::uint8_t seed);

// Fills the layout with every page kind, every object kind, faces of every kind, user images on
// pages and on the sleep page, non-ASCII names, and every setting and event set.
void MakeRichLayout(TLayout& layout);

// Everything a decode may change, as bytes, without touching the layout (encoding would purge
// images and rebuild glyphs).
std::vector<std::uint8_t> Snapshot(TLayout& layout);
