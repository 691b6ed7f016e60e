// Tests of the caption tables: built-in texts, catalog reading and the choice of the catalog.
#include "core/shell/texttables.h"

#include "base/files.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <type_traits>

using namespace Qt::StringLiterals;

// A catalog lists its lines by position, so an entry added or dropped anywhere but at the end
// of the Message table would shift every catalog written before.
static_assert(MainTextCount == 55);
static_assert(TrainingTextCount == 33);
static_assert(ImportTextCount == 15);
static_assert(StatisticsTextCount == 15);
static_assert(SelectionTextCount == 26);
static_assert(ExportTextCount == 21);

namespace {

// The Genshi list's column of additions is captioned with a single blank.
template <typename Id>
bool isBlankByDesign(Id id) {
    if constexpr (std::is_same_v<Id, MessageText>) {
        return id == MessageText::GenshiExtraColumn;
    }
    return false;
}

template <typename Id, typename Visit>
void forEachIn(const char* table, int count, Visit& visit) {
    for (int i = 0; i < count; ++i) {
        visit(table, i, static_cast<Id>(i));
    }
}

// Calls visit(table name, index, id) for every entry, in the order in which a catalog lists them.
template <typename Visit>
void forEachEntry(Visit&& visit) {
    forEachIn<MainText>("Main", MainTextCount, visit);
    forEachIn<TrainingText>("Training", TrainingTextCount, visit);
    forEachIn<ImportText>("Import", ImportTextCount, visit);
    forEachIn<StatisticsText>("Statistics", StatisticsTextCount, visit);
    forEachIn<SelectionText>("Selection", SelectionTextCount, visit);
    forEachIn<ExportText>("Export", ExportTextCount, visit);
    forEachIn<MessageText>("Message", MessageTextCount, visit);
}

template <typename Id>
constexpr bool isMessage(Id) {
    return std::is_same_v<Id, MessageText>;
}

// Tables whose every entry names its table and index, so a text read into the wrong place shows.
TextTables labelledTables() {
    TextTables tables;
    forEachEntry([&](const char* table, int i, auto id) {
        tables.setText(id, QString::fromLatin1(table) + u' ' + QString::number(i));
    });
    return tables;
}

enum class Blocks { All, WithoutMessages };

QByteArray catalogOf(const TextTables& tables, const char* lineEnd, Blocks blocks = Blocks::All) {
    QByteArray bytes = "Catalog";
    bytes += lineEnd;
    forEachEntry([&](const char*, int, auto id) {
        if (blocks == Blocks::All || !isMessage(id)) {
            bytes += tables.text(id).toUtf8();
            bytes += lineEnd;
        }
    });
    return bytes;
}

// A working directory with a "catalog" folder.
class CatalogFolder : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(workDir.isValid());
        ASSERT_TRUE(QDir(workDir.path()).mkdir(u"catalog"_s));
    }
    void putCatalog(const QString& fileName, const QByteArray& bytes) {
        ASSERT_TRUE(saveFileAtomically(workDir.filePath(u"catalog/"_s + fileName), bytes));
    }

    QTemporaryDir workDir;
};

}  // namespace

// Lets failed comparisons show the texts.
void PrintTo(const TextTables& tables, std::ostream* os) {
    forEachEntry([&](const char* table, int i, auto id) {
        *os << table << ' ' << i << ": " << tables.text(id).toStdString() << '\n';
    });
}

