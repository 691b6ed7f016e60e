// The German meanings of a demo-set kanji and the Bemerkung text made of both languages.
#pragma once

#include "freedict.h"
#include "kanjidic.h"

#include "core/kanjiset/genshilist.h"

#include <QStringList>

#include <vector>

// Where a kanji's German meanings came from, in the order the sources are asked.
enum class MeaningSource { Word, Okurigana, Genshi, EnglishOnly };

struct GermanMeanings {
    QStringList meanings;  // at most three
    MeaningSource source = MeaningSource::EnglishOnly;
};

// The kanji's own entries as a word and its entries written with okurigana (食べる from the
// reading た.べる) compete by how common they are, the word winning a tie; the most common
// entry gives the meanings. Otherwise the Genshi list's meaning of the radical the kanji is.
GermanMeanings germanMeaningsOf(const KanjidicEntry& kanji, const GermanDictionary& dictionary,
                                const std::vector<GenshiEntry>& genshi);

// "Sonne, Tag; day, sun": the German meanings first, so a learner answers in German, and the
// English ones after, so one who learned with English is not lost.
QString bemerkungOf(const QStringList& german, const QStringList& english);
