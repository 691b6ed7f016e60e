// A stroke judged as the pen lifts: the matcher over the reference up to the stroke due, then
// over the variations that tell what slipped.
#include "core/handwriting/livestroke.h"

#include "core/handwriting/strokegrade.h"

#include <algorithm>

namespace {

bool matches(const StrokeList& kept, const Stroke& lifted, const StrokeList& reference,
             std::size_t upTo, std::size_t due) {
    StrokeList drawn = kept;
    drawn.push_back(lifted);
    StrokeList wanted(reference.begin(), reference.begin() + static_cast<std::ptrdiff_t>(upTo));
    wanted.push_back(reference[due]);
    return gradeStrokes(drawn, wanted).verdict == Grade::Right;
}

}  // namespace

std::optional<LiveStrokeMiss> judgeLiveStroke(const StrokeList& kept, const Stroke& lifted,
                                              const StrokeList& reference) {
    const std::size_t due = kept.size();
    if (due >= reference.size()) {
        return LiveStrokeMiss{LiveStrokeMiss::Kind::Extra, due};
    }
    if (matches(kept, lifted, reference, due, due)) {
        return std::nullopt;
    }
    const Stroke reversed(lifted.rbegin(), lifted.rend());
    if (matches(kept, reversed, reference, due, due)) {
        return LiveStrokeMiss{LiveStrokeMiss::Kind::Backwards, due};
    }
    for (std::size_t later = due + 1; later < reference.size(); ++later) {
        if (matches(kept, lifted, reference, due, later)) {
            return LiveStrokeMiss{LiveStrokeMiss::Kind::Later, due, later};
        }
    }
    return LiveStrokeMiss{LiveStrokeMiss::Kind::Misfit, due};
}
