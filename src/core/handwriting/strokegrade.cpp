// Grading a drawn kanji against its reference strokes: both are reduced to evenly spaced samples
// in a common frame, the drawing is fitted onto the reference, and the verdict follows from which
// drawn stroke stands for which reference stroke.
#include "core/handwriting/strokegrade.h"

#include "core/handwriting/strokesmoothing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>

namespace {

// Distances are in units of the longer side of a drawing's box.
constexpr std::size_t Samples = 16;
// The hand's tremor is averaged out over a few hundredths of the character before the samples
// are taken, so that it neither lengthens a stroke nor shifts where along it a sample falls.
constexpr Smoothing Tremor{.step = 0.015f, .reach = 2, .tolerance = 0.002f};

// How far a stroke's middle may lie from the reference's, and how far its samples may lie from
// the reference's once both middles meet: a part of the character (a stroke shifted, the
// character's proportions changed) plus a part of the stroke's length (a stroke ending short or
// long moves its middle and its samples by a part of its length).
struct Tolerance {
    float place = 0;
    float placePerLength = 0;
    float shape = 0;
    float shapePerLength = 0;
};
constexpr Tolerance Close{0.10f, 0.15f, 0.04f, 0.12f};
// What a second opinion may accept, and how far off its reference a stroke may be and still
// stand for it, though it missed.
constexpr float Wider = 1.5f;

// The drawing may be stretched by at most this along either axis to fit the reference; more is
// another shape.
constexpr float MaxStretch = 1.33f;
// Pulls the stretch towards none where an axis has too little extent to tell (the height of 一),
// as if each sample also saw this much variance at no stretch.
constexpr float StretchPrior = 0.01f;

struct Shape {
    std::array<StrokePoint, Samples> points{};
    StrokePoint middle;
    float length = 0;
    bool empty = true;
};

float distance(StrokePoint a, StrokePoint b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

float lengthOf(const Stroke& stroke) {
    float length = 0;
    for (std::size_t i = 1; i < stroke.size(); ++i) {
        length += distance(stroke[i - 1], stroke[i]);
    }
    return length;
}

void setMiddle(Shape& shape) {
    StrokePoint sum;
    for (const StrokePoint p : shape.points) {
        sum.x += p.x;
        sum.y += p.y;
    }
    shape.middle = {sum.x / Samples, sum.y / Samples};
}

// Samples evenly along the stroke, both ends included.
Shape shapeOf(const Stroke& stroke) {
    Shape shape;
    if (stroke.empty()) {
        return shape;
    }
    shape.empty = false;
    shape.length = lengthOf(stroke);
    const float step = shape.length / (Samples - 1);
    std::size_t segment = 1;
    float walked = 0;  // length up to stroke[segment - 1]
    for (std::size_t i = 0; i < Samples; ++i) {
        const float at = step * static_cast<float>(i);
        while (segment + 1 < stroke.size() &&
               walked + distance(stroke[segment - 1], stroke[segment]) < at) {
            walked += distance(stroke[segment - 1], stroke[segment]);
            ++segment;
        }
        if (stroke.size() == 1) {
            shape.points[i] = stroke.front();
            continue;
        }
        const StrokePoint a = stroke[segment - 1];
        const StrokePoint b = stroke[segment];
        const float piece = distance(a, b);
        const float t = piece > 0 ? std::clamp((at - walked) / piece, 0.0f, 1.0f) : 0.0f;
        shape.points[i] = {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
    }
    shape.points.back() = stroke.back();
    setMiddle(shape);
    return shape;
}

// Every stroke smoothed and sampled, the drawing's box scaled to a longer side of 1.
std::vector<Shape> shapesOf(const StrokeList& strokes) {
    const StrokeBounds b = boundsOf(strokes);
    const float scale = 1.0f / std::max({b.right - b.left, b.bottom - b.top, 1e-6f});
    std::vector<Shape> shapes;
    shapes.reserve(strokes.size());
    for (const Stroke& stroke : strokes) {
        Stroke unit;
        unit.reserve(stroke.size());
        for (const StrokePoint p : stroke) {
            unit.push_back({(p.x - b.left) * scale, (p.y - b.top) * scale});
        }
        shapes.push_back(shapeOf(smoothStroke(unit, Tremor)));
    }
    return shapes;
}

// The shapes but the one skip names, their box centred on 0 with a longer side of 1.
std::vector<Shape> framed(const std::vector<Shape>& shapes, std::optional<std::size_t> skip) {
    StrokeBounds b;
    for (std::size_t s = 0; s < shapes.size(); ++s) {
        if (s == skip || shapes[s].empty) {
            continue;
        }
        for (const StrokePoint p : shapes[s].points) {
            b.left = std::min(b.left, p.x);
            b.top = std::min(b.top, p.y);
            b.right = std::max(b.right, p.x);
            b.bottom = std::max(b.bottom, p.y);
        }
    }
    const float scale = 1.0f / std::max({b.right - b.left, b.bottom - b.top, 1e-6f});
    const float centreX = (b.left + b.right) / 2;
    const float centreY = (b.top + b.bottom) / 2;
    std::vector<Shape> out;
    for (std::size_t s = 0; s < shapes.size(); ++s) {
        if (s == skip) {
            continue;
        }
        Shape shape = shapes[s];
        for (StrokePoint& p : shape.points) {
            p = {(p.x - centreX) * scale, (p.y - centreY) * scale};
        }
        shape.length *= scale;
        setMiddle(shape);
        out.push_back(shape);
    }
    return out;
}

// The drawing moved and stretched along each axis so that its strokes, taken in order, lie on
// the reference's as well as they can (least squares). A stroke out of place pulls the fit a
// little, but cannot stretch the drawing past MaxStretch.
void fitOnto(std::vector<Shape>& drawn, const std::vector<Shape>& reference) {
    double n = 0;
    double sums[2][4] = {};  // per axis: drawn, reference, drawn², drawn × reference
    for (std::size_t s = 0; s < drawn.size() && s < reference.size(); ++s) {
        if (drawn[s].empty || reference[s].empty) {
            continue;
        }
        for (std::size_t i = 0; i < Samples; ++i) {
            const StrokePoint d = drawn[s].points[i];
            const StrokePoint r = reference[s].points[i];
            const double ds[2] = {d.x, d.y};
            const double rs[2] = {r.x, r.y};
            for (int axis = 0; axis < 2; ++axis) {
                sums[axis][0] += ds[axis];
                sums[axis][1] += rs[axis];
                sums[axis][2] += ds[axis] * ds[axis];
                sums[axis][3] += ds[axis] * rs[axis];
            }
            ++n;
        }
    }
    if (n == 0) {
        return;
    }
    double stretch[2];
    double shift[2];
    for (int axis = 0; axis < 2; ++axis) {
        const double meanDrawn = sums[axis][0] / n;
        const double meanReference = sums[axis][1] / n;
        const double variance = sums[axis][2] / n - meanDrawn * meanDrawn;
        const double covariance = sums[axis][3] / n - meanDrawn * meanReference;
        stretch[axis] = std::clamp((covariance + StretchPrior) / (variance + StretchPrior),
                                   1.0 / MaxStretch, double(MaxStretch));
        shift[axis] = meanReference - stretch[axis] * meanDrawn;
    }
    for (Shape& shape : drawn) {
        for (StrokePoint& p : shape.points) {
            p = {static_cast<float>(stretch[0] * p.x + shift[0]),
                 static_cast<float>(stretch[1] * p.y + shift[1])};
        }
        setMiddle(shape);
    }
}

// The mean distance between the samples once both middles meet, the drawn stroke read forwards
// or backwards.
float shapeDistance(const Shape& drawn, const Shape& reference, bool backwards) {
    float sum = 0;
    for (std::size_t i = 0; i < Samples; ++i) {
        const StrokePoint d = drawn.points[backwards ? Samples - 1 - i : i];
        const StrokePoint r = reference.points[i];
        sum += std::hypot((d.x - drawn.middle.x) - (r.x - reference.middle.x),
                          (d.y - drawn.middle.y) - (r.y - reference.middle.y));
    }
    return sum / Samples;
}

// How far the drawn stroke is from the reference, as a part of the tolerance: at most 1 is close.
// A stroke drawn against the reference's direction is no match at all.
float misfit(const Shape& drawn, const Shape& reference, bool backwards = false) {
    constexpr float None = std::numeric_limits<float>::infinity();
    if (drawn.empty || reference.empty) {
        return None;
    }
    const float along = shapeDistance(drawn, reference, backwards);
    // A click goes nowhere, so it reads the same both ways and agrees with no direction.
    if (!(along < shapeDistance(drawn, reference, !backwards))) {
        return None;
    }
    // A winding stroke may be longer than the character is wide, but it is not drawn more
    // loosely than a stroke across the whole character.
    const float length = std::min(reference.length, 1.0f);
    return std::max(
        distance(drawn.middle, reference.middle) / (Close.place + Close.placePerLength * length),
        along / (Close.shape + Close.shapePerLength * length));
}

bool matches(const Shape& drawn, const Shape& reference, float widen = 1, bool backwards = false) {
    return misfit(drawn, reference, backwards) <= widen;
}

bool matchesBackwards(const Shape& drawn, const Shape& reference) {
    return matches(drawn, reference, 1, true);
}

bool matchesEitherWay(const Shape& drawn, const Shape& reference) {
    return matches(drawn, reference) || matchesBackwards(drawn, reference);
}

// The drawing fitted onto the reference, the strokes skip names left out of each; with a stroke
// left out the boxes change, so both are framed again without it.
struct Pairing {
    std::vector<Shape> drawn;
    std::vector<Shape> reference;
};

Pairing paired(const std::vector<Shape>& drawn, const std::vector<Shape>& reference,
               std::optional<std::size_t> skipDrawn, std::optional<std::size_t> skipReference) {
    Pairing p{framed(drawn, skipDrawn), framed(reference, skipReference)};
    fitOnto(p.drawn, p.reference);
    return p;
}

// Per drawn stroke, whether it is close to the reference stroke in its place and no other drawn
// stroke would fit better exchanged with it: two strokes written in each other's place near each
// other (the two dots of 氵) are not in order just because each lies within the tolerance of the
// other's place. The lists must be equally long.
std::vector<bool> inOrder(const std::vector<Shape>& drawn, const std::vector<Shape>& reference,
                          float widen = 1) {
    std::vector<float> inPlace;
    std::vector<bool> close;
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        inPlace.push_back(misfit(drawn[i], reference[i]));
        close.push_back(inPlace.back() <= widen);
    }
    std::vector<bool> kept = close;
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        for (std::size_t j = i + 1; close[i] && j < drawn.size(); ++j) {
            if (!close[j]) {
                continue;
            }
            const float there = misfit(drawn[i], reference[j]);
            const float back = misfit(drawn[j], reference[i]);
            if (there <= widen && back <= widen && there + back < inPlace[i] + inPlace[j]) {
                kept[i] = kept[j] = false;
            }
        }
    }
    return kept;
}

bool allInOrder(const std::vector<Shape>& drawn, const std::vector<Shape>& reference,
                float widen = 1) {
    return drawn.size() == reference.size() &&
           std::ranges::all_of(inOrder(drawn, reference, widen), [](bool m) { return m; });
}

bool allInOrder(const Pairing& p) {
    return allInOrder(p.drawn, p.reference);
}

// Whether every drawn stroke can stand for a different reference stroke, in any order and
// direction (Kuhn's augmenting paths; kanji have few strokes).
bool pairsUp(const std::vector<Shape>& drawn, const std::vector<Shape>& reference) {
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
std::vector<bool> alignedInOrder(const std::vector<Shape>& drawn,
                                 const std::vector<Shape>& reference) {
    const std::size_t n = drawn.size();
    const std::size_t m = reference.size();
    std::vector<std::vector<bool>> match(n, std::vector<bool>(m));
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < m; ++j) {
            match[i][j] = matches(drawn[i], reference[j]);
        }
    }
    // longest[i][j]: the longest pairing of drawn[i..] with reference[j..].
    std::vector<std::vector<int>> longest(n + 1, std::vector<int>(m + 1, 0));
    for (std::size_t i = n; i-- > 0;) {
        for (std::size_t j = m; j-- > 0;) {
            longest[i][j] = std::max(longest[i + 1][j], longest[i][j + 1]);
            if (match[i][j]) {
                longest[i][j] = std::max(longest[i][j], longest[i + 1][j + 1] + 1);
            }
        }
    }
    std::vector<bool> pairedStrokes(n, false);
    for (std::size_t i = 0, j = 0; i < n && j < m;) {
        if (match[i][j] && longest[i][j] == longest[i + 1][j + 1] + 1) {
            pairedStrokes[i] = true;
            ++i;
            ++j;
        } else if (longest[i][j] == longest[i + 1][j]) {
            ++i;
        } else {
            ++j;
        }
    }
    return pairedStrokes;
}

