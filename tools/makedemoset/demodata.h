// Making the demo working directory's data: the "JLPT" set file and its stroke-order strips.
#pragma once

#include "edict.h"
#include "kanjidic.h"

#include "core/handwriting/strokelibrary.h"

#include <QString>

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
};

// Writes <outDir>/Media/JLPT/Anim/<code>.png for every kanji of the set that has stroke data,
// then <outDir>/Media/JLPT.rki, whose Anim fields name exactly the strips that were written and
// whose examples are chosen from `words`.
DemoReport writeDemoData(const std::vector<KanjidicEntry>& entries, const StrokeLibrary& strokes,
                         const QString& outDir, const std::vector<EdictWord>& words = {});

// Loads KANJIDIC2, EDICT and the stroke file (data/Media/Strokes/KanjiVG.strokes) and runs
// writeDemoData.
DemoReport makeDemoData(const QString& kanjidicPath, const QString& edictPath,
                        const QString& strokeFilePath, const QString& outDir);
