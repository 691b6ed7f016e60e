// The stroke file: little-endian, a header, then the characters in ascending code order.
//
//   "RKSL"  u16 version (2)  u32 character count
//   per character, the index: u32 code point, u32 offset of its strokes from the file's start
//   per character, its strokes: u8 stroke count (1-255)
//     per stroke: u8 point count (1-255), then 3 bytes per point: x and y in 1/16 unit as
//     12 bits each, x's low 8 bits, x's high 4 bits below y's low 4 bits, y's high 8 bits
//
// Version 1 has no index: per character its u32 code point followed by its strokes. A character's
// record has no fixed length, so without the index every character before it must be read.
// 12 bits cover the 109 box with room to spare, and KanjiVG's 400,000 points fit in 1.3 MB.
#include "core/handwriting/strokelibrary.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include <QFile>

using namespace Qt::StringLiterals;

namespace {

constexpr char kMagic[4] = {'R', 'K', 'S', 'L'};
constexpr std::uint16_t kUnindexedVersion = 1;
constexpr std::uint16_t kVersion = 2;
constexpr qsizetype kIndexEntryBytes = 4 + 4;
// The smallest strokes of a character: one stroke of one point.
constexpr qsizetype kMinStrokesBytes = 1 + 1 + 3;
constexpr qsizetype kHeaderBytes = 4 + 2 + 4;
constexpr int kMaxCount = 255;  // strokes per character and points per stroke
constexpr int kBytesPerPoint = 3;
// The smallest character: its code, one stroke of one point.
constexpr qsizetype kMinCharacterBytes = 4 + 1 + 1 + kBytesPerPoint;
constexpr float kStepsPerUnit = 16;
constexpr int kMaxStep = 4095;
constexpr char32_t kMaxCodePoint = 0x10FFFF;
// Six times KanjiVG's file. A point of 3 bytes takes 8 in memory and a stroke of one point some
// 60, so the bound also caps what a hostile file can make the reader allocate.
constexpr qint64 kMaxFileBytes = qint64(8) << 20;

int stepOf(float coordinate) {
    if (!std::isfinite(coordinate)) {
        return 0;
    }
    return static_cast<int>(
        std::clamp(std::lround(coordinate * kStepsPerUnit), 0L, long(kMaxStep)));
}

void appendU32(QByteArray& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.append(static_cast<char>((value >> shift) & 0xFF));
    }
}

bool fits(const StrokeList& strokes) {
    return !strokes.empty() && strokes.size() <= kMaxCount &&
           std::all_of(strokes.begin(), strokes.end(), [](const Stroke& stroke) {
               return !stroke.empty() && stroke.size() <= kMaxCount;
           });
}

void appendStrokes(QByteArray& out, const StrokeList& strokes) {
    out.append(static_cast<char>(strokes.size()));
    for (const Stroke& stroke : strokes) {
        out.append(static_cast<char>(stroke.size()));
        for (const StrokePoint& point : stroke) {
            const int x = stepOf(point.x);
            const int y = stepOf(point.y);
            out.append(static_cast<char>(x & 0xFF));
            out.append(static_cast<char>((x >> 8) | ((y & 0x0F) << 4)));
            out.append(static_cast<char>(y >> 4));
        }
    }
}

// Reads forward through the bytes; every read checks what is left first.
class ByteReader {
public:
    explicit ByteReader(const QByteArray& bytes)
        : data_(reinterpret_cast<const std::uint8_t*>(bytes.constData())), size_(bytes.size()) {}
    // The bytes from from up to to.
    ByteReader(const QByteArray& bytes, qsizetype from, qsizetype to)
        : data_(reinterpret_cast<const std::uint8_t*>(bytes.constData()) + from),
          size_(to - from) {}

    qsizetype left() const { return size_ - pos_; }
    const std::uint8_t* take(qsizetype count) {
        const std::uint8_t* at = data_ + pos_;
        pos_ += count;
        return at;
    }
    std::uint8_t u8() { return *take(1); }
    std::uint16_t u16() {
        const std::uint8_t* at = take(2);
        return static_cast<std::uint16_t>(at[0] | at[1] << 8);
    }
    std::uint32_t u32() {
        const std::uint8_t* at = take(4);
        return std::uint32_t(at[0]) | std::uint32_t(at[1]) << 8 | std::uint32_t(at[2]) << 16 |
               std::uint32_t(at[3]) << 24;
    }

private:
    const std::uint8_t* data_;
    qsizetype size_;
    qsizetype pos_ = 0;
};

QString atCharacter(quint32 index, const QString& what) {
    return u"character "_s + QString::number(index + 1) + u": "_s + what;
}

