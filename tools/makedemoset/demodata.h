// Making the demo working directory's data: the "JLPT" set file and its stroke-order strips.
#pragma once

#include "edict.h"
#include "freedict.h"
#include "kanjidic.h"
#include "meanings.h"

#include "core/handwriting/strokelibrary.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

// KANJIDIC2 as Debian's kanjidic-xml installs it, gzip-compressed.
std::optional<std::vector<KanjidicEntry>> loadKanjidic(const QString& gzipPath);

// Renders the strip and saves it as a PNG; false when encoding or writing failed.
bool writeStrip(const StrokeList& strokes, const QString& path);

struct DemoReport {
    bool ok = false;
    QString error;  // what went wrong when not ok
    int kanjiCount = 0;
    int stripCount = 0;
    // How many kanji took their German meanings from each MeaningSource.
    std::array<int, 4> meaningSources{};
};

// What German the set is made with: the dictionary (none leaves the set English) and the Genshi
// list whose radical meanings stand in for kanji the dictionary lacks.
struct GermanSources {
    const GermanDictionary* dictionary = nullptr;
    std::vector<GenshiEntry> genshi;
};

// Writes <outDir>/Media/JLPT/Anim/<code>.png for every kanji of the set that has stroke data,
// then <outDir>/Media/JLPT.rki, whose Anim fields name exactly the strips that were written and
// whose examples are chosen from `words` and whose meanings are German where `german` has them.
DemoReport writeDemoData(const std::vector<KanjidicEntry>& entries, const StrokeLibrary& strokes,
                         const QString& outDir, const std::vector<EdictWord>& words = {},
                         const GermanSources& german = {});

// The input files of makeDemoData.
struct DemoSources {
    QString kanjidic;    // kanjidic2.xml.gz
    QString edict;       // edict (EUC-JP)
    QString freedict;    // freedict-jpn-deu.index, beside its .dict.dz
    QString genshiList;  // data/Media/Genshi/Genshiliste.txt
    QString strokeFile;  // data/Media/Strokes/KanjiVG.strokes
};

// Loads the sources and runs writeDemoData.
DemoReport makeDemoData(const DemoSources& sources, const QString& outDir);
