// Tests of the set file writer (byte-exact) and reader (positions, encodings, line breaks).
#include "core/kanjiset/setfile.h"

#include "base/files.h"
#include "core/kanjiset/recordexpect.h"
#include "core/shell/texttables.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

QString fixturePath(const QString& name) {
    return QStringLiteral(RENKARI_TEST_DATA "/setfile/") + name;
}

QByteArray fixture(const QString& name) {
    const auto bytes = readWholeFile(fixturePath(name));
    EXPECT_TRUE(bytes.has_value()) << name.toStdString();
    return bytes.value_or(QByteArray());
}

QString fromUtf16le(const QByteArray& bytes) {
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()),
                              bytes.size() / 2);
}

// The records that written.rki holds.
std::vector<KanjiRecord> writtenRecords() {
    KanjiRecord sun = makeKanji(7, 26085, u"ニチ、ジツ"_qs, 2);
    sun.Anim = u"26085.png"_qs;
    sun.KunYomi = u"ひ、-び、-か"_qs;
    sun.Bemerkung = u"Sonne & Tag <Zeichen>\r\nzweite Zeile\r\ndritte"_qs;
    sun.Genshi = u"12,40,"_qs;
    sun.Beispiel = {u"日本 (にほん) Japan"_qs, QString(), u"毎日"_qs, QString()};
    sun.SoundFile = {u"nihon.wav"_qs, u"Tom's \"Tag\".wav"_qs, QString(), QString()};

    KanjiRecord scold;
    scold.Idx1 = -5;
    scold.Unicode = 0x20B9F;
    scold.KunYomi = u"しか.る"_qs;
    scold.Beispiel[3] = QString::fromUcs4(U"\U00020B9Fる");

    return {sun, scold, KanjiRecord()};
}

TEST(SetFileWrite, WritesTheExpectedBytes) {
    const QByteArray expected = fixture(u"written.rki"_qs);
    const QByteArray written = writeSetFile(writtenRecords());
    EXPECT_EQ(fromUtf16le(written), fromUtf16le(expected));
    EXPECT_EQ(written, expected);
}

TEST(SetFileWrite, EmptySetIsAnEmptyRootElement) {
    EXPECT_EQ(writeSetFile({}), fixture(u"empty.rki"_qs));
}

TEST(SetFileWrite, AttributeTabsAndLineBreaksSurvive) {
    KanjiRecord record;
    record.Anim = u"a\tb.png"_qs;
    record.SoundFile[1] = u"x\ny\r\nz\r"_qs;
    const QByteArray written = writeSetFile({record});
    EXPECT_TRUE(fromUtf16le(written).contains(u"SoundFile=\"x&#10;y&#13;&#10;z&#13;\""_qs));

    const auto parsed = parseSetFile(written);
    ASSERT_TRUE(parsed.has_value());
    expectSameRecords(*parsed, {record});
}

TEST(SetFileWrite, CharactersXmlCannotCarryAreLeftOutSoTheFileStaysReadable) {
    KanjiRecord record;
    record.Idx1 = 3;
    record.Bemerkung =
        u"a"_qs + QChar(0x0001) + u"b"_qs + QChar(0xFFFE) + u"c"_qs + QChar(0xD800) + u"d"_qs;
    record.OnYomi = u"\x0008keep"_qs;
    const auto parsed = parseSetFile(writeSetFile({record}));
    ASSERT_TRUE(parsed.has_value());
    ASSERT_EQ(parsed->size(), 1u);
    EXPECT_EQ(parsed->front().Idx1, 3);
    EXPECT_EQ(parsed->front().Bemerkung, u"abcd"_qs);
    EXPECT_EQ(parsed->front().OnYomi, u"keep"_qs);
}

TEST(SetFileRead, ReadsBackEveryStoredField) {
    const auto parsed = parseSetFile(fixture(u"written.rki"_qs));
    ASSERT_TRUE(parsed.has_value());
    expectSameRecords(*parsed, writtenRecords());
}

TEST(SetFileRead, SupplementaryKanjiSurvivesARoundTrip) {
    KanjiRecord record;
    record.Unicode = 0x20B9F;
    record.Anim = u"134047.png"_qs;
    record.Bemerkung = QString::fromUcs4(U"\U00020B9F (schelten)");
    const auto parsed = parseSetFile(writeSetFile({record}));
    ASSERT_TRUE(parsed.has_value());
    expectSameRecords(*parsed, {record});
    EXPECT_EQ(parsed->front().Bemerkung.toUcs4().front(), 0x20B9Fu);
}

