// Tests of the stroke file: what is written reads back, what is broken is refused, and the
// committed KanjiVG file loads.
#include "core/handwriting/strokelibrary.h"

#include "base/files.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Points are kept to 1/16 unit, so a read point lies within half a step of the written one.
constexpr float kHalfStep = 1.0f / 32;

const StrokeList kSun = {{{31.5f, 24.5f}, {33.24f, 29.25f}, {33.23f, 89.25f}},
                         {{33.48f, 26.0f}, {79.0f, 27.0f}, {78.77f, 89.25f}},
                         {{34.22f, 55.25f}, {78.28f, 52.5f}},
                         {{34.23f, 86.5f}, {78.04f, 84.25f}}};
const StrokeList kOne = {{{10.0f, 50.0f}, {100.0f, 50.0f}}};
// A character beyond the BMP with a dot of one point and coordinates at the format's edges.
const StrokeList kRare = {{{0.0f, 0.0f}}, {{108.97f, 0.03f}, {255.9375f, 109.0f}}};

void expectNear(const StrokeList& expected, const StrokeList* actual, const char* name) {
    ASSERT_NE(actual, nullptr) << name;
    ASSERT_EQ(expected.size(), actual->size()) << name;
    for (size_t s = 0; s < expected.size(); ++s) {
        ASSERT_EQ(expected[s].size(), (*actual)[s].size()) << name << " stroke " << s;
        for (size_t p = 0; p < expected[s].size(); ++p) {
            EXPECT_NEAR(expected[s][p].x, (*actual)[s][p].x, kHalfStep) << name << " " << s;
            EXPECT_NEAR(expected[s][p].y, (*actual)[s][p].y, kHalfStep) << name << " " << s;
        }
    }
}

quint32 u32At(const QByteArray& bytes, qsizetype at) {
    quint32 value = 0;
    for (int i = 3; i >= 0; --i) {
        value = value << 8 | static_cast<quint8>(bytes[at + i]);
    }
    return value;
}

// The same characters in the first version of the file, which has no index: each character's
// code comes right before its strokes.
QByteArray withoutIndex(const QByteArray& indexed) {
    const quint32 count = u32At(indexed, 6);
    QByteArray old = indexed.left(10);
    old[4] = 1;
    for (quint32 i = 0; i < count; ++i) {
        const qsizetype entry = 10 + 8 * qsizetype(i);
        const qsizetype from = u32At(indexed, entry + 4);
        const qsizetype to = i + 1 < count ? u32At(indexed, entry + 12) : indexed.size();
        old += indexed.mid(entry, 4) + indexed.mid(from, to - from);
    }
    return old;
}

QByteArray sampleFile() {
    return StrokeLibrary::encode({{U'日', kSun}, {U'一', kOne}, {U'𠀋', kRare}});
}

}  // namespace

TEST(StrokeLibrary, EncodedCharactersReadBackWithinHalfAStep) {
    const StrokeList otherOne = {{{1.0f, 1.0f}, {2.0f, 2.0f}}};
    const StrokeList tooManyStrokes(256, Stroke{{1.0f, 1.0f}});
    const StrokeList tooManyPoints = {Stroke(256, StrokePoint{1.0f, 1.0f})};
    const QByteArray bytes = StrokeLibrary::encode({{U'日', kSun},
                                                    {U'一', kOne},
                                                    {U'𠀋', kRare},
                                                    {U'一', otherOne},
                                                    {U'人', {}},
                                                    {U'入', {{}}},
                                                    {U'八', tooManyStrokes},
                                                    {U'九', tooManyPoints}});
    const Expected<StrokeLibrary, QString> library = StrokeLibrary::parse(bytes);
    ASSERT_TRUE(library) << library.error().toStdString();
    EXPECT_EQ(3, library->size()) << "no strokes, an empty stroke or more than 255 are left out";
    expectNear(kSun, library->find(U'日'), "sun");
    expectNear(kOne, library->find(U'一'), "one, the first given");
    expectNear(kRare, library->find(U'𠀋'), "beyond the BMP");
    EXPECT_EQ(nullptr, library->find(U'人'));
    EXPECT_EQ(nullptr, library->find(U'八'));
    EXPECT_EQ(nullptr, library->find(U'水'));
    EXPECT_EQ(nullptr, library->find(0));

    // Outside the format's range, coordinates stick to its edges instead of wrapping round.
    const Expected<StrokeLibrary, QString> clamped = StrokeLibrary::parse(
        StrokeLibrary::encode({{U'一', {{{-5.0f, 300.0f}, {std::nanf(""), 50.0f}}}}}));
    ASSERT_TRUE(clamped);
    const Stroke& edge = clamped->find(U'一')->front();
    EXPECT_EQ((StrokePoint{0.0f, 255.9375f}), edge[0]);
    EXPECT_EQ((StrokePoint{0.0f, 50.0f}), edge[1]);

    const Expected<StrokeLibrary, QString> none = StrokeLibrary::parse(StrokeLibrary::encode({}));
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->empty());
}

