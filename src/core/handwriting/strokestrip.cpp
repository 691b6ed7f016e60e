// Each stroke is rasterised once; a frame combines the strokes before it with the newest one.
#include "core/handwriting/strokestrip.h"

#include "core/handwriting/coveragemask.h"
#include "core/handwriting/strokelibrary.h"

namespace {

// KanjiVG's box fills the frame but for a margin that keeps the pen's width and the start dot of
// strokes at the box's edge inside the picture.
constexpr float kMargin = 3.0f;
constexpr float kScale = (StripFrameSize - 2 * kMargin) / StrokeLibrary::BoxSize;
constexpr float kStrokeRadius = 2.25f;
constexpr float kDotRadius = 4.5f;
constexpr StripRgb kWhite{255, 255, 255};
constexpr StripRgb kBlack{0, 0, 0};
constexpr StripRgb kRed{220, 20, 20};

std::uint8_t mix(std::uint8_t from, std::uint8_t to, int level) {
    return static_cast<std::uint8_t>(
        (from * (StripLevels - 1 - level) + to * level + (StripLevels - 1) / 2) /
        (StripLevels - 1));
}

StripRgb mix(StripRgb from, StripRgb to, int level) {
    return {mix(from.r, to.r, level), mix(from.g, to.g, level), mix(from.b, to.b, level)};
}

// Coverage 0-255 to level 0-15, rounded; a table because every pixel of every frame asks.
constexpr std::array<std::uint8_t, 256> kLevelOf = [] {
    std::array<std::uint8_t, 256> table{};
    for (int coverage = 0; coverage < 256; ++coverage) {
        table[coverage] = static_cast<std::uint8_t>((coverage * (StripLevels - 1) + 127) / 255);
    }
    return table;
}();

StrokePoint inFrame(StrokePoint point) {
    return {kMargin + point.x * kScale, kMargin + point.y * kScale};
}

// Round caps and joins come for free: the union of round-capped segments is the set of pixels
// within the pen's radius of the polyline.
CoverageMask strokeMask(const Stroke& stroke) {
    CoverageMask mask(StripFrameSize, StripFrameSize);
    if (stroke.size() == 1) {
        const StrokePoint p = inFrame(stroke.front());
        mask.drawDisc(p.x, p.y, kStrokeRadius);
    }
    for (size_t i = 1; i < stroke.size(); ++i) {
        const StrokePoint a = inFrame(stroke[i - 1]);
        const StrokePoint b = inFrame(stroke[i]);
        mask.drawCapsule(a.x, a.y, b.x, b.y, kStrokeRadius);
    }
    return mask;
}

}  // namespace

StripPalette stripPalette() {
    StripPalette palette;
    for (int black = 0; black < StripLevels; ++black) {
        for (int red = 0; red < StripLevels; ++red) {
            palette[black * StripLevels + red] = mix(mix(kWhite, kBlack, black), kRed, red);
        }
    }
    return palette;
}

StripImage renderStrip(const StrokeList& strokes) {
    StripImage image;
    if (strokes.empty()) {
        return image;
    }
    image.width = StripFrameSize * static_cast<int>(strokes.size());
    image.height = StripFrameSize;
    image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, 0);

    CoverageMask earlier(StripFrameSize, StripFrameSize);
    for (size_t k = 0; k < strokes.size(); ++k) {
        CoverageMask newest = strokeMask(strokes[k]);
        const CoverageMask plain = newest;
        if (!strokes[k].empty()) {
            const StrokePoint start = inFrame(strokes[k].front());
            newest.drawDisc(start.x, start.y, kDotRadius);
        }
        const int left = StripFrameSize * static_cast<int>(k);
        for (int y = 0; y < StripFrameSize; ++y) {
            std::uint8_t* row = &image.pixels[static_cast<std::size_t>(y) * image.width + left];
            for (int x = 0; x < StripFrameSize; ++x) {
                row[x] = static_cast<std::uint8_t>(kLevelOf[earlier.at(x, y)] * StripLevels +
                                                   kLevelOf[newest.at(x, y)]);
            }
        }
        earlier.unite(plain);
    }
    return image;
}
