// The six caption tables, their built-in German texts and the language catalogs that replace them.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

struct TextTables {
    QStringList MainTexts;
    QStringList TrainingTexts;
    QStringList ImportTexts;
    QStringList StatisticsTexts;
    QStringList SelectionTexts;
    QStringList ExportTexts;

    bool operator==(const TextTables&) const = default;
};

TextTables builtInTexts();

// A catalog is UTF-8 text whose first line is exactly "Catalog", followed by one line per text:
// the tables in the order Main, Training, Import, Statistics, Selection, Export, each in full.
// Lines end with CR, LF or CR LF and every line is taken whole, blanks included. A catalog that
// ends early keeps the built-in text for each entry it lacks. nullopt when the header is wrong.
std::optional<TextTables> parseCatalog(const QByteArray& bytes);

// Chooses the tables for language: the file language + ".catalog" in the folder "catalog" of
// workDir, matched exactly and case-sensitively among the folder's files. When there is no such
// file, or it cannot be read or is no catalog, the built-in texts are used and language is
// cleared, so that the preference file does not keep naming a catalog that is not in use.
TextTables fillTextTables(const QString& workDir, QString& language);
