// Tests of loading PNG and ICO pictures and copying parts of them: exact pixels, and damaged or
// oversized files refused quietly.
#include "ui/images.h"

#include "base/files.h"

#include <QBuffer>
#include <QDirIterator>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The picture, or a null one where the file gave none.
QImage pngOf(const QString& path) {
    return ui::loadPng(path).value_or(QImage());
}

QImage icoOf(const QString& path) {
    return ui::loadIco(path).value_or(QImage());
}

quint32 crc32Of(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= static_cast<quint8>(byte);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

QByteArray bigEndian(quint32 value) {
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray chunk(const char* type, const QByteArray& data) {
    const QByteArray typed = QByteArray(type) + data;
    return bigEndian(static_cast<quint32>(data.size())) + typed + bigEndian(crc32Of(typed));
}

// A well-formed black-and-white PNG of that size whose rows are all white: tiny on disk however
// large the picture it unpacks to.
QByteArray blankBilevelPng(quint32 width, quint32 height) {
    QByteArray header = bigEndian(width) + bigEndian(height);
    header += QByteArray::fromHex("0100000000");  // 1 bit, grey, deflate, no filter, no interlace
    const qsizetype rowBytes = 1 + (qsizetype(width) + 7) / 8;
    QByteArray row(rowBytes, '\xFF');
    row[0] = '\0';
    QByteArray raw;
    raw.reserve(rowBytes * qsizetype(height));
    for (quint32 y = 0; y < height; ++y) {
        raw += row;
    }
    // qCompress puts the uncompressed length in front of the zlib stream.
    const QByteArray zlibStream = qCompress(raw, 9).mid(4);
    return QByteArray::fromHex("89504E470D0A1A0A") + chunk("IHDR", header) +
           chunk("IDAT", zlibStream) + chunk("IEND", {});
}

class PngFiles : public testing::Test {
protected:
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(saveFileAtomically(path, bytes));
        return path;
    }

    QByteArray encoded(const QImage& image) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        EXPECT_TRUE(image.save(&buffer, "PNG"));
        return bytes;
    }

    QTemporaryDir dir;
};

}  // namespace

TEST_F(PngFiles, LoadsEveryPixelWithItsAlpha) {
    QImage source(3, 2, QImage::Format_ARGB32);
    const QRgb pixels[] = {qRgba(255, 0, 0, 255), qRgba(0, 255, 0, 255),
                           qRgba(0, 0, 255, 255), qRgba(10, 20, 30, 128),
                           qRgba(0, 0, 0, 0),     qRgba(255, 255, 255, 255)};
    for (int i = 0; i < 6; ++i) {
        source.setPixel(i % 3, i / 3, pixels[i]);
    }
    const QImage loaded = pngOf(write(u"strip.png"_s, encoded(source)));
    ASSERT_EQ(loaded.size(), QSize(3, 2));
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(loaded.pixel(i % 3, i / 3), pixels[i]) << "pixel " << i;
    }

    const QImage bilevel = pngOf(write(u"bilevel.png"_s, blankBilevelPng(300, 100)));
    ASSERT_EQ(bilevel.size(), QSize(300, 100));
    EXPECT_EQ(bilevel.pixel(299, 99), qRgb(255, 255, 255));

    // Read keeping its palette, a picture without one is the same picture.
    EXPECT_EQ(ui::loadPngAsStored(dir.filePath(u"strip.png"_s)).value_or(QImage()), loaded);
}

TEST_F(PngFiles, APaletteIsKeptWhereItIsAskedForWithEveryColourAndItsAlpha) {
    QImage source(4, 3, QImage::Format_Indexed8);
    const QList<QRgb> colours{qRgba(255, 255, 255, 255), qRgba(230, 20, 20, 255),
                              qRgba(40, 40, 40, 255), qRgba(0, 0, 0, 0)};
    source.setColorTable(colours);
    for (int i = 0; i < 12; ++i) {
        source.setPixel(i % 4, i / 4, static_cast<uint>((i * 7) % 4));
    }
    const QString path = write(u"palette.png"_s, encoded(source));
    const QImage indexed = ui::loadPngAsStored(path).value_or(QImage());
    ASSERT_EQ(indexed.format(), QImage::Format_Indexed8);
    const QImage coloured = pngOf(path);
    ASSERT_EQ(indexed.size(), source.size());
    ASSERT_EQ(coloured.size(), source.size());
    for (int i = 0; i < 12; ++i) {
        const QRgb expected = colours[(i * 7) % 4];
        EXPECT_EQ(indexed.pixel(i % 4, i / 4), expected) << "pixel " << i;
        EXPECT_EQ(coloured.pixel(i % 4, i / 4), expected) << "pixel " << i;
    }

    QByteArray damaged = encoded(source);
    damaged.truncate(damaged.indexOf("IDAT") + 6);
    EXPECT_FALSE(ui::loadPngAsStored(write(u"damaged.png"_s, damaged)));
}

