#pragma once

#include <cstdint>
#include <vector>

class TLayout;

// The layout a new panel holds: a living room and a kitchen page with every kind of object, two
// eight-button pages, two data-entry pages, a sleep page, a few drawn images, events and
// settings. It is the same on every run (fixed image GUIDs), so a fresh panel always serves the
// same bytes.
void MakeDemoLayout(TLayout& layout);

// The demo layout's image as a panel holds it.
std::vector<std::uint8_t> DemoLayoutImage();