TEST(StrokeLibrary, EveryCutOrAddedByteIsRefused) {
    const QByteArray bytes = sampleFile();
    for (qsizetype size = 0; size < bytes.size(); ++size) {
        const Expected<StrokeLibrary, QString> cut = StrokeLibrary::parse(bytes.left(size));
        EXPECT_FALSE(cut) << "cut to " << size << " bytes";
        if (!cut) {
            EXPECT_FALSE(cut.error().isEmpty());
        }
    }
    const Expected<StrokeLibrary, QString> longer = StrokeLibrary::parse(bytes + '\0');
    ASSERT_FALSE(longer);
    EXPECT_EQ(u"bytes after the last character"_s, longer.error());
}

TEST(StrokeLibrary, MalformedBytesAreRefusedWithTheirReason) {
    // The first version, without an index. Header: magic, version, count; then code, stroke
    // count, point count, points.
    const QByteArray good = withoutIndex(StrokeLibrary::encode({{U'一', kOne}, {U'日', kSun}}));
    ASSERT_TRUE(StrokeLibrary::parse(good));
    expectNear(kSun, StrokeLibrary::parse(good)->find(U'日'), "sun without an index");
    const auto refused = [&](qsizetype at, QByteArray replacement) {
        QByteArray bytes = good;
        bytes.replace(at, replacement.size(), replacement);
        const Expected<StrokeLibrary, QString> library = StrokeLibrary::parse(bytes);
        return library ? u"accepted"_s : library.error();
    };
    EXPECT_EQ(u"not a stroke file"_s, refused(0, "RKSX"));
    EXPECT_EQ(u"version 3 is not supported"_s, refused(4, QByteArray("\x03\x00", 2)));
    EXPECT_EQ(u"more characters announced than the file holds"_s,
              refused(6, QByteArray("\xff\xff\xff\xff", 4)));
    EXPECT_EQ(u"bytes after the last character"_s, refused(6, QByteArray("\x01\x00\x00\x00", 4)));
    EXPECT_EQ(u"character 1: no code point"_s, refused(10, QByteArray("\x00\x00\x00\x00", 4)));
    EXPECT_EQ(u"character 1: no code point"_s, refused(10, QByteArray("\x00\x00\x11\x00", 4)));
    EXPECT_EQ(u"character 1: no strokes"_s, refused(14, QByteArray("\x00", 1)));
    EXPECT_EQ(u"character 1: a stroke without points"_s, refused(15, QByteArray("\x00", 1)));
    // 一 takes 4 + 1 + 1 + 2 * 3 bytes; 日 follows with a smaller code.
    EXPECT_EQ(u"character 2: out of order"_s, refused(22, QByteArray("\x01\x00\x00\x00", 4)));
    EXPECT_EQ(u"character 2: cut short"_s, refused(26, QByteArray("\xff", 1)));
}

TEST(StrokeLibrary, TheIndexIsCheckedWholeAndABrokenCharacterHasNoStrokes) {
    // Header; then per character code and offset (一 first, 日 second); then the strokes.
    const QByteArray good = StrokeLibrary::encode({{U'一', kOne}, {U'日', kSun}});
    const auto parsed = [&](qsizetype at, QByteArray replacement) {
        QByteArray bytes = good;
        bytes.replace(at, replacement.size(), replacement);
        return StrokeLibrary::parse(bytes);
    };
    const auto refused = [&](qsizetype at, QByteArray replacement) {
        const Expected<StrokeLibrary, QString> library = parsed(at, replacement);
        return library ? u"accepted"_s : library.error();
    };
    EXPECT_EQ(u"character 2: out of order"_s, refused(18, QByteArray("\x01\x00\x00\x00", 4)));
    EXPECT_EQ(u"character 1: strokes outside the file"_s,
              refused(14, QByteArray("\x00\x00\x00\x00", 4)));
    EXPECT_EQ(u"character 2: strokes outside the file"_s,
              refused(22, QByteArray("\xff\xff\x00\x00", 4)));
    // 一's strokes start after the index; a stroke of no points there breaks 一 alone.
    const qsizetype oneStrokes = u32At(good, 14);
    const Expected<StrokeLibrary, QString> brokenOne = parsed(oneStrokes + 1, QByteArray(1, 0));
    ASSERT_TRUE(brokenOne);
    EXPECT_EQ(nullptr, brokenOne->find(U'一'));
    expectNear(kSun, brokenOne->find(U'日'), "sun beside a broken character");
    EXPECT_EQ(2, brokenOne->size());
}

