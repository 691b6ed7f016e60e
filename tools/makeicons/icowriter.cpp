// The ICO container: several images of one icon, each stored as a 32-bit DIB with alpha.
#include "makeicons/icowriter.h"

#include <QtEndian>

namespace {

constexpr int dirHeaderBytes = 6;
constexpr int dirEntryBytes = 16;
constexpr int bitmapHeaderBytes = 40;

void put16(QByteArray& out, quint16 value) {
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void put32(QByteArray& out, quint32 value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

// The DIB of an icon: header with doubled height (colour rows plus mask rows), the colour
// rows bottom-up as BGRA, then the 1-bit AND mask, set where the pixel is fully transparent
// so that readers ignoring the alpha channel still see the outline.
QByteArray encodeDib(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int width = image.width();
    const int height = image.height();
    const int maskRowBytes = ((width + 31) / 32) * 4;

    QByteArray dib;
    put32(dib, bitmapHeaderBytes);
    put32(dib, quint32(width));
    put32(dib, quint32(height * 2));
    put16(dib, 1);   // planes
    put16(dib, 32);  // bits per pixel
    put32(dib, 0);   // uncompressed
    put32(dib, quint32(width * height * 4 + maskRowBytes * height));
    put32(dib, 0);
    put32(dib, 0);
    put32(dib, 0);
    put32(dib, 0);
    for (int y = height - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            put32(dib, row[x]);  // ARGB32 as a little-endian word is B, G, R, A
        }
    }
    for (int y = height - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        QByteArray mask(maskRowBytes, '\0');
        for (int x = 0; x < width; ++x) {
            if (qAlpha(row[x]) == 0) {
                mask[x / 8] = char(mask[x / 8] | (0x80 >> (x % 8)));
            }
        }
        dib.append(mask);
    }
    return dib;
}

}  // namespace

std::optional<QByteArray> encodeIco(const std::vector<QImage>& images) {
    if (images.empty() || images.size() > 0xFFFF) {
        return std::nullopt;
    }
    std::vector<QByteArray> dibs;
    for (const QImage& image : images) {
        if (image.isNull() || image.width() > 256 || image.height() > 256) {
            return std::nullopt;
        }
        dibs.push_back(encodeDib(image));
    }

    QByteArray ico;
    put16(ico, 0);  // reserved
    put16(ico, 1);  // icon, not cursor
    put16(ico, quint16(images.size()));
    quint32 offset = quint32(dirHeaderBytes + dirEntryBytes * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        // A width or height of 256 is written as 0.
        ico.append(char(images[i].width() & 0xFF));
        ico.append(char(images[i].height() & 0xFF));
        ico.append('\0');  // no palette
        ico.append('\0');  // reserved
        put16(ico, 1);     // planes
        put16(ico, 32);    // bits per pixel
        put32(ico, quint32(dibs[i].size()));
        put32(ico, offset);
        offset += quint32(dibs[i].size());
    }
    for (const QByteArray& dib : dibs) {
        ico.append(dib);
    }
    return ico;
}
