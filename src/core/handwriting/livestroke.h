// One stroke judged the moment the pen lifts, while a kanji is written stroke by stroke, and what
// went wrong with it in a form the learner can be told.
#pragma once

#include "core/handwriting/strokes.h"

#include <cstddef>
#include <optional>

struct LiveStrokeMiss {
    enum class Kind {
        // The stroke due, drawn from its end to its start.
        Backwards,
        // A stroke that comes later than the one due (later names it).
        Later,
        // Neither the stroke due nor a later one.
        Misfit,
        // Every stroke of the kanji is written already.
        Extra,
    };
    Kind kind = Kind::Misfit;
    // The stroke due, counted from 0.
    std::size_t stroke = 0;
    std::size_t later = 0;

    friend bool operator==(const LiveStrokeMiss&, const LiveStrokeMiss&) = default;
};

// Judges lifted as the stroke after kept (the strokes matched so far) with the stroke matcher
// over the reference up to that stroke: nullopt when it matches; otherwise whether it matches
// the due stroke drawn the other way, or a later stroke in the due one's place.
std::optional<LiveStrokeMiss> judgeLiveStroke(const StrokeList& kept, const Stroke& lifted,
                                              const StrokeList& reference);
