// A reader of SVG path data that keeps every segment as a cubic, and a flattener behind it.
#include "svgpath.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// KanjiVG draws in a 109 box; anything this far out is a broken number, not a drawing.
constexpr double kMaxCoordinate = 1e5;
// Enough for any curve of the box cut at the finest tolerance anyone would ask for.
constexpr int kMaxPiecesPerCurve = 4096;

struct Point {
    double x = 0;
    double y = 0;
};

Point operator+(Point a, Point b) {
    return {a.x + b.x, a.y + b.y};
}
Point operator-(Point a, Point b) {
    return {a.x - b.x, a.y - b.y};
}
Point operator*(double s, Point a) {
    return {s * a.x, s * a.y};
}

double length(Point a) {
    return std::hypot(a.x, a.y);
}

StrokePoint toStroke(Point p) {
    return {static_cast<float>(p.x), static_cast<float>(p.y)};
}

Point toPoint(StrokePoint p) {
    return {p.x, p.y};
}

bool isCommand(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool startsNumber(char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+';
}

bool isWhitespace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// The curve S and T continue smoothly from, when the segment before them was of their kind.
enum class LastCurve { None, Cubic, Quadratic };

class PathReader {
public:
    explicit PathReader(std::string_view d) : d_(d) {}

    Expected<std::vector<PathSegment>, QString> read() {
        skipWhitespace();
        if (atEnd()) {
            return fail(u"empty path"_s);
        }
        if (d_[pos_] != 'M' && d_[pos_] != 'm') {
            return fail(u"the path does not start with a moveto"_s);
        }
        while (!atEnd()) {
            const char command = d_[pos_];
            if (!isCommand(command)) {
                return fail(u"a number without a command"_s);
            }
            ++pos_;
            if (!readCommand(command)) {
                return unexpected(error_);
            }
            skipWhitespace();
        }
        if (segments_.empty()) {
            return unexpected(u"the path draws nothing"_s);
        }
        return std::move(segments_);
    }

private:
    bool atEnd() const { return pos_ >= d_.size(); }

    void skipWhitespace() {
        while (!atEnd() && isWhitespace(d_[pos_])) {
            ++pos_;
        }
    }

    // Whitespace with at most one comma in it.
    void skipSeparator() {
        skipWhitespace();
        if (!atEnd() && d_[pos_] == ',') {
            ++pos_;
            skipWhitespace();
        }
    }

    bool numberFollows() {
        skipSeparator();
        return !atEnd() && startsNumber(d_[pos_]);
    }

    Unexpected<QString> fail(const QString& what) {
        error_ = what + u" at offset "_s + QString::number(pos_);
        return unexpected(error_);
    }

    bool failed(const QString& what) {
        fail(what);
        return false;
    }

    bool missingNumbers(char command) {
        return failed(u"missing or bad numbers for '"_s + QChar(command) + u'\'');
    }

    // SVG's number: sign, digits with at most one point, an optional exponent. The extent is
    // found by hand because from_chars would also take "inf" and "nan" and no leading "+".
    std::optional<double> number() {
        skipSeparator();
        const size_t start = pos_;
        if (!atEnd() && (d_[pos_] == '+' || d_[pos_] == '-')) {
            ++pos_;
        }
        const auto digits = [this] {
            const size_t from = pos_;
            while (!atEnd() && d_[pos_] >= '0' && d_[pos_] <= '9') {
                ++pos_;
            }
            return pos_ - from;
        };
        size_t count = digits();
        if (!atEnd() && d_[pos_] == '.') {
            ++pos_;
            count += digits();
        }
        if (count == 0) {
            pos_ = start;
            return std::nullopt;
        }
        if (!atEnd() && (d_[pos_] == 'e' || d_[pos_] == 'E')) {
            const size_t mark = pos_;
            ++pos_;
            if (!atEnd() && (d_[pos_] == '+' || d_[pos_] == '-')) {
                ++pos_;
            }
            if (digits() == 0) {
                pos_ = mark;  // an "e" without digits is not part of the number
            }
        }
        const size_t from = d_[start] == '+' ? start + 1 : start;
        double value = 0;
        const auto [end, status] = std::from_chars(d_.data() + from, d_.data() + pos_, value);
        if (status != std::errc() || end != d_.data() + pos_ || std::abs(value) > kMaxCoordinate) {
            pos_ = start;
            return std::nullopt;
        }
        return value;
    }

    std::optional<Point> point(bool relative) {
        const std::optional<double> x = number();
        if (!x) {
            return std::nullopt;
        }
        const std::optional<double> y = number();
        if (!y) {
            return std::nullopt;
        }
        const Point p = relative ? current_ + Point{*x, *y} : Point{*x, *y};
        if (std::abs(p.x) > kMaxCoordinate || std::abs(p.y) > kMaxCoordinate) {
            return std::nullopt;
        }
        return p;
    }

    void addCubic(Point control1, Point control2, Point to, bool straight) {
        segments_.push_back(
            {toStroke(current_), toStroke(control1), toStroke(control2), toStroke(to), straight});
        current_ = to;
    }

    void addLine(Point to) {
        addCubic(current_, to, to, true);
        last_ = LastCurve::None;
    }

    Point reflected(LastCurve kind) const {
        return last_ == kind ? current_ + (current_ - lastControl_) : current_;
    }

    // One set of arguments of the command; false with error_ set when they are not there.
    bool readArguments(char command) {
        const bool relative = command >= 'a';
        switch (command) {
            case 'M':
            case 'm': {
                if (moved_) {
                    return failed(u"a second moveto"_s);
                }
                const std::optional<Point> p = point(relative);
                if (!p) {
                    return missingNumbers(command);
                }
                current_ = start_ = *p;
                moved_ = true;
                return true;
            }
            case 'L':
            case 'l': {
                const std::optional<Point> p = point(relative);
                if (!p) {
                    return missingNumbers(command);
                }
                addLine(*p);
                return true;
            }
            case 'H':
            case 'h':
            case 'V':
            case 'v': {
                const std::optional<double> value = number();
                if (!value) {
                    return missingNumbers(command);
                }
                const bool horizontal = command == 'H' || command == 'h';
                Point to = current_;
                double& moved = horizontal ? to.x : to.y;
                moved = relative ? moved + *value : *value;
                if (std::abs(moved) > kMaxCoordinate) {
                    return missingNumbers(command);
                }
                addLine(to);
                return true;
            }
            case 'C':
            case 'c': {
                const std::optional<Point> c1 = point(relative);
                const std::optional<Point> c2 = c1 ? point(relative) : std::nullopt;
                const std::optional<Point> to = c2 ? point(relative) : std::nullopt;
                if (!to) {
                    return missingNumbers(command);
                }
                addCubic(*c1, *c2, *to, false);
                last_ = LastCurve::Cubic;
                lastControl_ = *c2;
                return true;
            }
            case 'S':
            case 's': {
                const Point c1 = reflected(LastCurve::Cubic);
                const std::optional<Point> c2 = point(relative);
                const std::optional<Point> to = c2 ? point(relative) : std::nullopt;
                if (!to) {
                    return missingNumbers(command);
                }
                addCubic(c1, *c2, *to, false);
                last_ = LastCurve::Cubic;
                lastControl_ = *c2;
                return true;
            }
            case 'Q':
            case 'q': {
                const std::optional<Point> q = point(relative);
                const std::optional<Point> to = q ? point(relative) : std::nullopt;
                if (!to) {
                    return missingNumbers(command);
                }
                addQuadratic(*q, *to);
                return true;
            }
            case 'T':
            case 't': {
                const Point q = reflected(LastCurve::Quadratic);
                const std::optional<Point> to = point(relative);
                if (!to) {
                    return missingNumbers(command);
                }
                addQuadratic(q, *to);
                return true;
            }
            default:
                return failed(u"unsupported command '"_s + QChar(command) + u'\'');
        }
    }

    // The cubic with the same shape: each control point two thirds of the way to the quadratic's.
    void addQuadratic(Point q, Point to) {
        const Point from = current_;
        addCubic(from + (2.0 / 3.0) * (q - from), to + (2.0 / 3.0) * (q - to), to, false);
        last_ = LastCurve::Quadratic;
        lastControl_ = q;
    }

    bool readCommand(char command) {
        if (command == 'Z' || command == 'z') {
            if (current_.x != start_.x || current_.y != start_.y) {
                addLine(start_);
            }
            last_ = LastCurve::None;
            return true;
        }
        if (!readArguments(command)) {
            return false;
        }
        // Further sets of numbers repeat the command; after a moveto they draw lines.
        while (numberFollows()) {
            const char repeated = command == 'M' ? 'L' : command == 'm' ? 'l' : command;
            if (!readArguments(repeated)) {
                return false;
            }
        }
        return true;
    }

    std::string_view d_;
    size_t pos_ = 0;
    Point current_;
    Point start_;
    Point lastControl_;
    LastCurve last_ = LastCurve::None;
    bool moved_ = false;
    std::vector<PathSegment> segments_;
    QString error_;
};

Point pointOnCubic(const PathSegment& s, double t) {
    const double u = 1 - t;
    return (u * u * u) * toPoint(s.from) + (3 * u * u * t) * toPoint(s.control1) +
           (3 * u * t * t) * toPoint(s.control2) + (t * t * t) * toPoint(s.to);
}

// The curve lies within its control polygon, so pieces of at most this length along the polygon
// are at most that long along the curve.
int piecesOf(const PathSegment& s, double step) {
    const double polygon = length(toPoint(s.control1) - toPoint(s.from)) +
                           length(toPoint(s.control2) - toPoint(s.control1)) +
                           length(toPoint(s.to) - toPoint(s.control2));
    return static_cast<int>(std::clamp(std::ceil(polygon / step), 1.0, double(kMaxPiecesPerCurve)));
}

double distanceToSegment(Point p, Point a, Point b) {
    const Point ab = b - a;
    const double squared = ab.x * ab.x + ab.y * ab.y;
    const double t = squared > 0
                         ? std::clamp(((p.x - a.x) * ab.x + (p.y - a.y) * ab.y) / squared, 0.0, 1.0)
                         : 0.0;
    return length(p - (a + t * ab));
}

// Ramer-Douglas-Peucker with its own stack: a point is kept when it lies further than the
// tolerance from the chord of the stretch around it.
Stroke simplify(const std::vector<Point>& points, double tolerance) {
    std::vector<bool> keep(points.size(), false);
    keep.front() = keep.back() = true;
    std::vector<std::pair<size_t, size_t>> stretches{{0, points.size() - 1}};
    while (!stretches.empty()) {
        const auto [first, last] = stretches.back();
        stretches.pop_back();
        double farthest = 0;
        size_t at = first;
        for (size_t i = first + 1; i < last; ++i) {
            const double distance = distanceToSegment(points[i], points[first], points[last]);
            if (distance > farthest) {
                farthest = distance;
                at = i;
            }
        }
        if (farthest > tolerance) {
            keep[at] = true;
            stretches.emplace_back(first, at);
            stretches.emplace_back(at, last);
        }
    }
    Stroke stroke;
    for (size_t i = 0; i < points.size(); ++i) {
        if (keep[i]) {
            stroke.push_back(toStroke(points[i]));
        }
    }
    return stroke;
}

}  // namespace

Expected<std::vector<PathSegment>, QString> parseSvgPath(std::string_view d) {
    return PathReader(d).read();
}

Stroke flattenPath(const std::vector<PathSegment>& segments, float tolerance) {
    if (segments.empty()) {
        return {};
    }
    // Pieces a quarter of the tolerance long sag by a tiny fraction of it even on KanjiVG's
    // tightest turns, so the thinning alone decides how far the points stray from the curve.
    const double step = std::max(double(tolerance), 1e-3) / 4;
    std::vector<Point> fine{toPoint(segments.front().from)};
    for (const PathSegment& segment : segments) {
        if (segment.straight) {
            fine.push_back(toPoint(segment.to));
            continue;
        }
        const int pieces = piecesOf(segment, step);
        for (int i = 1; i < pieces; ++i) {
            fine.push_back(pointOnCubic(segment, double(i) / pieces));
        }
        fine.push_back(toPoint(segment.to));  // exact, not the polynomial's rounding
    }
    return simplify(fine, tolerance);
}
