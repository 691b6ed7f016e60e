// Printable kanji cards as a PDF: eight cards on each A4 page, with cut marks; two-sided, each
// card's back on the following page behind its front, or one-sided with everything on one face.
#pragma once

#include "core/kanjiset/exportlines.h"

#include <vector>

struct App;

// The texts a card shows besides its kanji, in this order: on the back of a two-sided card, below
// the kanji on a one-sided one.
struct CardFields {
    bool code = false;
    bool onYomi = true;
    bool kunYomi = true;
    bool note = true;
    bool genshi = true;
    // The parts of the Kun reading, chosen as for the CSV export.
    int kunMask = KunAllParts;
    // Fronts with the kanji, its stroke count and JLPT level, and backs with the texts, the
    // examples and the stroke order; otherwise one face of the kanji, the texts and the strokes.
    bool twoSided = true;
};

// Asks for the file (the export folder's requester, which it updates), then writes one card per
// position: 0-based indexes into app.kanjiSet.records, in the order given; indexes outside the
// set and blank records are left out. Nothing is asked when no index names a kanji. A file that
// cannot be written is told in a message naming it.
void writeCardsPdf(App& app, const std::vector<int>& positions, const CardFields& fields);
