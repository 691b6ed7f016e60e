// Tests of the preference file: the exact bytes written and the hand-edited files that are read.
#include "core/shell/preferences.h"
#include "core/shell/texttables.h"

#include "base/files.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// What the program holds before the file is read: empty names, both paths at WorkDir.
Preferences startValues() {
    Preferences prefs;
    prefs.ImportPath = u"/work/dir/"_s;
    prefs.ExportPath = u"/work/dir/"_s;
    return prefs;
}

Preferences withValues(const QString& set, const QString& profile, const QString& importPath,
                       const QString& exportPath, const QString& language) {
    return Preferences{set, profile, importPath, exportPath, language};
}

}  // namespace

// Lets failed comparisons show the values.
void PrintTo(const Preferences& p, std::ostream* os) {
    *os << "{LastSet=\"" << p.LastSet.toStdString() << "\", LastProfile=\""
        << p.LastProfile.toStdString() << "\", ImportPath=\"" << p.ImportPath.toStdString()
        << "\", ExportPath=\"" << p.ExportPath.toStdString() << "\", Language=\""
        << p.Language.toStdString() << "\"}";
}

TEST(PreferenceFile, WritesTheExactBytesOfTheReferenceFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(u"Renkari.pref"_s);
    const Preferences prefs =
        withValues(u"Jōyō-Kanji"_s, u""_s, u"/home/anna/Import/"_s, u"/home/anna/Export/"_s, u""_s);

    ASSERT_TRUE(writePreferencesFile(path, prefs));

    const auto written = readWholeFile(path);
    const auto expected = readWholeFile(QStringLiteral(RENKARI_TEST_DATA "/prefs/written.pref"));
    ASSERT_TRUE(written.has_value());
    ASSERT_TRUE(expected.has_value());
    EXPECT_EQ(*written, *expected);
}

TEST(PreferenceFile, ReadsBackWhatWasWrittenIncludingEmptyValues) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(u"Renkari.pref"_s);
    // Defaults that differ from every written value show that each value came from the file.
    const Preferences defaults =
        withValues(u"default set"_s, u"default profile"_s, u"/d/i"_s, u"/d/e"_s, u"Deutsch"_s);
    const Preferences cases[] = {
        withValues(u"Grundschule 1"_s, u""_s, u"/a/b c/"_s, u"/x/"_s, u""_s),
        withValues(u""_s, u""_s, u""_s, u""_s, u""_s),
        withValues(u"漢字 = Zeichen"_s, u"Anna;Ben"_s, u"[root]"_s, u"C:\\Export\\"_s,
                   u"English"_s),
    };
    for (const Preferences& prefs : cases) {
        ASSERT_TRUE(writePreferencesFile(path, prefs));
        EXPECT_EQ(readPreferencesFile(path, defaults).value_or(defaults), prefs);
    }
}

// The program goes on with the start values; the reason is kept for whoever asks.
TEST(PreferenceFile, MissingFileIsRefusedWithItsReason) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto missing = readPreferencesFile(dir.filePath(u"Renkari.pref"_s), startValues());
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().kind, FileErrorKind::NotFound);
    const auto folder = readPreferencesFile(dir.path(), startValues());
    ASSERT_FALSE(folder);
    EXPECT_EQ(folder.error().kind, FileErrorKind::IsFolder);
}

TEST(PreferenceFile, FailedWriteReportsFailureAndKeepsTheOldFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_FALSE(writePreferencesFile(dir.filePath(u"missing/Renkari.pref"_s), startValues()));

    // A folder in the file's place cannot be replaced by a file.
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"Renkari.pref"_s));
    EXPECT_FALSE(writePreferencesFile(dir.filePath(u"Renkari.pref"_s), startValues()));
}

TEST(PreferenceFile, LineBreaksInValuesCannotAddLines) {
    Preferences prefs = startValues();
    prefs.LastSet = u"Set\r\nLastProfile = injected\nLanguage = English\r"_s;
    const QByteArray bytes = serializePreferences(prefs);

    EXPECT_EQ(bytes.count("\r\n"), 6);
    EXPECT_EQ(bytes.count('\r'), 6);
    EXPECT_EQ(bytes.count('\n'), 6);
    const Preferences read = parsePreferences(bytes, startValues());
    EXPECT_EQ(read.LastSet, u"SetLastProfile = injectedLanguage = English"_s);
    EXPECT_EQ(read.LastProfile, u""_s);
    EXPECT_EQ(read.Language, u""_s);
}

struct HandEdited {
    const char* name;
    QByteArray bytes;
    Preferences expected;
};

class HandEditedPreferences : public testing::TestWithParam<HandEdited> {};

TEST_P(HandEditedPreferences, ReadsAsTheUserMeantIt) {
    EXPECT_EQ(parsePreferences(GetParam().bytes, startValues()), GetParam().expected);
}

namespace {

Preferences startWith(QString Preferences::*member, const QString& value) {
    Preferences prefs = startValues();
    prefs.*member = value;
    return prefs;
}

const Preferences allFive = withValues(u"Set"_s, u"Anna"_s, u"/in/"_s, u"/out/"_s, u"English"_s);

}  // namespace

