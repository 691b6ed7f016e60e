// Coverage from the distance of each pixel centre to the shape's axis.
#include "core/handwriting/coveragemask.h"

#include <algorithm>
#include <cmath>

CoverageMask::CoverageMask(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      alpha_(static_cast<std::size_t>(width_) * height_, 0) {}

void CoverageMask::drawCapsule(float x1, float y1, float x2, float y2, float radius) {
    if (!(radius > 0) || !std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) ||
        !std::isfinite(y2)) {
        return;
    }
    // Clamp the box in floating point first: far-away coordinates must not overflow an int.
    const float reach = radius + 1;
    const auto clampTo = [](float value, int limit) {
        return static_cast<int>(std::clamp(value, 0.0f, static_cast<float>(limit)));
    };
    const int left = clampTo(std::floor(std::min(x1, x2) - reach), width_);
    const int right = clampTo(std::ceil(std::max(x1, x2) + reach), width_);
    const int top = clampTo(std::floor(std::min(y1, y2) - reach), height_);
    const int bottom = clampTo(std::ceil(std::max(y1, y2) + reach), height_);

    const float dx = x2 - x1;
    const float dy = y2 - y1;
    const float lengthSquared = dx * dx + dy * dy;
    // Pixels wholly inside or outside the blended rim need no square root.
    const float outer = (radius + 0.5f) * (radius + 0.5f);
    const float inner = radius > 0.5f ? (radius - 0.5f) * (radius - 0.5f) : 0.0f;
    for (int y = top; y < bottom; ++y) {
        std::uint8_t* row = &alpha_[static_cast<std::size_t>(y) * width_];
        for (int x = left; x < right; ++x) {
            const float px = x + 0.5f - x1;
            const float py = y + 0.5f - y1;
            const float t = lengthSquared > 0
                                ? std::clamp((px * dx + py * dy) / lengthSquared, 0.0f, 1.0f)
                                : 0.0f;
            const float ex = px - t * dx;
            const float ey = py - t * dy;
            const float squared = ex * ex + ey * ey;
            if (squared >= outer) {
                continue;
            }
            const float coverage = squared <= inner
                                       ? 1.0f
                                       : std::clamp(radius + 0.5f - std::sqrt(squared), 0.0f, 1.0f);
            row[x] = std::max(row[x], static_cast<std::uint8_t>(coverage * 255 + 0.5f));
        }
    }
}

void CoverageMask::unite(const CoverageMask& other) {
    if (other.width_ != width_ || other.height_ != height_) {
        return;
    }
    std::transform(alpha_.begin(), alpha_.end(), other.alpha_.begin(), alpha_.begin(),
                   [](std::uint8_t a, std::uint8_t b) { return std::max(a, b); });
}