Expected<StrokeList, QString> readStrokes(ByteReader& reader) {
    if (reader.left() < 1) {
        return unexpected(u"cut short"_s);
    }
    const int strokeCount = reader.u8();
    if (strokeCount == 0) {
        return unexpected(u"no strokes"_s);
    }
    if (reader.left() < qsizetype(strokeCount) * (1 + kBytesPerPoint)) {
        return unexpected(u"cut short"_s);
    }
    StrokeList strokes(static_cast<size_t>(strokeCount));
    for (Stroke& stroke : strokes) {
        if (reader.left() < 1) {
            return unexpected(u"cut short"_s);
        }
        const int pointCount = reader.u8();
        if (pointCount == 0) {
            return unexpected(u"a stroke without points"_s);
        }
        if (reader.left() < qsizetype(pointCount) * kBytesPerPoint) {
            return unexpected(u"cut short"_s);
        }
        stroke.resize(static_cast<size_t>(pointCount));
        const std::uint8_t* bytes = reader.take(qsizetype(pointCount) * kBytesPerPoint);
        for (StrokePoint& point : stroke) {
            const int x = bytes[0] | (bytes[1] & 0x0F) << 8;
            const int y = bytes[1] >> 4 | bytes[2] << 4;
            point = {x / kStepsPerUnit, y / kStepsPerUnit};
            bytes += kBytesPerPoint;
        }
    }
    return strokes;
}

}  // namespace

Expected<StrokeLibrary, QString> StrokeLibrary::parse(const QByteArray& bytes) {
    ByteReader reader(bytes);
    if (reader.left() < kHeaderBytes) {
        return unexpected(u"too short for a stroke file"_s);
    }
    if (!std::equal(std::begin(kMagic), std::end(kMagic), reader.take(4))) {
        return unexpected(u"not a stroke file"_s);
    }
    const std::uint16_t version = reader.u16();
    if (version == kVersion) {
        return parseIndexed(bytes);
    }
    if (version != kUnindexedVersion) {
        return unexpected(u"version "_s + QString::number(version) + u" is not supported"_s);
    }
    const std::uint32_t count = reader.u32();
    // Trusting the count only as far as the bytes can hold it keeps the reservation bounded.
    if (qint64(count) > reader.left() / kMinCharacterBytes) {
        return unexpected(u"more characters announced than the file holds"_s);
    }

    StrokeLibrary library;
    library.codes_.reserve(count);
    library.strokes_.reserve(count);
    for (std::uint32_t index = 0; index < count; ++index) {
        if (reader.left() < 4) {
            return unexpected(atCharacter(index, u"cut short"_s));
        }
        const std::uint32_t code = reader.u32();
        if (code == 0 || code > kMaxCodePoint) {
            return unexpected(atCharacter(index, u"no code point"_s));
        }
        if (!library.codes_.empty() && code <= library.codes_.back()) {
            return unexpected(atCharacter(index, u"out of order"_s));
        }
        Expected<StrokeList, QString> strokes = readStrokes(reader);
        if (!strokes) {
            return unexpected(atCharacter(index, strokes.error()));
        }
        library.codes_.push_back(static_cast<char32_t>(code));
        library.strokes_.push_back(std::move(*strokes));
    }
    if (reader.left() != 0) {
        return unexpected(u"bytes after the last character"_s);
    }
    return library;
}

Expected<StrokeLibrary, QString> StrokeLibrary::parseIndexed(const QByteArray& bytes) {
    ByteReader reader(bytes);
    reader.take(kHeaderBytes - 4);
    const std::uint32_t count = reader.u32();
    if (qint64(count) > reader.left() / (kIndexEntryBytes + kMinStrokesBytes)) {
        return unexpected(u"more characters announced than the file holds"_s);
    }
    // The index is checked whole: it is small, and a lookup relies on its order.
    const qsizetype recordsStart = kHeaderBytes + kIndexEntryBytes * qsizetype(count);
    std::uint32_t lastCode = 0;
    qsizetype lastOffset = 0;
    for (std::uint32_t index = 0; index < count; ++index) {
        const std::uint32_t code = reader.u32();
        const qsizetype offset = reader.u32();
        if (code == 0 || code > kMaxCodePoint) {
            return unexpected(atCharacter(index, u"no code point"_s));
        }
        if (code <= lastCode) {
            return unexpected(atCharacter(index, u"out of order"_s));
        }
        const qsizetype least = index == 0 ? recordsStart : lastOffset + kMinStrokesBytes;
        if (offset < least || offset > bytes.size() - kMinStrokesBytes) {
            return unexpected(atCharacter(index, u"strokes outside the file"_s));
        }
        lastCode = code;
        lastOffset = offset;
    }
    if (count == 0 && bytes.size() != recordsStart) {
        return unexpected(u"bytes after the last character"_s);
    }
    StrokeLibrary library;
    library.indexed_ = true;
    library.indexCount_ = count;
    library.bytes_ = bytes;
    // The last character shows a file cut short or grown.
    if (count > 0) {
        ByteReader last(bytes, lastOffset, bytes.size());
        if (Expected<StrokeList, QString> strokes = readStrokes(last); !strokes) {
            return unexpected(atCharacter(count - 1, strokes.error()));
        }
        if (last.left() != 0) {
            return unexpected(u"bytes after the last character"_s);
        }
    }
    return library;
}

