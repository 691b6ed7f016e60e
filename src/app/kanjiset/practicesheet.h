// "Lernkarten drucken": practice sheets as a PDF for the kanji that need practice most.
#pragma once

struct App;

// Asks which kanji (see askPrintChoice and practicePositions) and for the file, then writes one
// row per chosen kanji: the kanji, its readings and meaning, its stroke order and a row of boxes
// to write it in, the first ones holding a grey copy to trace. An empty set asks nothing and
// writes nothing; a choice that holds no kanji is told.
void printPracticeSheets(App& app);
