// The demo set made from the real Debian files, read back with the program's own set reader.
#include "makedemoset/demodata.h"
#include "common/gunzip.h"
#include "makedemoset/jlptset.h"

#include "base/files.h"
#include "core/kanjiset/genshilist.h"
#include "core/kanjiset/setfile.h"
#include "core/training/meaningcheck.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <unordered_map>
#include <utility>

namespace {

const QString kKanjidic = u"/usr/share/edict/kanjidic2.xml.gz"_qs;
const QString kEdict = u"/usr/share/edict/edict"_qs;
const QString kFreedict = u"/usr/share/dictd/freedict-jpn-deu.index"_qs;
const QString kGenshiList = RENKARI_SOURCE_DIR u"/data/Media/Genshi/Genshiliste.txt"_qs;
const QString kStrokeFile = RENKARI_SOURCE_DIR u"/data/Media/Strokes/KanjiVG.strokes"_qs;

StrokeLibrary libraryOf(const std::vector<std::pair<char32_t, StrokeList>>& characters) {
    return *StrokeLibrary::parse(StrokeLibrary::encode(characters));
}

// Loading both sources takes a moment, so the suite does it once.
class DemoData : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        entries_ = loadKanjidic(kKanjidic);
        if (FileResult<StrokeLibrary> strokes = loadStrokeLibrary(kStrokeFile)) {
            strokes_ = std::move(*strokes);
        }
        if (entries_) {
            const std::optional<std::vector<KanjiRecord>> read =
                parseSetFile(writeSetFile(buildJlptSet(*entries_, [](char32_t) { return true; })));
            if (read) {
                set_ = *read;
            }
        }
    }

    void SetUp() override {
        ASSERT_TRUE(entries_.has_value()) << "scripts/setup installs kanjidic-xml";
        ASSERT_TRUE(strokes_.has_value()) << "tools/makestrokes writes the stroke file";
        ASSERT_FALSE(set_.empty()) << "the written set must read back";
    }

    static const KanjiRecord* find(char32_t code) {
        const auto found = std::find_if(set_.begin(), set_.end(), [&](const KanjiRecord& r) {
            return r.Unicode == static_cast<qint32>(code);
        });
        return found == set_.end() ? nullptr : &*found;
    }

    static const KanjidicEntry* entryOf(char32_t code) {
        const auto found =
            std::find_if(entries_->begin(), entries_->end(),
                         [&](const KanjidicEntry& e) { return e.codePoint == code; });
        return found == entries_->end() ? nullptr : &*found;
    }

    static inline std::optional<std::vector<KanjidicEntry>> entries_;
    static inline std::optional<StrokeLibrary> strokes_;
    static inline std::vector<KanjiRecord> set_;
};

}  // namespace

TEST_F(DemoData, HoldsEveryKanjiWithAJlptLevelOnce) {
    // Counted on the raw text, independently of the reader.
    const QByteArray xml = *gunzip(*readWholeFile(kKanjidic), qsizetype(256) << 20);
    const qsizetype tagged = xml.count("<jlpt>");
    EXPECT_GT(tagged, 2000);
    EXPECT_EQ(tagged, static_cast<qsizetype>(set_.size()));
    std::map<qint32, int> seen;
    for (const KanjiRecord& record : set_) {
        EXPECT_EQ(1, ++seen[record.Unicode]) << "code " << record.Unicode;
    }
}

TEST_F(DemoData, KnownKanjiCarryTheirReadingsLevelAndRadical) {
    const KanjiRecord* sun = find(U'日');
    ASSERT_NE(nullptr, sun);
    EXPECT_EQ(4, sun->Idx2);
    EXPECT_EQ(u"ニチ、ジツ"_qs, sun->OnYomi);
    EXPECT_TRUE(sun->KunYomi.startsWith(u"ひ、"_qs)) << sun->KunYomi.toStdString();
    EXPECT_TRUE(sun->Bemerkung.startsWith(u"day, sun, Japan"_qs)) << sun->Bemerkung.toStdString();
    EXPECT_EQ(u"71,"_qs, sun->Genshi);
    EXPECT_EQ(u"26085.png"_qs, sun->Anim);

    const KanjiRecord* water = find(U'水');
    ASSERT_NE(nullptr, water);
    EXPECT_EQ(4, water->Idx2);
    EXPECT_EQ(u"スイ"_qs, water->OnYomi);
    EXPECT_TRUE(water->KunYomi.split(u'、').contains(u"みず"_qs)) << water->KunYomi.toStdString();
    EXPECT_TRUE(water->Bemerkung.startsWith(u"water"_qs));
    EXPECT_EQ(u"84,"_qs, water->Genshi);

    const KanjiRecord* person = find(U'人');
    ASSERT_NE(nullptr, person);
    EXPECT_EQ(4, person->Idx2);
    EXPECT_EQ(u"ジン、ニン"_qs, person->OnYomi);
    EXPECT_TRUE(person->KunYomi.split(u'、').contains(u"ひと"_qs)) << person->KunYomi.toStdString();
    EXPECT_EQ(u"8,"_qs, person->Genshi);

    EXPECT_EQ(1, set_.front().Idx1) << "the most frequent level-4 kanji leads";
    EXPECT_EQ(u"26085.png"_qs, set_.front().Anim);
}