TEST(BuiltInTexts, EveryEntryHasItsGermanText) {
    const TextTables tables = builtInTexts();
    forEachEntry([&](const char* table, int i, auto id) {
        EXPECT_TRUE(isBlankByDesign(id) || !tables.text(id).trimmed().isEmpty())
            << table << ' ' << i;
    });
    EXPECT_EQ(tables.text(MainText::File), u"File"_s);
    EXPECT_EQ(tables.text(MainText::DeleteKanji), u"Kanji löschen"_s);
    EXPECT_EQ(tables.text(MainText::CurrentKanji), u"Akt. Kanji: "_s);
    EXPECT_EQ(tables.text(MainText::End), u"Ende"_s);
    EXPECT_EQ(tables.text(MainText::EndEdit), u"Edit Beenden"_s);
    EXPECT_EQ(tables.text(MainText::Copy), u"Copy"_s);
    EXPECT_EQ(tables.text(TrainingText::ShowKunYomi), u"Kun-Yyomi"_s);
    EXPECT_EQ(tables.text(TrainingText::AskOnYomi), u"On-Yomi"_s);
    EXPECT_EQ(tables.text(TrainingText::Start), u"Start"_s);
    EXPECT_EQ(tables.text(TrainingText::Jlpt4), u"4"_s);
    EXPECT_EQ(tables.text(TrainingText::Jlpt1), u"1"_s);
    EXPECT_EQ(tables.text(TrainingText::Next), u"Nächstes"_s);
    EXPECT_EQ(tables.text(TrainingText::Manual), u"Manuell"_s);
    EXPECT_EQ(tables.text(ImportText::RecordCount), u"Anzahl Datensätze"_s);
    EXPECT_EQ(tables.text(StatisticsText::Meaning), u"Bedeutung"_s);
    EXPECT_EQ(tables.text(SelectionText::Rate90To99), u"Quote 90-99"_s);
    EXPECT_EQ(tables.text(SelectionText::Total), u"Insgesamt: "_s);
    EXPECT_EQ(tables.text(ExportText::Genshi), u"Genji"_s);
    EXPECT_EQ(tables.text(ExportText::InOneColumn), u"in einer Spalte"_s);
    EXPECT_EQ(tables.text(MessageText::OverviewTab), u"Übersicht"_s);
    EXPECT_EQ(tables.text(MessageText::MeaningColumn), u"Bed"_s);
    EXPECT_EQ(tables.text(MessageText::AboutTitle), u"Über "_s);
    EXPECT_EQ(tables.text(MessageText::Series), u"Serie: "_s);
    EXPECT_EQ(tables.text(MessageText::SetFileFilter), u"Kanjiset (*.rki)|*.rki"_s);
    EXPECT_EQ(tables.text(MessageText::SaveFailed)
                  .arg(u"/m/Demo.rki"_s, tables.text(MessageText::ReasonNoSpace)),
              u"Das Set konnte nicht in /m/Demo.rki gespeichert werden: Kein Speicherplatz. "
              u"Es bleibt im Speicher erhalten."_s);
}

TEST(CatalogReading, EveryLineReachesItsTableWithAnyLineEnd) {
    const TextTables expected = labelledTables();
    for (const char* lineEnd : {"\r\n", "\n", "\r"}) {
        EXPECT_EQ(parseCatalog(catalogOf(expected, lineEnd)), expected) << lineEnd;
    }
}

TEST(CatalogReading, MixedLineEndsAndWholeLinesWithBlanks) {
    const std::optional<TextTables> tables =
        parseCatalog("Catalog\r\n  Datei \rLaden\n\nSpeichern\r\n\r\n\t");
    ASSERT_TRUE(tables.has_value());
    QStringList firstTexts;
    for (MainText id : {MainText::File, MainText::LoadSet, MainText::SaveSet, MainText::Export,
                        MainText::Pdf, MainText::Csv, MainText::PrintCards}) {
        firstTexts << tables->text(id);
    }
    const QStringList expected = {
        u"  Datei "_s, u"Laden"_s, u""_s, u"Speichern"_s, u""_s, u"\t"_s, u"Lernkarten drucken"_s};
    EXPECT_EQ(firstTexts, expected);
}

TEST(CatalogReading, ShortCatalogKeepsBuiltInTextsForMissingEntries) {
    const TextTables labelled = labelledTables();
    const TextTables builtIn = builtInTexts();
    // All of the Main table and the first five Training texts.
    const int lineCount = MainTextCount + 5;
    QByteArray bytes = "Catalog\r\n";
    int line = 0;
    forEachEntry([&](const char*, int, auto id) {
        if (line++ < lineCount) {
            bytes += labelled.text(id).toUtf8() + "\r\n";
        }
    });
    const std::optional<TextTables> tables = parseCatalog(bytes);
    ASSERT_TRUE(tables.has_value());

    line = 0;
    forEachEntry([&](const char* table, int i, auto id) {
        const TextTables& expected = line++ < lineCount ? labelled : builtIn;
        EXPECT_EQ(tables->text(id), expected.text(id)) << table << ' ' << i;
    });
    EXPECT_EQ(parseCatalog("Catalog"), builtIn);
}