TEST(SetFileRead, EmptyRootGivesAnEmptySet) {
    const auto parsed = parseSetFile(fixture(u"empty.rki"_qs));
    ASSERT_TRUE(parsed.has_value());
    EXPECT_TRUE(parsed->empty());
}

TEST(SetFileRead, AnAnimThatIsNoBareFileNameCountsAsNone) {
    std::vector<KanjiRecord> records(5);
    records[0].Anim = u"../../../../elsewhere/x.png"_qs;
    records[1].Anim = u"/etc/x.png"_qs;
    records[2].Anim = u"..\\x.png"_qs;
    records[3].Anim = u".."_qs;
    records[4].Anim = u"27700 (2).png"_qs;
    const auto parsed = parseSetFile(writeSetFile(records));
    ASSERT_TRUE(parsed.has_value());
    ASSERT_EQ(parsed->size(), 5u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(parsed->at(i).Anim, QString()) << i;
    }
    EXPECT_EQ(parsed->at(4).Anim, records[4].Anim);
    // The stroke-order element's attribute alone is taken the same way.
    const QByteArray attributeOnly =
        "<?xml version=\"1.0\"?><Set><Kanji1 Idx1=\"1\" Idx2=\"0\" Unicode=\"27700\">"
        "<StrokeOrderImage Nr1=\"../x.png\"/></Kanji1></Set>";
    const auto fromAttribute = parseSetFile(attributeOnly);
    ASSERT_TRUE(fromAttribute.has_value());
    ASSERT_EQ(fromAttribute->size(), 1u);
    EXPECT_EQ(fromAttribute->at(0).Anim, QString());
}

TEST(SetFileRead, NodesAreReadByPositionNotByName) {
    const auto parsed = parseSetFile(fixture(u"positional.rki"_qs));
    ASSERT_TRUE(parsed.has_value());

    KanjiRecord first;  // attributes Unicode, Idx1, Idx2 in that order
    first.Idx1 = 26085;
    first.Idx2 = 5;
    first.Unicode = 2;
    first.Anim = u"x.png"_qs;  // the fourth child replaces the first child's attribute
    first.OnYomi = u"nichi"_qs;
    first.KunYomi = u"<hi>"_qs;
    first.Bemerkung = u"Sonne"_qs;
    first.Genshi = u"12,40,"_qs;
    first.Beispiel = {u"b1"_qs, u"b2"_qs, QString(), u"b4"_qs};
    first.SoundFile = {u"s1.wav"_qs, QString(), u"s3.wav"_qs, u"s4.wav"_qs};

    const KanjiRecord comment;

    KanjiRecord shortKanji;
    shortKanji.Idx1 = 16;
    shortKanji.Idx2 = -3;
    shortKanji.OnYomi = u"only two children"_qs;

    const KanjiRecord bare;

    KanjiRecord withComments;  // a comment and a processing instruction hold positions 2 and 4
    withComments.Idx1 = 5;
    withComments.KunYomi = u"kun"_qs;
    withComments.Bemerkung = u"b"_qs;

    expectSameRecords(*parsed, {first, comment, shortKanji, bare, withComments});
}

TEST(SetFileRead, EveryDeclaredEncodingGivesTheSameRecord) {
    KanjiRecord water = makeKanji(1, 27700, u"SUI"_qs, 4);
    water.Anim = u"27700.png"_qs;
    water.KunYomi = u"mizu"_qs;
    water.Bemerkung = u"Wasser, Flüssigkeit; Größe"_qs;
    water.Genshi = u"3,"_qs;
    water.Beispiel[0] = u"Übung"_qs;
    water.SoundFile[0] = u"mizu.wav"_qs;

    for (const char* name :
         {"utf16le.rki", "utf16le-bom.rki", "utf16be-bom.rki", "utf8.rki", "latin1.rki"}) {
        SCOPED_TRACE(name);
        const auto parsed = parseSetFile(fixture(u"encoding/"_qs + QString::fromLatin1(name)));
        ASSERT_TRUE(parsed.has_value());
        expectSameRecords(*parsed, {water});
    }
}