TEST(StrokeLibrary, LoadReadsAFileAndTellsMissingFromBroken) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(u"KanjiVG.strokes"_s);
    ASSERT_TRUE(saveFileAtomically(path, sampleFile()));
    const FileResult<StrokeLibrary> loaded = loadStrokeLibrary(path);
    ASSERT_TRUE(loaded);
    expectNear(kSun, loaded->find(U'日'), "sun");
    // Found again, the strokes are the ones read the first time.
    EXPECT_EQ(loaded->find(U'日'), loaded->find(U'日'));

    ASSERT_TRUE(saveFileAtomically(path, withoutIndex(sampleFile())));
    const FileResult<StrokeLibrary> old = loadStrokeLibrary(path);
    ASSERT_TRUE(old);
    expectNear(kRare, old->find(U'𠀋'), "beyond the BMP, without an index");

    const FileResult<StrokeLibrary> missing = loadStrokeLibrary(dir.filePath(u"none"_s));
    ASSERT_FALSE(missing);
    EXPECT_EQ(FileErrorKind::NotFound, missing.error().kind);

    ASSERT_TRUE(saveFileAtomically(path, sampleFile().chopped(1)));
    const FileResult<StrokeLibrary> broken = loadStrokeLibrary(path);
    ASSERT_FALSE(broken);
    EXPECT_EQ(FileErrorKind::Malformed, broken.error().kind);
    EXPECT_TRUE(broken.error().systemText.contains(u"cut short"_s))
        << broken.error().systemText.toStdString();
}

TEST(StrokeLibrary, CommittedKanjiVgFileHoldsCurvedStrokesInTheBox) {
    const FileResult<StrokeLibrary> library =
        loadStrokeLibrary(RENKARI_SOURCE_DIR u"/data/Media/Strokes/KanjiVG.strokes"_s);
    ASSERT_TRUE(library);
    EXPECT_EQ(6703, library->size());
    const std::pair<char32_t, size_t> counts[] = {{U'日', 4},  {U'永', 5},  {U'人', 2},
                                                  {U'語', 14}, {U'鬱', 29}, {U'!', 2}};
    for (const auto& [code, strokes] : counts) {
        const StrokeList* found = library->find(code);
        ASSERT_NE(nullptr, found) << static_cast<quint32>(code);
        EXPECT_EQ(strokes, found->size()) << static_cast<quint32>(code);
    }
    // 日's first stroke starts where KanjiVG's path does, exactly up to the file's step.
    const Stroke& down = library->find(U'日')->front();
    EXPECT_NEAR(31.5f, down.front().x, kHalfStep);
    EXPECT_NEAR(24.5f, down.front().y, kHalfStep);
    EXPECT_NEAR(33.24f, down.back().x, kHalfStep) << "31.5 + 1.74 - 0.09 + 0.09";
    EXPECT_NEAR(89.5f, down.back().y, kHalfStep) << "24.5 + 4.75 + 53.5 + 6.75";
    // 人's first stroke sweeps left in a curve: its middle lies well off the chord.
    const Stroke& sweep = library->find(U'人')->front();
    ASSERT_GT(sweep.size(), 4u);
    const StrokePoint a = sweep.front();
    const StrokePoint b = sweep.back();
    const StrokePoint m = sweep[sweep.size() / 2];
    const float offChord = std::abs((b.x - a.x) * (m.y - a.y) - (b.y - a.y) * (m.x - a.x)) /
                           std::hypot(b.x - a.x, b.y - a.y);
    EXPECT_GT(offChord, 3.0f);
}
