// The CSV import wizard and "Liste optimieren".
#pragma once

struct App;

// "Importiere CSV": asks for a file (an Anki package goes to importAnkiPackage instead), lets the
// user build the import order by dragging its columns into place, and adds its lines to the set as
// kanji records; with "Optimiere die importierte Liste" lines of kanji the set holds update those
// kanji instead (see addImported). The status bar tells how many records were added and how many
// kanji updated. A file that cannot be read is named in a message instead. The set file is not
// saved.
void importCsv(App& app);

// "Liste optimieren": merges the records of one kanji and removes records without content (see
// optimiseList of the core), refreshes the set and tells in the status bar how many records were
// merged and removed, and how many kanji kept more than one record because their records
// disagree.
void optimiseList(App& app);
