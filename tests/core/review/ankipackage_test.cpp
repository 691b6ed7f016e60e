// Tests of the Anki import's core: packages of both forms read into records and answers, the
// records brought into a set, hostile packages refused, field markup read as text, and the
// review log written for FSRS.
#include "ankifixture.h"

#include "core/kanjiset/recordexpect.h"
#include "core/review/ankihistory.h"
#include "core/review/ankinotes.h"
#include "core/review/ankipackage.h"
#include "core/review/ankitext.h"
#include "core/review/ankizip.h"
#include "core/review/fsrsexport.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

inline void PrintTo(const TimedAnswer& a, std::ostream* os) {
    *os << "{" << a.code << " kind " << int(a.kind) << " verdict " << int(a.verdict) << " at "
        << a.time << " took " << a.duration << "}";
}

namespace {

constexpr qint64 TypeId = 1'600'000'000'123;
constexpr qint32 Hi = 0x65E5;     // 日
constexpr qint32 Tsuki = 0x6708;  // 月

// Two kanji notes (one in HTML with furigana, a sound and two examples), a word, an empty kanji
// field and an image, and their review rows, among them one without an answer.
AnkiFixture kanjiDeck() {
    AnkiFixture deck;
    AnkiCollection& c = deck.collection;
    c.noteTypes.push_back(kanjiNoteType(TypeId));
    c.notes = {
        {1,
         TypeId,
         {u"<b>日</b>"_s, u"ニチ<br>ジツ"_s, u"ひ&nbsp;&amp; か"_s, u"sun<div>day</div>"_s,
          u"日本[にほん] Japan [sound:nihon.mp3]<br>毎日[まいにち] every day"_s}},
        {2, TypeId, {u"月"_s, u"ゲツ, ガツ"_s, u"つき"_s, u"moon"_s, u""_s}},
        {3, TypeId, {u"日本"_s, u"ニホン"_s, u""_s, u"Japan"_s, u""_s}},
        {4, TypeId, {u""_s, u""_s, u""_s, u"nothing"_s, u""_s}},
        {5, TypeId, {u"<img src=\"hi.png\">"_s, u""_s, u""_s, u"a picture"_s, u""_s}},
    };
    c.cards = {{11, 1, 0}, {12, 1, 1}, {21, 2, 0}, {31, 3, 0}};
    c.reviews = {
        {1'600'000'000'000, 11, 3, 5000, 0}, {1'600'000'100'000, 12, 1, 8000, 0},
        {1'600'000'200'000, 12, 0, 0, 4},    {1'600'000'300'000, 31, 3, 100, 1},
        {1'600'086'400'500, 21, 4, 3000, 1}, {1'600'090'000'000, 12, 2, 4000, 2},
    };
    deck.media = {{u"nihon.mp3"_s, QByteArray("ID3 nihon")}, {u"hi.png"_s, QByteArray("PNG")}};
    return deck;
}

KanjiRecord expectedHi() {
    KanjiRecord r;
    r.Unicode = Hi;
    r.OnYomi = u"ニチ, ジツ"_s;
    r.KunYomi = u"ひ & か"_s;
    r.Bemerkung = u"sun, day"_s;
    r.Beispiel[0] = u"日本 (にほん) Japan"_s;
    r.SoundFile[0] = u"nihon.mp3"_s;
    r.Beispiel[1] = u"毎日 (まいにち) every day"_s;
    return r;
}

KanjiRecord expectedTsuki() {
    KanjiRecord r;
    r.Unicode = Tsuki;
    r.OnYomi = u"ゲツ, ガツ"_s;
    r.KunYomi = u"つき"_s;
    r.Bemerkung = u"moon"_s;
    return r;
}

class AnkiPackageTest : public testing::TestWithParam<AnkiForm> {
protected:
    QString path(const QString& name) const { return dir_.filePath(name); }
    QString tempRoot() const { return temp_.path(); }
    // Nothing of an unpacked collection may stay behind.
    void expectNothingLeft() const {
        EXPECT_TRUE(QDir(tempRoot()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    }
    QString write(const AnkiFixture& fixture, AnkiForm form) {
        const QString file = path(u"deck.apkg"_s);
        writeAnkiPackage(file, fixture, form, dir_.path());
        return file;
    }

    QTemporaryDir dir_;
    QTemporaryDir temp_;
};

// The whole road from package to records and answers, the same for both forms: the fields
// mapped by name, markup read as text, the dummy collection of the newer form never read.
TEST_P(AnkiPackageTest, ReadsNotesAndReviewsOfEitherForm) {
    const AnkiResult<AnkiPackage> package =
        readAnkiPackage(write(kanjiDeck(), GetParam()), tempRoot());
    ASSERT_TRUE(package) << int(package.error().problem);
    expectNothingLeft();
    ASSERT_EQ(package->collection.noteTypes.size(), 1u);
    const AnkiNoteType& type = package->collection.noteTypes.front();

    const AnkiFieldMap map = guessFieldMap(type.fields);
    EXPECT_EQ(map, (AnkiFieldMap{0, 1, 2, 3, 4}));
    const AnkiNoteRecords notes = ankiNoteRecords(package->collection, type.id, map);
    EXPECT_EQ(notes.skipped, 3);
    ASSERT_EQ(notes.records.size(), 2u);
    expectSameStoredFields(notes.records[0], expectedHi());
    expectSameStoredFields(notes.records[1], expectedTsuki());

    std::vector<AnkiAnswerKind> kinds;
    for (const AnkiTemplate& t : type.templates) {
        kinds.push_back(guessAnswerKind(t, type.fields, map));
    }
    EXPECT_EQ(kinds, (std::vector{AnkiAnswerKind::Meaning, AnkiAnswerKind::Writing}));
    const std::vector<TimedAnswer> answers =
        ankiAnswers(package->collection, notes.codeOfNote, type.templates, kinds);
    EXPECT_EQ(answers, (std::vector<TimedAnswer>{
                           {Hi, AnswerKind::Meaning, Grade::Right, 1'600'000'000'000, 5000},
                           {Hi, AnswerKind::Kanji, Grade::Wrong, 1'600'000'100'000, 8000},
                           {Tsuki, AnswerKind::Meaning, Grade::Easy, 1'600'086'400'500, 3000},
                           {Hi, AnswerKind::Kanji, Grade::Partly, 1'600'090'000'000, 4000},
                       }));
    EXPECT_EQ(reviewEntryOf(answers[2]).time, 1'600'086'400);

    // A template taken as "nicht übernehmen" brings no answers.
    kinds[1] = AnkiAnswerKind::Skip;
    EXPECT_EQ(ankiAnswers(package->collection, notes.codeOfNote, type.templates, kinds).size(), 2u);

    const AnkiMediaFile* sound = package->mediaNamed(u"nihon.mp3"_s);
    ASSERT_NE(sound, nullptr);
    const AnkiResult<QByteArray> bytes = readAnkiMedia(*package, *sound);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, QByteArray("ID3 nihon"));
}

INSTANTIATE_TEST_SUITE_P(Forms, AnkiPackageTest,
                         testing::Values(AnkiForm::Schema11, AnkiForm::Schema18));

// A kanji the set holds is filled where it is empty and never added twice; the same deck again
// changes nothing.
TEST(AnkiRecords, FillKnownKanjiAndAddNothingTwice) {
    KanjiSet set;
    KanjiRecord hi = makeKanji(7, Hi, u"ニチ"_s);
    hi.Beispiel[0] = u"日本 (にほん) Japan"_s;
    set.records = {makeKanji(3, 0x4E00, u"イチ"_s), hi};
    set.current = 1;

    const AnkiMergeOutcome first = addAnkiRecords(set, {expectedHi(), expectedTsuki()});
    EXPECT_EQ(first.added, 1);
    EXPECT_EQ(first.filled, 1);
    EXPECT_EQ(first.sounds, QStringList{u"nihon.mp3"_s});
    ASSERT_EQ(set.size(), 3);
    KanjiRecord filled = expectedHi();
    filled.Idx1 = 7;
    filled.OnYomi = u"ニチ"_s;
    expectSameStoredFields(set.records[1], filled);
    KanjiRecord added = expectedTsuki();
    added.Idx1 = 8;
    expectSameStoredFields(set.records[2], added);

    const std::vector<KanjiRecord> before = set.records;
    const AnkiMergeOutcome again = addAnkiRecords(set, {expectedHi(), expectedTsuki()});
    EXPECT_EQ(again.added, 0);
    EXPECT_EQ(again.filled, 0);
    EXPECT_TRUE(again.sounds.isEmpty());
    expectSameRecords(set.records, before);
}

struct HostileCase {
    const char* name;
    std::function<void(const QString& file, const QString& folder)> write;
    AnkiProblem problem;
    QString detail;
};

AnkiFixture withNote(const QString& fields) {
    AnkiFixture deck;
    deck.collection.noteTypes.push_back(kanjiNoteType(TypeId));
    deck.collection.notes.push_back({1, TypeId, fields.split(QChar(0x1F))});
    return deck;
}

// Every package that is not what it claims is refused with its reason, and nothing of it is
// left in the temporary folder.
TEST(AnkiPackage, RefusesHostilePackages) {
    QTemporaryDir dir;
    const QString collection = dir.filePath(u"c"_s);
    writeAnkiCollection(collection, kanjiDeck().collection, AnkiForm::Schema18);
    QFile file(collection);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray sqlite = file.readAll();

    const std::vector<HostileCase> cases{
        {"not a zip",
         [](const QString& f, const QString&) {
             QFile out(f);
             ASSERT_TRUE(out.open(QIODevice::WriteOnly));
             out.write("PK\x03\x04 this is no zip at all");
         },
         AnkiProblem::NotZip,
         {}},
        {"member leaving its folder",
         [&](const QString& f, const QString&) {
             writeZip(f, {{u"collection.anki2"_s, sqlite}, {u"../evil"_s, "x"}});
         },
         AnkiProblem::MemberNamedLikePath, u"../evil"_s},
        {"absolute member",
         [&](const QString& f, const QString&) {
             writeZip(f, {{u"collection.anki2"_s, sqlite}, {u"/etc/evil"_s, "x"}});
         },
         AnkiProblem::MemberNamedLikePath, u"/etc/evil"_s},
        {"media file named like a path",
         [&](const QString& f, const QString&) {
             writeZip(f, {{u"collection.anki2"_s, sqlite},
                          {u"0"_s, "x"},
                          {u"media"_s, R"({"0": "../../.bashrc"})"}});
         },
         AnkiProblem::MediaNamedLikePath, u"../../.bashrc"_s},
        {"collection not SQLite",
         [](const QString& f, const QString&) {
             writeZip(f, {{u"collection.anki21"_s, QByteArray(4096, 'z')}});
         },
         AnkiProblem::NotSqlite, u"collection.anki21"_s},
        {"zstd stream cut short",
         [&](const QString& f, const QString&) {
             const QByteArray packed = zstdCompressed(sqlite);
             writeZip(f, {{u"meta"_s, protoField(1, quint64(3))},
                          {u"collection.anki21b"_s, packed.left(packed.size() / 2)}});
         },
         AnkiProblem::BadStream, u"collection.anki21b"_s},
        {"meta naming a collection that is not there",
         [&](const QString& f, const QString&) {
             writeZip(f, {{u"meta"_s, protoField(1, quint64(3))}, {u"collection.anki2"_s, sqlite}});
         },
         AnkiProblem::NoCollection, u"collection.anki21b"_s},
        {"note with ten thousand fields",
         [](const QString& f, const QString& folder) {
             writeAnkiPackage(f, withNote(QString(10'000, QChar(0x1F))), AnkiForm::Schema11,
                              folder);
         },
         AnkiProblem::TooManyFields, u"Kanji"_s},
    };
    for (const HostileCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QString package = dir.filePath(u"hostile.apkg"_s);
        QFile::remove(package);
        c.write(package, dir.path());
        QTemporaryDir temp;
        const AnkiResult<AnkiPackage> read = readAnkiPackage(package, temp.path());
        ASSERT_FALSE(read);
        EXPECT_EQ(read.error().problem, c.problem);
        EXPECT_EQ(read.error().detail, c.detail);
        EXPECT_TRUE(QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    }

    // A stream that unpacks beyond what may be taken stops there, without holding it all.
    const QString bomb = dir.filePath(u"bomb.apkg"_s);
    writeZip(bomb, {{u"big"_s, zstdCompressed(QByteArray(4 << 20, '\0'))}});
    const AnkiResult<AnkiArchive> archive = AnkiArchive::open(bomb);
    ASSERT_TRUE(archive);
    const AnkiResult<QByteArray> read = archive->read(u"big"_s, MemberCompression::Zstd, 1 << 20);
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().problem, AnkiProblem::TooLarge);
}

// Fields arrive as a learner reads them.
TEST(AnkiText, ReadsMarkupAsText) {
    const struct {
        QString html;
        QStringList lines;
        QStringList sounds;
    } cases[] = {
        {u"<div>食べる[たべる]</div><div>to eat&nbsp;</div>"_s,
         {u"食べる (たべる)"_s, u"to eat"_s},
         {}},
        {u"日本語[にほんご]を 勉強[べんきょう]する"_s,
         {u"日本語 (にほんご)を 勉強 (べんきょう)する"_s},
         {}},
        {u"go [formal] &lt;b&gt; &#x6F22;&#23383;"_s, {u"go [formal] <b> 漢字"_s}, {}},
        {u"<script>alert('x')</script><style>b{}</style>A<br/>B <i>c</i>"_s,
         {u"A"_s, u"B c"_s},
         {}},
        {u"雨 (あめ) rain<br>[sound:ame.mp3]<br>[sound:]"_s, {u"雨 (あめ) rain"_s}, {u"ame.mp3"_s}},
        {u"a < b &bogus; &#0;"_s, {u"a < b &bogus; &#0;"_s}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.html.toStdString());
        const AnkiFieldText field = cleanAnkiField(c.html);
        EXPECT_EQ(field.lines, c.lines);
        QStringList sounds;
        for (const AnkiFieldText::Sound& sound : field.sounds) {
            sounds << sound.name;
            EXPECT_EQ(sound.line, 0);
        }
        EXPECT_EQ(sounds, c.sounds);
    }
}

// The states follow each card: learning first, relearning after a wrong answer until a right
// one, review otherwise; seeds stay out, durations come along.
TEST(FsrsExport, WritesTheLogAsTheOptimiserReadsIt) {
    ReviewEntry seed;
    seed.type = ReviewEntryType::Seed;
    seed.code = Hi;
    seed.right = 3;
    const std::vector<ReviewEntry> entries{
        seed,
        answerEntry(100, Hi, AnswerKind::On, Grade::Wrong),
        answerEntry(200, Hi, AnswerKind::Meaning, Grade::Right),
        answerEntry(300, Hi, AnswerKind::On, Grade::Partly),
        answerEntry(400, Hi, AnswerKind::On, Grade::Easy),
        answerEntry(500, Hi, AnswerKind::On, Grade::Right, 4200),
    };
    const qint64 on = qint64(Hi) * 4;
    const qint64 meaning = qint64(Hi) * 4 + 2;
    const QByteArray expected =
        "card_id,review_time,review_rating,review_state,review_duration\n" +
        QByteArray::number(on) + ",100000,1,1,0\n" + QByteArray::number(meaning) +
        ",200000,3,1,0\n" + QByteArray::number(on) + ",300000,2,3,0\n" + QByteArray::number(on) +
        ",400000,4,3,0\n" + QByteArray::number(on) + ",500000,3,2,4200\n";
    EXPECT_EQ(fsrsReviewCsv(entries), expected);
}

}  // namespace