TEST(SetFileRead, LineBreaksTakeTheFormOfTheFirstBreakInTheFile) {
    const struct {
        const char* file;
        QString lineBreak;
    } cases[] = {{"crlf.rki", u"\r\n"_qs},
                 {"lf.rki", u"\n"_qs},
                 {"cr.rki", u"\r"_qs},
                 {"cr-utf16be.rki", u"\r"_qs}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const auto parsed = parseSetFile(fixture(u"linebreak/"_qs + QString::fromLatin1(c.file)));
        ASSERT_TRUE(parsed.has_value());
        ASSERT_EQ(parsed->size(), 1u);
        const QString& b = c.lineBreak;
        EXPECT_EQ(parsed->front().Bemerkung,
                  u"eins"_qs + b + u"ein Strich"_qs + b + u"Ende"_qs + b + u"x"_qs + b + u"y"_qs);
        EXPECT_EQ(parsed->front().Beispiel[0], u"erste"_qs + b + u"zweite"_qs);
        EXPECT_EQ(parsed->front().OnYomi, u"ICHI"_qs);
    }
}

TEST(SetFileRead, RefusesEmptyAndMalformedInput) {
    const QByteArray written = fixture(u"written.rki"_qs);
    for (const QByteArray& bytes : {
             QByteArray(),
             QByteArray("not xml"),
             QByteArray("<?xml version=\"1.0\"?>"),
             QByteArray("<Renkari><Kanji1></Renkari>"),
             QByteArray("<Renkari/><Renkari/>"),
             QByteArray("<Renkari>&undefined;</Renkari>"),
             QByteArray("<?xml version=\"1.0\" encoding=\"KOI8-R\"?><Renkari/>"),
             written.left(written.size() / 2),
             written.left(written.size() - 1),
         }) {
        EXPECT_FALSE(parseSetFile(bytes).has_value()) << bytes.left(60).toStdString();
    }
}

TEST(SetFileRead, RefusesEntityDeclarations) {
    for (const char* name :
         {"billion-laughs.rki", "external-entity.rki", "external-parameter-entity.rki"}) {
        EXPECT_FALSE(parseSetFile(fixture(u"hostile/"_qs + QString::fromLatin1(name))).has_value())
            << name;
    }
}

TEST(SetFileRead, NeverLoadsAnExternalDtd) {
    const auto parsed = parseSetFile(fixture(u"hostile/external-dtd.rki"_qs));
    ASSERT_TRUE(parsed.has_value());
    ASSERT_EQ(parsed->size(), 1u);
    EXPECT_EQ(parsed->front().OnYomi, u"ab"_qs);
}

TEST(SetFileRead, RefusesMoreRecordsThanAnySetHolds) {
    const auto filled = [](int count) {
        return QByteArray("<R>") + QByteArray("<a/>").repeated(count) + QByteArray("</R>");
    };
    const auto largest = parseSetFile(filled(1 << 18));
    ASSERT_TRUE(largest.has_value());
    EXPECT_EQ(largest->size(), std::size_t(1) << 18);
    EXPECT_FALSE(parseSetFile(filled((1 << 18) + 1)).has_value());
}

// Inputs the fuzzer produced on odd paths (line breaks between elements, CDATA, comments in
// odd places, broken UTF-16) and any crasher it finds: each must be handled quietly, and
// whatever parses must survive a write and a second parse unchanged.
TEST(SetFileRead, FuzzFindingsAreHandled) {
    const QDir dir(fixturePath(u"fuzz"_qs));
    const QStringList names = dir.entryList(QDir::Files);
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const auto parsed = parseSetFile(fixture(u"fuzz/"_qs + name));
        if (parsed) {
            const auto again = parseSetFile(writeSetFile(*parsed));
            ASSERT_TRUE(again.has_value());
            expectSameRecords(*again, *parsed);
        }
    }
}

}  // namespace

