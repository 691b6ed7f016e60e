// Each stroke is rasterised once; a frame combines the strokes before it with the newest one.
#include "strip.h"

#include "raster.h"

namespace {

// The stroke data lives in a box of about 0-255; this keeps it inside one frame.
constexpr float kScale = kFrameSize / 256.0f;
constexpr float kStrokeRadius = 2.25f;
constexpr float kDotRadius = 4.5f;
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kRed{220, 20, 20};

std::uint8_t mix(std::uint8_t from, std::uint8_t to, int level) {
    return static_cast<std::uint8_t>(
        (from * (kLevels - 1 - level) + to * level + (kLevels - 1) / 2) / (kLevels - 1));
}

Rgb mix(Rgb from, Rgb to, int level) {
    return {mix(from.r, to.r, level), mix(from.g, to.g, level), mix(from.b, to.b, level)};
}

// Coverage 0-255 to level 0-15, rounded; a table because every pixel of every frame asks.
constexpr std::array<std::uint8_t, 256> kLevelOf = [] {
    std::array<std::uint8_t, 256> table{};
    for (int coverage = 0; coverage < 256; ++coverage) {
        table[coverage] = static_cast<std::uint8_t>((coverage * (kLevels - 1) + 127) / 255);
    }
    return table;
}();

CoverageMask strokeMask(const StrokeSegment& stroke) {
    CoverageMask mask(kFrameSize, kFrameSize);
    mask.drawCapsule(stroke.x1 * kScale, stroke.y1 * kScale, stroke.x2 * kScale, stroke.y2 * kScale,
                     kStrokeRadius);
    return mask;
}

}  // namespace

StripPalette stripPalette() {
    StripPalette palette;
    for (int black = 0; black < kLevels; ++black) {
        for (int red = 0; red < kLevels; ++red) {
            palette[black * kLevels + red] = mix(mix(kWhite, kBlack, black), kRed, red);
        }
    }
    return palette;
}

StripImage renderStrip(const std::vector<StrokeSegment>& strokes) {
    StripImage image;
    if (strokes.empty()) {
        return image;
    }
    image.width = kFrameSize * static_cast<int>(strokes.size());
    image.height = kFrameSize;
    image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, 0);

    CoverageMask earlier(kFrameSize, kFrameSize);
    for (size_t k = 0; k < strokes.size(); ++k) {
        CoverageMask newest = strokeMask(strokes[k]);
        const CoverageMask plain = newest;
        newest.drawDisc(strokes[k].x1 * kScale, strokes[k].y1 * kScale, kDotRadius);
        const int left = kFrameSize * static_cast<int>(k);
        for (int y = 0; y < kFrameSize; ++y) {
            std::uint8_t* row = &image.pixels[static_cast<std::size_t>(y) * image.width + left];
            for (int x = 0; x < kFrameSize; ++x) {
                row[x] = static_cast<std::uint8_t>(kLevelOf[earlier.at(x, y)] * kLevels +
                                                   kLevelOf[newest.at(x, y)]);
            }
        }
        earlier.unite(plain);
    }
    return image;
}