INSTANTIATE_TEST_SUITE_P(
    PreferenceFile, HandEditedPreferences,
    testing::Values(
        HandEdited{"NoBomNoBlanks", "LastSet=Name\r\n",
                   startWith(&Preferences::LastSet, u"Name"_s)},
        HandEdited{"LowerCaseKeys",
                   "lastset = Set\nlastprofile = Anna\nimportpath = /in/\nexportpath = "
                   "/out/\nlanguage = English\n",
                   allFive},
        HandEdited{"MixedCaseKey", "LANGUAGE = English\n",
                   startWith(&Preferences::Language, u"English"_s)},
        HandEdited{"CommentsAndEmptyLines",
                   "; LastSet = Commented\r\n\r\n   ;LastProfile = Commented\r\nLastSet = Set\r\n",
                   startWith(&Preferences::LastSet, u"Set"_s)},
        HandEdited{"KeysOfANamedGroupDoNotCount",
                   "LastSet = Set\r\n[Other]\r\nLastProfile = Other\r\nLanguage = Other\r\n",
                   startWith(&Preferences::LastSet, u"Set"_s)},
        HandEdited{"IndentedGroupHeader", "  [Group]\nLastSet = Other\n", startValues()},
        HandEdited{"TabsAroundKeyAndValue", "\t LastSet \t=\t Mein Set \t\r\n",
                   startWith(&Preferences::LastSet, u"Mein Set"_s)},
        HandEdited{"CarriageReturnOnly",
                   "LastSet = Set\rLastProfile = Anna\rImportPath = /in/\rExportPath = "
                   "/out/\rLanguage = English\r",
                   allFive},
        HandEdited{"LineFeedOnlyNoFinalBreak",
                   "LastSet = Set\nLastProfile = Anna\nImportPath = /in/\nExportPath = "
                   "/out/\nLanguage = English",
                   allFive},
        HandEdited{"MissingImportPathKeepsWorkDir",
                   "\xEF\xBB\xBF\r\nLastSet = Set\r\nExportPath = /out/\r\n",
                   withValues(u"Set"_s, u""_s, u"/work/dir/"_s, u"/out/"_s, u""_s)},
        HandEdited{"ValueHoldsEqualsSigns", "ImportPath = /a=b/c=/\n",
                   startWith(&Preferences::ImportPath, u"/a=b/c=/"_s)},
        HandEdited{"LineWithoutEqualsIsIgnored", "LastSet\nLastSet Set\nLanguage = English\n",
                   startWith(&Preferences::Language, u"English"_s)},
        HandEdited{"FirstOccurrenceCounts", "LastSet = First\nlastset = Second\n",
                   startWith(&Preferences::LastSet, u"First"_s)},
        HandEdited{"EmptyValueOverridesDefault", "ImportPath =\n",
                   startWith(&Preferences::ImportPath, u""_s)},
        HandEdited{"UnknownKeysAreIgnored", "Theme = dark\nLast Set = x\nLastSet = Set\n",
                   startWith(&Preferences::LastSet, u"Set"_s)},
        // U+212A KELVIN SIGN folds to "k" in Unicode but is no letter of the key.
        HandEdited{"OnlyAsciiCaseIsIgnored",
                   "\xEF\xBB\xBFLastSet = Set\nLanguage\xE2\x84\xAA = x\n",
                   startWith(&Preferences::LastSet, u"Set"_s)},
        HandEdited{"Latin1Umlauts", "LastSet = K\xF6rper und Gef\xFChl\r\n",
                   startWith(&Preferences::LastSet, u"Körper und Gefühl"_s)},
        HandEdited{"Utf8WithoutBom", "LastSet = K\xC3\xB6rper und Gef\xC3\xBChl\r\n",
                   startWith(&Preferences::LastSet, u"Körper und Gefühl"_s)},
        HandEdited{"Utf8WithBom", "\xEF\xBB\xBFLastSet = \xE6\xBC\xA2\xE5\xAD\x97\r\n",
                   startWith(&Preferences::LastSet, u"漢字"_s)},
        HandEdited{"EmptyFile", "", startValues()}),
    [](const testing::TestParamInfo<HandEdited>& info) { return std::string(info.param.name); });

// Inputs kept from fuzzing the readers: odd bytes read without harm, and what is read survives a
// write and a second read unchanged.
TEST(PreferenceFuzzInputs, ReadWithoutHarmAndSurviveAWriteAndReread) {
    const QDir folder(QStringLiteral(RENKARI_TEST_DATA "/prefs/fuzz"));
    const QStringList names = folder.entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(names.isEmpty());
    const Preferences defaults =
        withValues(u"set"_s, u"profile"_s, u"/import/"_s, u"/export/"_s, u"lang"_s);

    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const auto bytes = readWholeFile(folder.filePath(name));
        ASSERT_TRUE(bytes.has_value());

        const Preferences read = parsePreferences(*bytes, defaults);
        const QByteArray written = serializePreferences(read);
        EXPECT_EQ(written.count("\r\n"), 6);
        EXPECT_EQ(parsePreferences(written, Preferences{}), read);

        const std::optional<TextTables> tables = parseCatalog(*bytes);
        const bool hasHeader =
            bytes->startsWith("Catalog\r") || bytes->startsWith("Catalog\n") || *bytes == "Catalog";
        EXPECT_EQ(tables.has_value(), hasHeader);
        if (tables) {
            // Whatever the bytes, the first line after the header becomes the first caption.
            const qsizetype start = bytes->startsWith("Catalog\r\n") ? 9 : 8;
            qsizetype end = start;
            while (end < bytes->size() && bytes->at(end) != '\r' && bytes->at(end) != '\n') {
                ++end;
            }
            const QString first = start < bytes->size()
                                      ? QString::fromUtf8(bytes->sliced(start, end - start))
                                      : builtInTexts().text(MainText::File);
            EXPECT_EQ(tables->text(MainText::File), first);
        }
    }
    const auto latin1 = readWholeFile(folder.filePath(u"latin1-value-with-nul.pref"_s));
    ASSERT_TRUE(latin1.has_value());
    EXPECT_EQ(parsePreferences(*latin1, defaults).LastSet, u"K\u00F6er"_s);
}
