// The import wizard for Anki packages: a deck's note type shown like a file, its fields mapped
// to the set's by name, its card templates to the answer kinds they ask.
#pragma once

#include "core/review/ankimapping.h"
#include "core/review/ankipackage.h"

#include <optional>
#include <vector>

struct App;

// What the learner chose on "OK".
struct AnkiChoice {
    qint64 noteType = 0;
    AnkiFieldMap map{};
    // One per template of the note type, in its order.
    std::vector<AnkiAnswerKind> kinds;
};

// Runs the wizard over the package's note types, the one with the most notes chosen at start;
// nullopt on "Abbruch" or the close box.
std::optional<AnkiChoice> runAnkiWizard(App& app, const AnkiPackage& package);

// "Importiere CSV" given an Anki package (ankiimport.cpp): reads it (a package that cannot be
// read is named in a message with the reason, and nothing changes), runs the wizard, adds and
// fills the kanji, copies the sounds into the set's Sounds folder and tells the outcome in the
// status bar, or in a message when it does not fit there. With a profile in use the deck's answers
// go into its review log through the learner's merge, which leaves out those the log holds.
void importAnkiPackage(App& app, const QString& path);