TEST_F(DemoData, IndexFollowsLevelThenFrequencyRank) {
    for (size_t i = 0; i < set_.size(); ++i) {
        ASSERT_EQ(static_cast<qint32>(i + 1), set_[i].Idx1);
    }
    for (size_t i = 1; i < set_.size(); ++i) {
        const KanjidicEntry* before = entryOf(static_cast<char32_t>(set_[i - 1].Unicode));
        const KanjidicEntry* after = entryOf(static_cast<char32_t>(set_[i].Unicode));
        ASSERT_NE(nullptr, before);
        ASSERT_NE(nullptr, after);
        ASSERT_GE(before->jlptLevel, after->jlptLevel) << "at Idx1 " << set_[i].Idx1;
        if (before->jlptLevel == after->jlptLevel) {
            const int rankBefore = before->frequencyRank > 0 ? before->frequencyRank : 1 << 30;
            const int rankAfter = after->frequencyRank > 0 ? after->frequencyRank : 1 << 30;
            ASSERT_LE(rankBefore, rankAfter) << "at Idx1 " << set_[i].Idx1;
            if (rankBefore == rankAfter) {
                ASSERT_LT(before->codePoint, after->codePoint) << "at Idx1 " << set_[i].Idx1;
            }
        }
    }
}

TEST_F(DemoData, StripHasOneFramePerStrokeAndChangesFromFirstToLast) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char32_t code : {U'日', U'水', U'人', U'語'}) {
        const StrokeList* strokes = strokes_->find(code);
        ASSERT_NE(nullptr, strokes) << "code " << static_cast<quint32>(code);
        const QString path = dir.filePath(stripFileName(code));
        ASSERT_TRUE(writeStrip(*strokes, path));
        const QImage strip(path);
        ASSERT_FALSE(strip.isNull()) << path.toStdString();
        EXPECT_EQ(100 * entryOf(code)->strokeCount, strip.width())
            << "code " << static_cast<quint32>(code);
        EXPECT_EQ(100, strip.height());
        const int last = strip.width() / 100 - 1;
        EXPECT_NE(strip.copy(0, 0, 100, 100), strip.copy(100 * last, 0, 100, 100))
            << "code " << static_cast<quint32>(code);
    }
}

TEST(WriteDemoData, NamesExactlyTheStripsItWrote) {
    KanjidicEntry sun;
    sun.codePoint = U'日';
    sun.jlptLevel = 4;
    sun.frequencyRank = 1;
    KanjidicEntry water = sun;
    water.codePoint = U'水';
    water.frequencyRank = 2;
    KanjidicEntry unlisted = sun;
    unlisted.codePoint = U'人';
    unlisted.jlptLevel = 0;
    const StrokeLibrary strokes = libraryOf(
        {{U'日', {{{10, 10}, {90, 90}}, {{10, 90}, {90, 10}}}}, {U'人', {{{10, 10}, {90, 90}}}}});

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const DemoReport report = writeDemoData({sun, water, unlisted}, strokes, dir.path());
    ASSERT_TRUE(report.ok) << report.error.toStdString();
    EXPECT_EQ(2, report.kanjiCount);
    EXPECT_EQ(1, report.stripCount);

    const auto bytes = readWholeFile(dir.filePath(u"Media/JLPT.rki"_qs));
    ASSERT_TRUE(bytes.has_value());
    const std::optional<std::vector<KanjiRecord>> set = parseSetFile(*bytes);
    ASSERT_TRUE(set.has_value());
    ASSERT_EQ(2u, set->size());
    EXPECT_EQ(u"26085.png"_qs, set->at(0).Anim);
    EXPECT_EQ(QString(), set->at(1).Anim) << "no stroke data, no strip";
    EXPECT_EQ(200, QImage(dir.filePath(u"Media/JLPT/Anim/26085.png"_qs)).width());
    EXPECT_FALSE(QFile::exists(dir.filePath(u"Media/JLPT/Anim/20154.png"_qs)))
        << "kanji outside the set get no strip";
}

