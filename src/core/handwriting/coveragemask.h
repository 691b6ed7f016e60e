// A tiny anti-aliased rasteriser: round-capped thick segments and discs into a coverage mask.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Coverage per pixel, 0 (untouched) to 255 (fully covered). Shapes drawn on top of each other
// keep the larger coverage, so overlapping strokes never darken beyond full.
class CoverageMask {
public:
    CoverageMask(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    std::uint8_t at(int x, int y) const { return alpha_[static_cast<std::size_t>(y) * width_ + x]; }

    // Pixels within `radius` of the segment from (x1, y1) to (x2, y2); pixel (x, y) is sampled
    // at its centre (x + 0.5, y + 0.5) and the edge is blended over one pixel.
    void drawCapsule(float x1, float y1, float x2, float y2, float radius);
    void drawDisc(float cx, float cy, float radius) { drawCapsule(cx, cy, cx, cy, radius); }

    // Takes the larger coverage of both masks, pixel by pixel; sizes must match.
    void unite(const CoverageMask& other);

private:
    int width_;
    int height_;
    std::vector<std::uint8_t> alpha_;
};