QByteArray StrokeLibrary::encode(const std::vector<std::pair<char32_t, StrokeList>>& characters) {
    std::vector<const std::pair<char32_t, StrokeList>*> kept;
    kept.reserve(characters.size());
    for (const auto& character : characters) {
        if (character.first != 0 && character.first <= kMaxCodePoint && fits(character.second)) {
            kept.push_back(&character);
        }
    }
    // Stable, so of two entries with one code the first given comes first and stays.
    std::stable_sort(kept.begin(), kept.end(),
                     [](const auto* a, const auto* b) { return a->first < b->first; });
    kept.erase(std::unique(kept.begin(), kept.end(),
                           [](const auto* a, const auto* b) { return a->first == b->first; }),
               kept.end());

    QByteArray out(kMagic, sizeof kMagic);
    out.append(static_cast<char>(kVersion & 0xFF));
    out.append(static_cast<char>(kVersion >> 8));
    appendU32(out, static_cast<std::uint32_t>(kept.size()));
    QByteArray records;
    const qsizetype recordsStart = kHeaderBytes + kIndexEntryBytes * qsizetype(kept.size());
    for (const auto* character : kept) {
        appendU32(out, character->first);
        appendU32(out, static_cast<std::uint32_t>(recordsStart + records.size()));
        appendStrokes(records, character->second);
    }
    return out + records;
}

const StrokeList* StrokeLibrary::find(char32_t code) const {
    if (indexed_) {
        if (const auto known = read_->find(code); known != read_->end()) {
            return &known->second;
        }
        // Bisects the index for the code.
        const auto entry = [&](std::uint32_t i) {
            ByteReader at(bytes_, kHeaderBytes + kIndexEntryBytes * qsizetype(i), bytes_.size());
            const std::uint32_t c = at.u32();
            return std::pair<std::uint32_t, qsizetype>(c, at.u32());
        };
        std::uint32_t low = 0;
        std::uint32_t high = indexCount_;
        while (low < high) {
            const std::uint32_t middle = low + (high - low) / 2;
            if (entry(middle).first < code) {
                low = middle + 1;
            } else {
                high = middle;
            }
        }
        if (low == indexCount_ || entry(low).first != code) {
            return nullptr;
        }
        const qsizetype end = low + 1 < indexCount_ ? entry(low + 1).second : bytes_.size();
        ByteReader record(bytes_, entry(low).second, end);
        Expected<StrokeList, QString> strokes = readStrokes(record);
        if (!strokes || record.left() != 0) {
            return nullptr;
        }
        return &read_->emplace(code, std::move(*strokes)).first->second;
    }
    const auto found = std::lower_bound(codes_.begin(), codes_.end(), code);
    if (found == codes_.end() || *found != code) {
        return nullptr;
    }
    return &strokes_[static_cast<size_t>(found - codes_.begin())];
}

FileResult<StrokeLibrary> loadStrokeLibrary(const QString& path) {
    // An indexed file is mapped, so that only the pages of the characters looked up are read.
    if (checkRegularFile(path)) {
        auto file = std::make_shared<QFile>(path);
        if (file->open(QIODevice::ReadOnly) && file->size() >= kHeaderBytes &&
            file->size() <= kMaxFileBytes) {
            if (uchar* mapped = file->map(0, file->size())) {
                const QByteArray bytes = QByteArray::fromRawData(
                    reinterpret_cast<const char*>(mapped), static_cast<qsizetype>(file->size()));
                if (std::equal(std::begin(kMagic), std::end(kMagic), bytes.constData()) &&
                    bytes[4] == char(kVersion) && bytes[5] == 0) {
                    Expected<StrokeLibrary, QString> library = StrokeLibrary::parse(bytes);
                    if (!library) {
                        return unexpected(FileError{FileErrorKind::Malformed, library.error()});
                    }
                    library->mapping_ = std::move(file);
                    return std::move(*library);
                }
            }
        }
    }
    const FileResult<QByteArray> bytes = readWholeFile(path, kMaxFileBytes);
    if (!bytes) {
        return unexpected(bytes.error());
    }
    Expected<StrokeLibrary, QString> library = StrokeLibrary::parse(*bytes);
    if (!library) {
        return unexpected(FileError{FileErrorKind::Malformed, library.error()});
    }
    return std::move(*library);
}
