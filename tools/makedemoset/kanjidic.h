// The fields of KANJIDIC2 that the demo set needs, read from its XML text.
#pragma once

#include <QByteArray>
#include <QStringList>

#include <optional>
#include <vector>

struct KanjidicEntry {
    char32_t codePoint = 0;
    int jlptLevel = 0;         // 1 (hardest) to 4; 0 = no JLPT level
    int frequencyRank = 0;     // 1 = most frequent; 0 = not ranked
    int classicalRadical = 0;  // 1 to 214; 0 = none given
    int strokeCount = 0;
    QStringList onReadings;   // katakana
    QStringList kunReadings;  // hiragana with KANJIDIC's "." and "-" markers
    QStringList meanings;     // English only
};

// One entry per <character> element, in file order. nullopt when the text is not well-formed
// XML. External entities and the external DTD are never fetched.
std::optional<std::vector<KanjidicEntry>> parseKanjidic(const QByteArray& xml);
