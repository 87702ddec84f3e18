#pragma once

#include <cstdint>
#include <string>

// How much a run of decodes may make: each picture at most maxSide on a side, all of them together
// at most `total` pixels. Data from outside (a layout, a page file) declares sizes it need not hold,
// so each decode takes its share after reading the header and before allocating anything.
class PixelBudget {
public:
    PixelBudget(int maxSide, std::int64_t total);

    // Takes width x height from the budget, or throws PictureError naming `source` and the limit it
    // passes. A refused picture takes nothing; one that fails later keeps its share spent.
    void Take(const std::string& source, std::int64_t width, std::int64_t height);

    int MaxSide() const { return maxSide; }
    std::int64_t Remaining() const { return remaining; }

private:
    int maxSide;
    std::int64_t remaining;
};
