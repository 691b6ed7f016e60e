// Grading a drawn kanji against its reference strokes: both are boxed, each stroke is reduced to
// its ends, and the verdict follows from which drawn stroke stands for which reference stroke.
#include "core/handwriting/strokegrade.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>

namespace {

// Distances are in units of the box a drawing is scaled to, whose sides are 1.
// How far a drawn stroke's start and end may lie from the reference's.
constexpr float EndTolerance = 0.2f;
// The least cosine of the angle between the drawn and the reference stroke, start to end.
constexpr float MinDirectionCosine = 0.5f;

struct Ends {
    StrokePoint start;
    StrokePoint end;
};

// The ends of every stroke but the one left out, their box mapped onto the unit square, centred.
std::vector<Ends> boxedEnds(const StrokeList& strokes,
                            std::optional<std::size_t> skip = std::nullopt) {
    const StrokeBounds b = boundsOf(strokes, skip);
    const float width = b.right - b.left;
    const float height = b.bottom - b.top;
    // A lone dot has no size at all; any scale keeps it in the centre.
    const float longer = std::max({width, height, 1e-6f});
    const float scaleX = 1.0f / std::max(width, MinSideRatio * longer);
    const float scaleY = 1.0f / std::max(height, MinSideRatio * longer);
    const float centreX = (b.left + b.right) / 2;
    const float centreY = (b.top + b.bottom) / 2;
    const auto boxed = [&](StrokePoint p) {
        return StrokePoint{0.5f + (p.x - centreX) * scaleX, 0.5f + (p.y - centreY) * scaleY};
    };
    std::vector<Ends> ends;
    for (std::size_t s = 0; s < strokes.size(); ++s) {
        if (s == skip) {
            continue;
        }
        const Stroke& stroke = strokes[s];
        // A stroke without points goes nowhere, so it matches nothing.
        ends.push_back(stroke.empty() ? Ends{{0.5f, 0.5f}, {0.5f, 0.5f}}
                                      : Ends{boxed(stroke.front()), boxed(stroke.back())});
    }
    return ends;
}

float distance(StrokePoint a, StrokePoint b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

bool matches(const Ends& drawn, const Ends& reference) {
    if (distance(drawn.start, reference.start) > EndTolerance ||
        distance(drawn.end, reference.end) > EndTolerance) {
        return false;
    }
    const float dx = drawn.end.x - drawn.start.x;
    const float dy = drawn.end.y - drawn.start.y;
    const float rx = reference.end.x - reference.start.x;
    const float ry = reference.end.y - reference.start.y;
    // A click goes nowhere and so agrees with no direction.
    return dx * rx + dy * ry > MinDirectionCosine * std::hypot(dx, dy) * std::hypot(rx, ry);
}

bool matchesEitherWay(const Ends& drawn, const Ends& reference) {
    return matches(drawn, reference) || matches({drawn.end, drawn.start}, reference);
}

// Pairs drawn stroke i with reference stroke i for all i.
bool allInOrder(const std::vector<Ends>& drawn, const std::vector<Ends>& reference) {
    return drawn.size() == reference.size() &&
           std::equal(drawn.begin(), drawn.end(), reference.begin(), matches);
}

// Whether every drawn stroke can stand for a different reference stroke, in any order and
// direction (Kuhn's augmenting paths; kanji have few strokes).
bool pairsUp(const std::vector<Ends>& drawn, const std::vector<Ends>& reference) {
    const std::size_t n = reference.size();
    std::vector<std::vector<std::size_t>> candidates(drawn.size());
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        for (std::size_t j = 0; j < n; ++j) {
            if (matchesEitherWay(drawn[i], reference[j])) {
                candidates[i].push_back(j);
            }
        }
    }
    std::vector<std::optional<std::size_t>> takenBy(n);
    std::vector<bool> visited(n);
    const auto augment = [&](const auto& self, std::size_t i) -> bool {
        for (const std::size_t j : candidates[i]) {
            if (visited[j]) {
                continue;
            }
            visited[j] = true;
            if (!takenBy[j] || self(self, *takenBy[j])) {
                takenBy[j] = i;
                return true;
            }
        }
        return false;
    };
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        std::fill(visited.begin(), visited.end(), false);
        if (!augment(augment, i)) {
            return false;
        }
    }
    return true;
}