TEST_F(PngFiles, DamagedFilesGiveNoPicture) {
    QImage source(200, 100, QImage::Format_RGB32);
    source.fill(Qt::blue);
    const QByteArray good = encoded(source);
    ASSERT_FALSE(pngOf(write(u"good.png"_s, good)).isNull());

    EXPECT_TRUE(pngOf(write(u"truncated.png"_s, good.left(good.size() / 2))).isNull());
    EXPECT_TRUE(pngOf(write(u"header.png"_s, good.left(8))).isNull());
    QByteArray corrupt = good;
    const qsizetype data = corrupt.indexOf("IDAT") + 8;
    ASSERT_GT(data, 8);
    corrupt[data] = static_cast<char>(corrupt[data] ^ 0x5A);
    EXPECT_TRUE(pngOf(write(u"corrupt.png"_s, corrupt)).isNull());
    EXPECT_TRUE(pngOf(write(u"empty.png"_s, {})).isNull());
    EXPECT_TRUE(pngOf(write(u"text.png"_s, "not a picture")).isNull());
    EXPECT_TRUE(pngOf(dir.filePath(u"missing.png"_s)).isNull());
    // The reason tells a file that is not there from one that is no picture.
    const auto missing = ui::loadPng(dir.filePath(u"missing.png"_s));
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().kind, FileErrorKind::NotFound);
    const auto text = ui::loadPng(dir.filePath(u"text.png"_s));
    ASSERT_FALSE(text);
    EXPECT_EQ(text.error().kind, FileErrorKind::Malformed);
}

TEST_F(PngFiles, PicturesTooLargeToUnpackAreRefused) {
    // Each a complete, valid file of a few kilobytes.
    const QByteArray tooManyPixels = blankBilevelPng(8193, 8193);
    const QByteArray tooWide = blankBilevelPng(32769, 1);
    EXPECT_LT(tooManyPixels.size(), 64 * 1024);
    EXPECT_TRUE(pngOf(write(u"bomb.png"_s, tooManyPixels)).isNull());
    EXPECT_TRUE(pngOf(write(u"wide.png"_s, tooWide)).isNull());
    // The widest strip the program accepts still loads.
    EXPECT_EQ(pngOf(write(u"strip.png"_s, blankBilevelPng(32768, 1))).width(), 32768);
}

