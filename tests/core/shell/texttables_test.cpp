// Tests of the caption tables: built-in texts, catalog reading and the choice of the catalog.
#include "core/shell/texttables.h"

#include "base/files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct TableShape {
    const char* name;
    QStringList TextTables::*table;
    qsizetype size;
};

// The order in which a catalog lists the tables.
const TableShape tableShapes[] = {
    {"Main", &TextTables::MainTexts, 55},
    {"Training", &TextTables::TrainingTexts, 33},
    {"Import", &TextTables::ImportTexts, 15},
    {"Statistics", &TextTables::StatisticsTexts, 15},
    {"Selection", &TextTables::SelectionTexts, 26},
    {"Export", &TextTables::ExportTexts, 21},
};

// Tables whose every entry names its table and index, so a text read into the wrong place shows.
TextTables labelledTables() {
    TextTables tables;
    for (const TableShape& shape : tableShapes) {
        for (qsizetype i = 0; i < shape.size; ++i) {
            (tables.*shape.table)
                .append(QString::fromLatin1(shape.name) + u' ' + QString::number(i));
        }
    }
    return tables;
}

QByteArray catalogOf(const TextTables& tables, const char* lineEnd) {
    QByteArray bytes = "Catalog";
    bytes += lineEnd;
    for (const TableShape& shape : tableShapes) {
        for (const QString& text : tables.*shape.table) {
            bytes += text.toUtf8();
            bytes += lineEnd;
        }
    }
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
    for (const TableShape& shape : tableShapes) {
        *os << shape.name << ": " << (tables.*shape.table).join(u'|').toStdString() << '\n';
    }
}

TEST(BuiltInTexts, TablesHaveTheirSizesAndGermanTexts) {
    const TextTables tables = builtInTexts();
    for (const TableShape& shape : tableShapes) {
        EXPECT_EQ((tables.*shape.table).size(), shape.size) << shape.name;
    }
    EXPECT_EQ(tables.MainTexts[0], u"File"_s);
    EXPECT_EQ(tables.MainTexts[11], u"Kanji löschen"_s);
    EXPECT_EQ(tables.MainTexts[34], u"Akt. Kanji: "_s);
    EXPECT_EQ(tables.MainTexts[54], u"Copy"_s);
    EXPECT_EQ(tables.TrainingTexts[4], u"Kun-Yyomi"_s);
    EXPECT_EQ(tables.TrainingTexts[26], u"Nächstes"_s);
    EXPECT_EQ(tables.TrainingTexts[32], u"Manuell"_s);
    EXPECT_EQ(tables.ImportTexts[1], u"Anzahl Datensätze"_s);
    EXPECT_EQ(tables.StatisticsTexts[14], u"Bedeutung"_s);
    EXPECT_EQ(tables.SelectionTexts[17], u"Quote 90-99"_s);
    EXPECT_EQ(tables.SelectionTexts[18], u"Insgesamt: "_s);
    EXPECT_EQ(tables.ExportTexts[17], u"Genji"_s);
    EXPECT_EQ(tables.ExportTexts[20], u"in einer Spalte"_s);
}

TEST(CatalogReading, EveryLineReachesItsTableWithAnyLineEnd) {
    const TextTables expected = labelledTables();
    for (const char* lineEnd : {"\r\n", "\n", "\r"}) {
        const std::optional<TextTables> tables = parseCatalog(catalogOf(expected, lineEnd));
        ASSERT_TRUE(tables.has_value());
        for (const TableShape& shape : tableShapes) {
            EXPECT_EQ((*tables).*shape.table, expected.*shape.table) << shape.name;
        }
    }
}

TEST(CatalogReading, MixedLineEndsAndWholeLinesWithBlanks) {
    const std::optional<TextTables> tables =
        parseCatalog("Catalog\r\n  Datei \rLaden\n\nSpeichern\r\n\r\n\t");
    ASSERT_TRUE(tables.has_value());
    const QStringList firstTexts = tables->MainTexts.first(7);
    const QStringList expected = {
        u"  Datei "_s, u"Laden"_s, u""_s, u"Speichern"_s, u""_s, u"\t"_s, u"Lernkarten drucken"_s};
    EXPECT_EQ(firstTexts, expected);
}

TEST(CatalogReading, ShortCatalogKeepsBuiltInTextsForMissingEntries) {
    const TextTables labelled = labelledTables();
    QByteArray bytes = "Catalog\r\n";
    for (qsizetype i = 0; i < 60; ++i) {
        const QString& text = i < 55 ? labelled.MainTexts[i] : labelled.TrainingTexts[i - 55];
        bytes += text.toUtf8() + "\r\n";
    }
    const std::optional<TextTables> tables = parseCatalog(bytes);
    ASSERT_TRUE(tables.has_value());

    const TextTables builtIn = builtInTexts();
    EXPECT_EQ(tables->MainTexts, labelled.MainTexts);
    EXPECT_EQ(tables->TrainingTexts.first(5), labelled.TrainingTexts.first(5));
    EXPECT_EQ(tables->TrainingTexts.sliced(5), builtIn.TrainingTexts.sliced(5));
    EXPECT_EQ(tables->ExportTexts, builtIn.ExportTexts);
    EXPECT_EQ(parseCatalog("Catalog"), builtIn);
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
    EXPECT_EQ(bytes->count("\r\n"), 1 + 55 + 33 + 15 + 15 + 26 + 21);
    EXPECT_EQ(bytes->count('\n'), bytes->count("\r\n"));
    EXPECT_TRUE(bytes->endsWith("\r\n"));

    const std::optional<TextTables> tables = parseCatalog(*bytes);
    ASSERT_TRUE(tables.has_value());
    for (const TableShape& shape : tableShapes) {
        for (qsizetype i = 0; i < shape.size; ++i) {
            EXPECT_FALSE(((*tables).*shape.table)[i].trimmed().isEmpty()) << shape.name << ' ' << i;
        }
    }
    // Captions that are followed by a number keep their trailing blank.
    EXPECT_TRUE(tables->MainTexts[34].endsWith(u' '));
    EXPECT_TRUE(tables->SelectionTexts[18].endsWith(u' '));
    EXPECT_TRUE(tables->SelectionTexts[19].endsWith(u' '));
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