// Catalogs written before the Message table existed end after the Export table.
TEST(CatalogReading, SixTableCatalogKeepsTheGermanMessages) {
    const TextTables labelled = labelledTables();
    const TextTables builtIn = builtInTexts();
    const std::optional<TextTables> tables =
        parseCatalog(catalogOf(labelled, "\r\n", Blocks::WithoutMessages));
    ASSERT_TRUE(tables.has_value());
    forEachEntry([&](const char* table, int i, auto id) {
        const TextTables& expected = isMessage(id) ? builtIn : labelled;
        EXPECT_EQ(tables->text(id), expected.text(id)) << table << ' ' << i;
    });
    EXPECT_EQ(tables->text(MessageText::TrainingTab), u"Trainieren"_s);
}

TEST(CatalogReading, LinesAfterTheLastTableAreIgnored) {
    const TextTables labelled = labelledTables();
    const std::optional<TextTables> tables =
        parseCatalog(catalogOf(labelled, "\n") + "Extra 1\nExtra 2\n");
    ASSERT_TRUE(tables.has_value());
    EXPECT_EQ(*tables, labelled);
}

TEST(CatalogReading, OnlyAnExactHeaderMakesACatalog) {
    for (const QByteArray& bytes :
         {QByteArray(""), QByteArray("catalog\r\nDatei\r\n"), QByteArray("Catalog \r\nDatei\r\n"),
          QByteArray(" Catalog\nDatei\n"),
          QByteArray("\xEF\xBB\xBF"
                     "Catalog\r\nDatei\r\n"),
          QByteArray("\r\nCatalog\r\nDatei\r\n"), QByteArray("Catalog\0\r\nDatei\r\n", 17)}) {
        EXPECT_FALSE(parseCatalog(bytes).has_value()) << bytes.toStdString();
    }
}

