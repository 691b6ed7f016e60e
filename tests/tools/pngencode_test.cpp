// The PNG a strip is saved as: every pixel decodes to its palette colour.
#include "common/pngencode.h"

#include <QImage>

#include <gtest/gtest.h>

TEST(EncodeStripPng, DecodesToThePaletteColoursOfEveryPixel) {
    const StripImage strip =
        renderStrip({{{15, 25}, {95, 25}}, {{55, 10}, {55, 60}, {100, 100}}, {{15, 90}}});
    const std::optional<QByteArray> png = encodeStripPng(strip);
    ASSERT_TRUE(png.has_value());
    QImage image;
    ASSERT_TRUE(image.loadFromData(*png, "PNG"));
    ASSERT_EQ(strip.width, image.width());
    ASSERT_EQ(strip.height, image.height());
    const StripPalette palette = stripPalette();
    int mismatches = 0;
    for (int y = 0; y < strip.height; ++y) {
        for (int x = 0; x < strip.width; ++x) {
            const StripRgb expected = palette[strip.at(x, y)];
            const QRgb actual = image.pixel(x, y);
            mismatches += qRed(actual) != expected.r || qGreen(actual) != expected.g ||
                                  qBlue(actual) != expected.b
                              ? 1
                              : 0;
        }
    }
    EXPECT_EQ(0, mismatches);
}

TEST(EncodeStripPng, NoStrokesGiveNoPng) {
    EXPECT_FALSE(encodeStripPng(renderStrip({})).has_value());
}