TEST(WriteDemoData, AStripThatCannotBeWrittenStopsBeforeTheSet) {
    KanjidicEntry sun;
    sun.codePoint = U'日';
    sun.jlptLevel = 4;
    const StrokeLibrary strokes = libraryOf({{U'日', {{{10, 10}, {90, 90}}}}});
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A folder in the strip's place: the save cannot replace it (even as root).
    ASSERT_TRUE(QDir(dir.path()).mkpath(u"Media/JLPT/Anim/26085.png"_qs));

    const DemoReport report = writeDemoData({sun}, strokes, dir.path());
    EXPECT_FALSE(report.ok);
    EXPECT_TRUE(report.error.endsWith(u"26085.png"_qs)) << report.error.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath(u"Media/JLPT.rki"_qs)));
}

TEST(MakeDemoData, ReportsMissingSourcesAndWritesNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const DemoReport report = makeDemoData(
        {dir.filePath(u"missing.xml.gz"_qs), kEdict, kFreedict, kGenshiList, kStrokeFile},
        dir.path());
    EXPECT_FALSE(report.ok);
    EXPECT_TRUE(report.error.contains(u"missing.xml.gz"_qs)) << report.error.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath(u"Media"_qs)));

    const QString brokenStrokes = dir.filePath(u"broken.strokes"_qs);
    ASSERT_TRUE(saveFileAtomically(brokenStrokes, "RKSL"));
    const DemoReport broken =
        makeDemoData({kKanjidic, kEdict, kFreedict, kGenshiList, brokenStrokes}, dir.path());
    EXPECT_FALSE(broken.ok);
    EXPECT_TRUE(broken.error.contains(u"broken.strokes: too short"_qs))
        << broken.error.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath(u"Media"_qs)));
}

// The set as a German learner meets it, made from the real dictionaries: German meanings that
// the meaning check accepts, and the examples a learner needs.
TEST_F(DemoData, GermanMeaningsAndExamplesFromTheRealDictionaries) {
    const std::optional<std::vector<EdictWord>> words = loadEdict(kEdict);
    ASSERT_TRUE(words.has_value()) << "scripts/setup installs edict";
    const std::optional<GermanDictionary> german = GermanDictionary::load(kFreedict);
    ASSERT_TRUE(german.has_value()) << "scripts/setup installs dict-freedict-jpn-deu";
    const std::vector<GenshiEntry> genshi = readGenshiListFile(kGenshiList).value_or({});
    ASSERT_FALSE(genshi.empty());

    std::unordered_map<char32_t, KanjiFacts> facts;
    for (const KanjidicEntry& entry : *entries_) {
        facts.emplace(entry.codePoint, KanjiFacts{entry.frequencyRank, entry.jlptLevel});
    }
    const std::unordered_map<char32_t, Examples> examples = chooseExamples(*words, facts, &*german);
    int withGerman = 0;
    const std::vector<KanjiRecord> set = buildJlptSet(
        *entries_, [](char32_t) { return false; },
        [&](char32_t code) {
            const auto found = examples.find(code);
            return found == examples.end() ? Examples{} : found->second;
        },
        [&](const KanjidicEntry& entry) {
            const GermanMeanings meanings = germanMeaningsOf(entry, *german, genshi);
            withGerman += meanings.source != MeaningSource::EnglishOnly ? 1 : 0;
            return bemerkungOf(meanings.meanings, entry.meanings);
        });
    ASSERT_EQ(set.size(), set_.size());
    EXPECT_GE(withGerman * 100, static_cast<int>(set.size()) * 85)
        << withGerman << " of " << set.size() << " with German meanings";

    const auto recordOf = [&](char32_t code) {
        const auto found = std::find_if(set.begin(), set.end(), [&](const KanjiRecord& r) {
            return r.Unicode == static_cast<qint32>(code);
        });
        return found == set.end() ? KanjiRecord{} : *found;
    };
    for (const auto& [code, answer] : {std::pair{U'日', u"Sonne"_qs},
                                       {U'日', u"sun"_qs},
                                       {U'人', u"Mensch"_qs},
                                       {U'足', u"Fuss"_qs},
                                       {U'足', u"der Fuß"_qs},
                                       {U'一', u"ein"_qs}}) {
        const KanjiRecord record = recordOf(code);
        EXPECT_EQ(Grade::Right, compareMeaning(record.Bemerkung, answer))
            << record.Bemerkung.toStdString() << " / " << answer.toStdString();
    }
    const Examples learn = recordOf(U'学').Beispiel;
    EXPECT_TRUE(std::any_of(learn.begin(), learn.end(),
                            [](const QString& e) { return e.startsWith(u"学生 (がくせい) "_qs); }))
        << learn[0].toStdString() << " / " << learn[1].toStdString();
    for (const QString& example : recordOf(U'本').Beispiel) {
        EXPECT_FALSE(example.startsWith(u"本の "_qs)) << example.toStdString();
    }
}