namespace {

// A set file's bytes in UTF-16 with a byte-order mark.
QByteArray utf16(const QString& text, bool bigEndian) {
    QByteArray bytes;
    for (const QChar c : QChar(0xFEFF) + text) {
        const char high = char(c.unicode() >> 8);
        const char low = char(c.unicode() & 0xFF);
        bytes.append(bigEndian ? high : low).append(bigEndian ? low : high);
    }
    return bytes;
}

// count records of varied content as the program writes them.
std::vector<KanjiRecord> manyRecords(int count) {
    std::vector<KanjiRecord> records;
    for (int i = 0; i < count; ++i) {
        KanjiRecord record = makeKanji(i + 1, 0x4E00 + i, u"オン"_qs + QString::number(i), i % 5);
        record.KunYomi = i % 3 == 0 ? QString() : u"くん.よみ"_qs;
        record.Bemerkung = u"Bedeutung & <mehr>\r\nZeile "_qs + QString::number(i);
        record.Beispiel[i % 4] = u"例 "_qs + QString::number(i);
        record.SoundFile[i % 4] = QString::number(i) + u".wav"_qs;
        records.push_back(record);
    }
    return records;
}

// A record element of the positional layout whose Bemerkung is text.
QString recordElement(int index, const QString& text = {}) {
    return u"<K%1 Idx1=\"%1\" Idx2=\"1\" Unicode=\"%2\"><S/><On>on</On><Kun/><A/><B>%3</B>"
           u"<G>1,</G></K%1>"_qs.arg(index)
               .arg(0x4E00 + index)
               .arg(text);
}

QString recordElements(int from, int count) {
    QString elements;
    for (int i = from; i < from + count; ++i) {
        elements += recordElement(i);
    }
    return elements;
}

std::optional<std::vector<KanjiRecord>> inOnePass(const QByteArray& bytes) {
    // Small files are always read in one pass.
    EXPECT_LT(bytes.size(), 1 << 20);
    return parseSetFile(bytes);
}

// Reading in halves may give up, but never gives other records than one pass.
void expectHalvesAgreeWithOnePass(const QByteArray& bytes) {
    const auto halves = parseSetFileInHalves(bytes);
    const auto whole = inOnePass(bytes);
    if (halves) {
        ASSERT_TRUE(whole.has_value());
        expectSameRecords(*halves, *whole);
    }
}

TEST(SetFileReadInHalves, ASetAsTheProgramWritesItReadsAsInOnePass) {
    const QByteArray written = writeSetFile(manyRecords(60));
    const auto halves = parseSetFileInHalves(written);
    ASSERT_TRUE(halves.has_value());
    expectSameRecords(*halves, manyRecords(60));
}

TEST(SetFileReadInHalves, HandWrittenFilesInEitherByteOrderReadAsInOnePass) {
    // Indented with CR LF, comments and a processing instruction between the records.
    QString text = u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<!-- Kanji -->\r\n<Set>\r\n"_qs;
    for (int i = 0; i < 40; ++i) {
        text += u"  "_qs + recordElement(i, u"Zeile\r\nzwei"_qs) + u"\r\n"_qs;
        if (i % 7 == 0) {
            text += u"  <!-- <K99 Idx1=\"99\"/> -->\r\n  <?note <K98/>?>\r\n"_qs;
        }
    }
    text += u"</Set>\r\n<!-- end -->\r\n"_qs;
    for (const bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian ? "big endian" : "little endian");
        const QByteArray bytes = utf16(text, bigEndian);
        const auto halves = parseSetFileInHalves(bytes);
        ASSERT_TRUE(halves.has_value());
        const auto whole = inOnePass(bytes);
        ASSERT_TRUE(whole.has_value());
        expectSameRecords(*halves, *whole);
        EXPECT_EQ(halves->back().Bemerkung, u"Zeile\r\nzwei"_qs);
    }
}

// Around the middle lies what a split there would misread: start tags in a comment, a CDATA
// section, a processing instruction or an attribute, tags further down, broken halves.
TEST(SetFileReadInHalves, WhatCouldMisleadASplitNeverChangesTheRecords) {
    const QString filler(3000, u'x');
    const QString tags = u"<K90 Idx1=\"90\"><On>x</On></K90>"_qs.repeated(40);
    const QStringList middles{
        u"<!-- "_qs + tags + u" -->"_qs,
        recordElement(70, u"<![CDATA["_qs + tags + u"]]>"_qs),
        u"<?note "_qs + tags + u"?>"_qs,
        recordElement(71, u"<i>"_qs + tags + u"</i>"_qs),
        u"<K72 Idx1=\"72\" note=\"&lt;K90 Idx1=&quot;90&quot;&gt;"_qs + filler + u"\"/>"_qs,
        recordElement(73, filler) + u"<K74>"_qs,
        recordElement(75, filler) + u"</K76>"_qs,
        recordElement(77, filler) + u"&undefined;"_qs,
    };
    for (const QString& middle : middles) {
        SCOPED_TRACE(middle.left(40).toStdString());
        const QString text =
            u"<Set>"_qs + recordElements(0, 30) + middle + recordElements(30, 30) + u"</Set>"_qs;
        expectHalvesAgreeWithOnePass(utf16(text, false));
        expectHalvesAgreeWithOnePass(utf16(text + u"<K1/>"_qs, false));
        expectHalvesAgreeWithOnePass(utf16(text.left(text.size() - 6), false));
    }
}