namespace {

QByteArray littleEndian(quint32 value, int bytes) {
    QByteArray out(bytes, '\0');
    for (int i = 0; i < bytes; ++i) {
        out[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return out;
}

// An icon file holding one picture stored as given.
QByteArray iconFile(int width, int height, const QByteArray& picture) {
    return littleEndian(0, 2) + littleEndian(1, 2) + littleEndian(1, 2) +
           QByteArray(1, char(width)) + QByteArray(1, char(height)) + QByteArray(2, '\0') +
           littleEndian(1, 2) + littleEndian(24, 2) + littleEndian(quint32(picture.size()), 4) +
           littleEndian(22, 4) + picture;
}

// A 24-bit bitmap without alpha, whose transparency is its AND mask.
QByteArray bitmap24(int width, int height, QRgb colour) {
    QByteArray dib = littleEndian(40, 4) + littleEndian(quint32(width), 4) +
                     littleEndian(quint32(height * 2), 4) + littleEndian(1, 2) +
                     littleEndian(24, 2) + QByteArray(24, '\0');
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    for (int y = 0; y < height; ++y) {
        QByteArray row(rowBytes, '\0');
        for (int x = 0; x < width; ++x) {
            row[3 * x] = char(qBlue(colour));
            row[3 * x + 1] = char(qGreen(colour));
            row[3 * x + 2] = char(qRed(colour));
        }
        dib += row;
    }
    return dib + QByteArray((width + 31) / 32 * 4 * height, '\0');
}

QImage readByQt(const QString& path) {
    QImageReader reader(path, "ico");
    return reader.read();
}

}  // namespace

TEST_F(PngFiles, IconsReadAsQtsIconReaderReadsThemWhateverTheirForm) {
    QDirIterator shipped(QStringLiteral(RENKARI_SOURCE_DIR "/data/Media/Controls"), {u"*.ico"_s});
    int icons = 0;
    while (shipped.hasNext()) {
        const QString path = shipped.next();
        const QImage expected = readByQt(path);
        ASSERT_FALSE(expected.isNull()) << path.toStdString();
        EXPECT_EQ(icoOf(path), expected) << path.toStdString();
        ++icons;
    }
    EXPECT_EQ(icons, 11);

    QImage source(16, 8, QImage::Format_ARGB32);
    source.fill(qRgba(200, 40, 10, 128));
    source.setPixel(3, 2, qRgba(0, 0, 0, 0));
    // Forms the program's own icons never take are still read, by Qt's reader.
    const QString pngIcon = write(u"png.ico"_s, iconFile(16, 8, encoded(source)));
    EXPECT_EQ(icoOf(pngIcon), readByQt(pngIcon));
    EXPECT_EQ(icoOf(pngIcon).pixel(0, 0), qRgba(200, 40, 10, 128));
    const QString oldIcon = write(u"old.ico"_s, iconFile(5, 3, bitmap24(5, 3, qRgb(1, 2, 3))));
    const QImage old = icoOf(oldIcon);
    ASSERT_EQ(old.size(), QSize(5, 3));
    EXPECT_EQ(old, readByQt(oldIcon));
    EXPECT_EQ(old.pixel(4, 2), qRgb(1, 2, 3));
}

TEST_F(PngFiles, DamagedIconsGiveNoPicture) {
    const auto bytes =
        readWholeFile(QStringLiteral(RENKARI_SOURCE_DIR "/data/Media/Controls/ok.ico"));
    ASSERT_TRUE(bytes);
    for (const qsizetype cut : {qsizetype(0), qsizetype(5), qsizetype(21), qsizetype(61),
                                bytes->size() / 2, bytes->size() - 1}) {
        // Qt's reader, which takes over, may make something of the rows that are there.
        const QString path = write(u"cut.ico"_s, bytes->left(cut));
        EXPECT_EQ(icoOf(path), readByQt(path)) << "cut at " << cut;
        if (cut < 62) {
            EXPECT_TRUE(icoOf(path).isNull()) << "cut at " << cut;
        }
    }
    QByteArray farOffset = *bytes;
    farOffset.replace(18, 4, littleEndian(0x7FFFFFF0, 4));
    EXPECT_TRUE(icoOf(write(u"far.ico"_s, farOffset)).isNull());
}

TEST(CopyRect, GivesWhatAPainterCopyingTheRectangleGives) {
    QImage strip(300, 100, QImage::Format_ARGB32);
    for (int y = 0; y < strip.height(); ++y) {
        for (int x = 0; x < strip.width(); ++x) {
            strip.setPixel(x, y, qRgba(x % 256, y * 2, (x + y) % 256, (x * 7 + y) % 256));
        }
    }
    const QRect rects[] = {
        {100, 0, 100, 100}, {250, 50, 100, 100}, {-20, -10, 60, 60}, {400, 0, 100, 100}};
    const QPoint positions[] = {{0, 0}, {10, 20}, {-5, 30}};
    for (const QRect& rect : rects) {
        for (const QPoint& position : positions) {
            QImage expected(100, 100, QImage::Format_ARGB32_Premultiplied);
            expected.fill(Qt::white);
            QImage copied = expected;
            {
                QPainter painter(&expected);
                painter.setCompositionMode(QPainter::CompositionMode_Source);
                painter.drawImage(position, strip, rect);
            }
            ui::copyRect(strip, rect, copied, position);
            EXPECT_EQ(copied, expected)
                << rect.x() << "," << rect.y() << " at " << position.x() << "," << position.y();
        }
    }
}
