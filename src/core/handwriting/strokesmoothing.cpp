// Taking the hand's wobble out of a mouse stroke: resampled evenly, averaged, reduced to corners.
#include "core/handwriting/strokesmoothing.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

// A mouse reports points as often as it is polled, so fast parts of a stroke have few points and
// slow parts many; even spacing makes the averaging span the same length everywhere.
Stroke resampled(const Stroke& stroke, float step) {
    Stroke points{stroke.front()};
    float carried = 0;  // length walked since the last point placed
    for (std::size_t i = 1; i < stroke.size(); ++i) {
        const StrokePoint a = stroke[i - 1];
        const StrokePoint b = stroke[i];
        const float length = std::hypot(b.x - a.x, b.y - a.y);
        float at = step - carried;
        for (; at <= length; at += step) {
            const float t = at / length;
            points.push_back({a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)});
        }
        carried = length - (at - step);
    }
    if (!(points.back() == stroke.back())) {
        points.push_back(stroke.back());
    }
    return points;
}

namespace {

Stroke averaged(const Stroke& points, int reach) {
    const auto count = static_cast<std::ptrdiff_t>(points.size());
    Stroke means;
    means.reserve(points.size());
    for (std::ptrdiff_t i = 0; i < count; ++i) {
        const std::ptrdiff_t first = std::max<std::ptrdiff_t>(0, i - reach);
        const std::ptrdiff_t last = std::min<std::ptrdiff_t>(count - 1, i + reach);
        StrokePoint sum;
        for (std::ptrdiff_t j = first; j <= last; ++j) {
            sum.x += points[j].x;
            sum.y += points[j].y;
        }
        const auto n = static_cast<float>(last - first + 1);
        means.push_back({sum.x / n, sum.y / n});
    }
    return means;
}

void keepCorners(const Stroke& points, std::size_t first, std::size_t last, float tolerance,
                 Stroke& kept) {
    const StrokePoint a = points[first];
    const StrokePoint b = points[last];
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    const float chord = std::hypot(dx, dy);
    float farthest = 0;
    std::size_t corner = first;
    for (std::size_t i = first + 1; i < last; ++i) {
        const StrokePoint p = points[i];
        // Off the chord, or off the start when the stroke comes back to it.
        const float off = chord > 0 ? std::abs((p.x - a.x) * dy - (p.y - a.y) * dx) / chord
                                    : std::hypot(p.x - a.x, p.y - a.y);
        if (off > farthest) {
            farthest = off;
            corner = i;
        }
    }
    if (farthest > tolerance) {
        keepCorners(points, first, corner, tolerance, kept);
        keepCorners(points, corner, last, tolerance, kept);
    } else {
        kept.push_back(b);
    }
}

}  // namespace

Stroke smoothStroke(const Stroke& stroke, const Smoothing& smoothing) {
    if (stroke.size() < 2) {
        return stroke;
    }
    const Stroke points =
        averaged(smoothing.step > 0 ? resampled(stroke, smoothing.step) : stroke, smoothing.reach);
    Stroke kept{points.front()};
    keepCorners(points, 0, points.size() - 1, smoothing.tolerance, kept);
    return kept;
}