TEST(SetFileReadInHalves, FilesWithADocumentTypeOrInOneByteEncodingsAreNotSplit) {
    // Attribute defaults from the document type reach only what follows it.
    const QString records = recordElements(0, 30).remove(
        QRegularExpression(u" Idx1=\"\\d+\" Idx2=\"1\" Unicode=\"\\d+\""_qs));
    const QString withDefaults =
        u"<!DOCTYPE Set [<!ATTLIST K0 Idx1 CDATA \"42\"><!ATTLIST K25 Idx1 CDATA \"43\">]>"
        u"<Set>"_qs +
        records + u"</Set>"_qs;
    const QByteArray bytes = utf16(withDefaults, false);
    const auto whole = inOnePass(bytes);
    ASSERT_TRUE(whole.has_value());
    EXPECT_EQ(whole->at(25).Idx1, 43);
    EXPECT_FALSE(parseSetFileInHalves(bytes).has_value());

    const QString plain = u"<Set>"_qs + recordElements(0, 30) + u"</Set>"_qs;
    EXPECT_FALSE(parseSetFileInHalves(plain.toUtf8()).has_value());
    EXPECT_FALSE(parseSetFileInHalves(plain.toLatin1()).has_value());
}

// Records are read into a vector sized from the first part of a file, so they move while texts
// are read; in one pass below a few megabytes, in halves above.
// Both in one pass and in halves; the first record is told once, early, as it is stored.
TEST(SetFileRead, LargeSetsComeBackAsWrittenAndTellTheirFirstRecordEarly) {
    for (const int count : {1500, 9000}) {
        SCOPED_TRACE(count);
        const std::vector<KanjiRecord> records = manyRecords(count);
        const QByteArray written = writeSetFile(records);
        EXPECT_EQ(written.size() > (4 << 20), count == 9000);
        std::vector<KanjiRecord> told;
        const auto parsed =
            parseSetFile(written, [&told](const KanjiRecord& first) { told.push_back(first); });
        ASSERT_TRUE(parsed.has_value());
        expectSameRecords(*parsed, records);
        expectSameRecords(told, {records.front()});
    }
}

// Each way a set file fails keeps its own reason up to the words the learner reads, and only a
// missing file counts as no file (a file that is there is kept, never replaced by an empty set).
TEST(SetFileRead, EachFailureReachesTheLearnerWithItsOwnReason) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const TextTables texts = builtInTexts();
    const auto reasonFor = [&](const QString& name) {
        const SetFileRead read = readSetFile(dir.filePath(name));
        EXPECT_FALSE(read.has_value()) << name.toStdString();
        return read ? std::pair(FileErrorKind::Other, QString())
                    : std::pair(read.error().kind, fileErrorText(texts, read.error()));
    };

    EXPECT_EQ(reasonFor(u"Fehlt.rki"_qs),
              std::pair(FileErrorKind::NotFound, texts.text(MessageText::ReasonNotFound)));

    QFile truncated(dir.filePath(u"Kaputt.rki"_qs));
    ASSERT_TRUE(truncated.open(QIODevice::WriteOnly));
    truncated.write(writeSetFile(writtenRecords()).left(301));
    truncated.close();
    EXPECT_EQ(reasonFor(u"Kaputt.rki"_qs),
              std::pair(FileErrorKind::Malformed, texts.text(MessageText::ReasonNoSetFile)));

    // Sparse: the size alone refuses it, nothing is read.
    QFile huge(dir.filePath(u"Riesig.rki"_qs));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize((qint64(1) << 30) + 1));
    huge.close();
    EXPECT_EQ(reasonFor(u"Riesig.rki"_qs),
              std::pair(FileErrorKind::TooLarge, texts.text(MessageText::ReasonTooLarge)));

    ASSERT_TRUE(QDir(dir.path()).mkdir(u"Ordner.rki"_qs));
    EXPECT_EQ(reasonFor(u"Ordner.rki"_qs),
              std::pair(FileErrorKind::IsFolder, texts.text(MessageText::ReasonIsFolder)));

    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath(u"Rohr.rki"_qs)).constData(), 0600), 0);
    EXPECT_EQ(reasonFor(u"Rohr.rki"_qs), std::pair(FileErrorKind::NotRegularFile,
                                                   texts.text(MessageText::ReasonNotRegularFile)));

    // The superuser reads whatever the mode says.
    if (::geteuid() != 0) {
        QFile locked(dir.filePath(u"Gesperrt.rki"_qs));
        ASSERT_TRUE(locked.open(QIODevice::WriteOnly));
        locked.write(writeSetFile(writtenRecords()));
        locked.close();
        ASSERT_TRUE(locked.setPermissions({}));
        EXPECT_EQ(
            reasonFor(u"Gesperrt.rki"_qs),
            std::pair(FileErrorKind::AccessDenied, texts.text(MessageText::ReasonAccessDenied)));
    }
}

}  // namespace