// Strokes written backwards, and pairs written in each other's place, among those that did not
// match in order.
std::vector<StrokeFault> faultsInPlace(const Pairing& p, const std::vector<bool>& matched) {
    std::vector<StrokeFault> faults;
    std::vector<bool> explained(matched);
    for (std::size_t i = 0; i < matched.size(); ++i) {
        if (explained[i]) {
            continue;
        }
        if (matchesBackwards(p.drawn[i], p.reference[i])) {
            faults.push_back({StrokeFault::Kind::Backwards, i});
            explained[i] = true;
            continue;
        }
        for (std::size_t j = i + 1; j < matched.size(); ++j) {
            if (!explained[j] && matchesEitherWay(p.drawn[i], p.reference[j]) &&
                matchesEitherWay(p.drawn[j], p.reference[i])) {
                faults.push_back({StrokeFault::Kind::Exchanged, i, j});
                explained[i] = explained[j] = true;
                break;
            }
        }
    }
    return faults;
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
    const std::vector<Shape> drawnShapes = shapesOf(drawn);
    const std::vector<Shape> referenceShapes = shapesOf(reference);
    const Pairing whole = paired(drawnShapes, referenceShapes, std::nullopt, std::nullopt);

    if (drawn.size() == reference.size()) {
        // Each drawn stroke is judged against its own place in the order, so two strokes
        // written the wrong way round both show as wrong.
        grade.drawnMatched = inOrder(whole.drawn, whole.reference);
        if (std::ranges::all_of(grade.drawnMatched, [](bool m) { return m; })) {
            grade.verdict = Grade::Right;
            grade.closeInOrder = true;
            return grade;
        }
        grade.closeInOrder = allInOrder(whole.drawn, whole.reference, Wider);
        if (pairsUp(whole.drawn, whole.reference)) {
            grade.verdict = Grade::Partly;
            grade.faults = faultsInPlace(whole, grade.drawnMatched);
            return grade;
        }
        // A stroke that just missed its reference counts as no worse than one left out; a stroke
        // of another shape or place is a wrong stroke, and a kanji of one stroke missed is
        // nothing right at all.
        for (std::size_t k = 0; k < drawn.size() && drawn.size() > 1; ++k) {
            if (!grade.drawnMatched[k] && misfit(whole.drawn[k], whole.reference[k]) <= Wider &&
                allInOrder(paired(drawnShapes, referenceShapes, k, k))) {
                grade.verdict = Grade::Partly;
                return grade;
            }
        }
        return grade;
    }

    if (drawn.size() + 1 == reference.size()) {
        for (std::size_t k = 0; k < reference.size(); ++k) {
            if (allInOrder(paired(drawnShapes, referenceShapes, std::nullopt, k))) {
                grade.drawnMatched.assign(drawn.size(), true);
                grade.verdict = Grade::Partly;
                grade.faults.push_back({StrokeFault::Kind::Missing, k});
                return grade;
            }
        }
    } else if (drawn.size() == reference.size() + 1) {
        for (std::size_t k = 0; k < drawn.size(); ++k) {
            if (allInOrder(paired(drawnShapes, referenceShapes, k, std::nullopt))) {
                grade.drawnMatched.assign(drawn.size(), true);
                grade.drawnMatched[k] = false;
                grade.verdict = Grade::Partly;
                grade.faults.push_back({StrokeFault::Kind::Extra, k});
                return grade;
            }
        }
    }
    grade.drawnMatched = alignedInOrder(whole.drawn, whole.reference);
    return grade;
}
