// The control icons: the ICO writer and the eleven shipped files.
#include "makeicons/controlicons.h"
#include "makeicons/icowriter.h"

#include <QBuffer>
#include <QImageReader>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

const QString kControlsDir = QStringLiteral(RENKARI_SOURCE_DIR "/data/Media/Controls/");

QImage readIco(const QByteArray& bytes, int index = 0) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    if (index > 0 && !reader.jumpToImage(index)) {
        return {};
    }
    return reader.read().convertToFormat(QImage::Format_ARGB32);
}

// Empty when both images agree within the tolerance per channel, otherwise where and how they
// first differ.
std::string firstDifference(const QImage& actual, const QImage& expected, int tolerance = 0) {
    if (actual.size() != expected.size()) {
        return QStringLiteral("size %1x%2 instead of %3x%4")
            .arg(actual.width())
            .arg(actual.height())
            .arg(expected.width())
            .arg(expected.height())
            .toStdString();
    }
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb a = actual.pixel(x, y);
            const QRgb e = expected.pixel(x, y);
            const int delta =
                std::max({std::abs(qAlpha(a) - qAlpha(e)), std::abs(qRed(a) - qRed(e)),
                          std::abs(qGreen(a) - qGreen(e)), std::abs(qBlue(a) - qBlue(e))});
            if (delta > tolerance) {
                return QStringLiteral("pixel (%1, %2) is %3 instead of %4")
                    .arg(x)
                    .arg(y)
                    .arg(a, 8, 16, QChar(u'0'))
                    .arg(e, 8, 16, QChar(u'0'))
                    .toStdString();
            }
        }
    }
    return {};
}

// A pattern with every alpha level from clear to opaque, and colours that differ per pixel.
// Qt's reader hands the pixels back premultiplied, so the pattern is rounded the same way.
QImage alphaPattern(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgba(x * 7 % 256, y * 5 % 256, (x + y) % 256, (x * 8 + y) % 256));
        }
    }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied)
        .convertToFormat(QImage::Format_ARGB32);
}

TEST(IcoWriter, ImagesReadBackExactlyWithTheirAlpha) {
    const QImage large = alphaPattern(32, 32);
    const QImage small = alphaPattern(16, 16);
    const auto bytes = encodeIco({large, small});
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(firstDifference(readIco(*bytes), large), "");
    EXPECT_EQ(firstDifference(readIco(*bytes, 1), small), "");
}

TEST(IcoWriter, OddWidthsAndTheLargestSizeSurvive) {
    // 13 columns need padded mask rows; 256 is stored as 0 in the directory.
    const QImage odd = alphaPattern(13, 7);
    const auto oddBytes = encodeIco({odd});
    ASSERT_TRUE(oddBytes.has_value());
    EXPECT_EQ(firstDifference(readIco(*oddBytes), odd), "");

    const QImage largest = alphaPattern(256, 256);
    const auto largestBytes = encodeIco({largest});
    ASSERT_TRUE(largestBytes.has_value());
    EXPECT_EQ(largestBytes->at(6), '\0');
    EXPECT_EQ(firstDifference(readIco(*largestBytes), largest), "");
}

TEST(IcoWriter, RefusesWhatAnIconCannotHold) {
    EXPECT_FALSE(encodeIco({}).has_value());
    EXPECT_FALSE(encodeIco({QImage()}).has_value());
    EXPECT_FALSE(encodeIco({alphaPattern(257, 16)}).has_value());
}

TEST(ShippedIcons, AllElevenLoadAt32By32WithA16By16Companion) {
    for (const ControlIcon& icon : controlIcons()) {
        const QString path = kControlsDir + QString::fromLatin1(icon.fileName);
        QImageReader reader(path, "ico");
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << icon.fileName << ": " << reader.errorString().toStdString();
        EXPECT_EQ(image.size(), QSize(32, 32)) << icon.fileName;
        EXPECT_TRUE(image.hasAlphaChannel()) << icon.fileName;
        ASSERT_TRUE(reader.jumpToImage(1)) << icon.fileName;
        EXPECT_EQ(reader.read().size(), QSize(16, 16)) << icon.fileName;
    }
}

TEST(ShippedIcons, AreDrawnOnATransparentGroundAndDifferFromEachOther) {
    std::vector<QImage> images;
    for (const ControlIcon& icon : controlIcons()) {
        const QImage image = QImageReader(kControlsDir + QString::fromLatin1(icon.fileName), "ico")
                                 .read()
                                 .convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(image.isNull()) << icon.fileName;
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << icon.fileName;
        EXPECT_EQ(qAlpha(image.pixel(31, 31)), 0) << icon.fileName;
        int opaque = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                opaque += qAlpha(image.pixel(x, y)) == 255;
            }
        }
        EXPECT_GE(opaque, 40) << icon.fileName << " is nearly empty";
        for (size_t i = 0; i < images.size(); ++i) {
            EXPECT_NE(image, images[i]) << icon.fileName << " equals icon " << i;
        }
        images.push_back(image);
    }
}

// Anti-aliasing of a mirrored path may round a pixel differently, hence the small tolerance;
// premultiplied pixels keep a nearly clear pixel from showing an arbitrary colour.
TEST(ShippedIcons, DirectionsAreMirrorImages) {
    const auto load = [](const char* name) {
        return QImageReader(kControlsDir + QString::fromLatin1(name), "ico")
            .read()
            .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    };
    EXPECT_EQ(firstDifference(load("1left.ico").mirrored(true, false), load("1right.ico"), 3), "");
    EXPECT_EQ(firstDifference(load("2left.ico").mirrored(true, false), load("2right.ico"), 3), "");
}

}  // namespace