// The drawn strokes of a longest in-order pairing with matching reference strokes.
std::vector<bool> alignedInOrder(const std::vector<Ends>& drawn,
                                 const std::vector<Ends>& reference) {
    const std::size_t n = drawn.size();
    const std::size_t m = reference.size();
    // longest[i][j]: the longest pairing of drawn[i..] with reference[j..].
    std::vector<std::vector<int>> longest(n + 1, std::vector<int>(m + 1, 0));
    for (std::size_t i = n; i-- > 0;) {
        for (std::size_t j = m; j-- > 0;) {
            longest[i][j] = std::max(longest[i + 1][j], longest[i][j + 1]);
            if (matches(drawn[i], reference[j])) {
                longest[i][j] = std::max(longest[i][j], longest[i + 1][j + 1] + 1);
            }
        }
    }
    std::vector<bool> paired(n, false);
    for (std::size_t i = 0, j = 0; i < n && j < m;) {
        if (matches(drawn[i], reference[j]) && longest[i][j] == longest[i + 1][j + 1] + 1) {
            paired[i] = true;
            ++i;
            ++j;
        } else if (longest[i][j] == longest[i + 1][j]) {
            ++i;
        } else {
            ++j;
        }
    }
    return paired;
}

// Leaving one stroke out changes the box when it was an outer one, so each candidate is boxed
// again without it before the others are compared in order.
bool oneMissing(const std::vector<Ends>& drawnEnds, const StrokeList& reference) {
    for (std::size_t k = 0; k < reference.size(); ++k) {
        if (allInOrder(drawnEnds, boxedEnds(reference, k))) {
            return true;
        }
    }
    return false;
}

std::optional<std::size_t> oneExtra(const StrokeList& drawn,
                                    const std::vector<Ends>& referenceEnds) {
    for (std::size_t k = 0; k < drawn.size(); ++k) {
        if (allInOrder(boxedEnds(drawn, k), referenceEnds)) {
            return k;
        }
    }
    return std::nullopt;
}

}  // namespace

StrokeGrade gradeStrokes(const StrokeList& drawn, const StrokeList& reference) {
    StrokeGrade grade;
    if (drawn.empty()) {
        return grade;
    }
    if (reference.empty()) {
        grade.drawnMatched.assign(drawn.size(), false);
        return grade;
    }
    const std::vector<Ends> drawnEnds = boxedEnds(drawn);
    const std::vector<Ends> referenceEnds = boxedEnds(reference);

    if (drawn.size() == reference.size()) {
        // Each drawn stroke is judged against its own place in the order, so two strokes
        // written the wrong way round both show as wrong.
        for (std::size_t i = 0; i < drawn.size(); ++i) {
            grade.drawnMatched.push_back(matches(drawnEnds[i], referenceEnds[i]));
        }
        const bool allMatched = std::ranges::all_of(grade.drawnMatched, [](bool m) { return m; });
        grade.verdict = allMatched                          ? HandwritingVerdict::Right
                        : pairsUp(drawnEnds, referenceEnds) ? HandwritingVerdict::Partly
                                                            : HandwritingVerdict::Wrong;
        return grade;
    }

    if (drawn.size() + 1 == reference.size()) {
        if (oneMissing(drawnEnds, reference)) {
            grade.drawnMatched.assign(drawn.size(), true);
            grade.verdict = HandwritingVerdict::Partly;
            return grade;
        }
    } else if (drawn.size() == reference.size() + 1) {
        if (const std::optional<std::size_t> extra = oneExtra(drawn, referenceEnds)) {
            grade.drawnMatched.assign(drawn.size(), true);
            grade.drawnMatched[*extra] = false;
            grade.verdict = HandwritingVerdict::Partly;
            return grade;
        }
    }
    grade.drawnMatched = alignedInOrder(drawnEnds, referenceEnds);
    return grade;
}