TEST(CatalogReading, ShippedEnglishCatalogIsComplete) {
    const auto bytes =
        readWholeFile(QStringLiteral(RENKARI_SOURCE_DIR "/data/catalog/English.catalog"));
    ASSERT_TRUE(bytes.has_value());
    EXPECT_FALSE(bytes->startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(bytes->count("\r\n"), 1 + MainTextCount + TrainingTextCount + ImportTextCount +
                                        StatisticsTextCount + SelectionTextCount + ExportTextCount +
                                        MessageTextCount);
    EXPECT_EQ(bytes->count('\n'), bytes->count("\r\n"));
    EXPECT_TRUE(bytes->endsWith("\r\n"));

    const std::optional<TextTables> tables = parseCatalog(*bytes);
    ASSERT_TRUE(tables.has_value());
    forEachEntry([&](const char* table, int i, auto id) {
        EXPECT_TRUE(isBlankByDesign(id) || !tables->text(id).trimmed().isEmpty())
            << table << ' ' << i;
    });
    // The last block is translated, not left to the German built-ins.
    EXPECT_NE(tables->text(MessageText::SaveFailed), builtInTexts().text(MessageText::SaveFailed));
    // Captions that are followed by a number or a name keep their trailing blank.
    for (const QString& text :
         {tables->text(MainText::CurrentKanji), tables->text(SelectionText::Total),
          tables->text(SelectionText::Selected), tables->text(MessageText::AboutTitle),
          tables->text(MessageText::KanjiCount), tables->text(MessageText::Series),
          tables->text(MessageText::SelectionTitle)}) {
        EXPECT_TRUE(text.endsWith(u' ')) << text.toStdString();
    }
    // The file path goes where %1 is and the reason where %2 is, and the requester needs the
    // pattern after the bar.
    for (MessageText id :
         {MessageText::BackupFailed, MessageText::SaveFailed, MessageText::SetUnread,
          MessageText::PreferencesSaveFailed, MessageText::ExportFailed,
          MessageText::ImportUnreadable, MessageText::OptimiseDone}) {
        EXPECT_TRUE(tables->text(id).contains(u"%1"_s) && tables->text(id).contains(u"%2"_s))
            << tables->text(id).toStdString();
    }
    EXPECT_TRUE(tables->text(MessageText::ReasonOther).contains(u"%1"_s));
    EXPECT_TRUE(tables->text(MessageText::SetFileFilter).endsWith(u"|*.rki"_s));
    EXPECT_TRUE(tables->text(MessageText::ImportFileFilter).endsWith(u"|*.csv"_s));
    // The structure text keeps its thirteen lines, the empty second one included.
    EXPECT_EQ(tables->text(MessageText::ImportStructure).split(u'|').size(), 13);
    EXPECT_EQ(builtInTexts().text(MessageText::ImportStructure).split(u'|').size(), 13);
}

TEST_F(CatalogFolder, EmptyLanguageUsesBuiltInTextsWithoutAFolder) {
    QString language;
    EXPECT_EQ(fillTextTables(workDir.filePath(u"nowhere"_s), language), builtInTexts());
    EXPECT_EQ(language, u""_s);
}

TEST_F(CatalogFolder, ExactMatchIsReadAndKeepsTheLanguage) {
    const TextTables labelled = labelledTables();
    putCatalog(u"Englisch.catalog"_s, "Catalog\r\nWrong\r\n");
    putCatalog(u"English.catalog"_s, catalogOf(labelled, "\r\n"));
    putCatalog(u"English.catalog.bak"_s, "Catalog\r\nWrong\r\n");

    QString language = u"English"_s;
    EXPECT_EQ(fillTextTables(workDir.path(), language), labelled);
    EXPECT_EQ(language, u"English"_s);

    // The working directory as the program holds it, with a trailing separator.
    EXPECT_EQ(fillTextTables(workDir.path() + u'/', language), labelled);
}

TEST_F(CatalogFolder, NamesThatDoNotMatchExactlyFallBackAndClearTheLanguage) {
    putCatalog(u"English.catalog"_s, catalogOf(labelledTables(), "\r\n"));
    ASSERT_TRUE(saveFileAtomically(workDir.filePath(u"Outside.catalog"_s),
                                   catalogOf(labelledTables(), "\r\n")));
    ASSERT_TRUE(QDir(workDir.filePath(u"catalog"_s)).mkdir(u"Folder.catalog"_s));

    for (const QString& wanted : {u"english"_s, u"ENGLISH"_s, u"English "_s, u"Engl"_s, u"Folder"_s,
                                  u"../Outside"_s, u"Missing"_s}) {
        QString language = wanted;
        EXPECT_EQ(fillTextTables(workDir.path(), language), builtInTexts()) << wanted.toStdString();
        EXPECT_EQ(language, u""_s) << wanted.toStdString();
    }
}

TEST_F(CatalogFolder, MissingFolderFallsBackAndClearsTheLanguage) {
    ASSERT_TRUE(QDir(workDir.path()).rmdir(u"catalog"_s));
    QString language = u"English"_s;
    EXPECT_EQ(fillTextTables(workDir.path(), language), builtInTexts());
    EXPECT_EQ(language, u""_s);
}

// Blank captions would make the program unusable, so a broken catalog counts as none.
TEST_F(CatalogFolder, FileThatIsNoCatalogFallsBackAndClearsTheLanguage) {
    putCatalog(u"English.catalog"_s,
               "\xEF\xBB\xBF"
               "Catalog\r\nFile\r\n");
    putCatalog(u"Empty.catalog"_s, "");
    for (const QString& wanted : {u"English"_s, u"Empty"_s}) {
        QString language = wanted;
        EXPECT_EQ(fillTextTables(workDir.path(), language), builtInTexts()) << wanted.toStdString();
        EXPECT_EQ(language, u""_s);
    }
}

TEST_F(CatalogFolder, CarriageReturnOnlyCatalogIsRead) {
    const TextTables labelled = labelledTables();
    putCatalog(u"Mac.catalog"_s, catalogOf(labelled, "\r"));
    QString language = u"Mac"_s;
    EXPECT_EQ(fillTextTables(workDir.path(), language), labelled);
    EXPECT_EQ(language, u"Mac"_s);
}
