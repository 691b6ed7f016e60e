// Example words for the demo set, taken from EDICT's EUC-JP text at generation time.
#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>
#include <unordered_map>
#include <vector>

// One EDICT line that writes its word with at least one non-kana character and gives a reading.
struct EdictWord {
    QString word;
    QString reading;           // kana, as in the brackets
    QString gloss;             // the first English gloss, without EDICT's tags
    bool common = false;       // EDICT marks common words "(P)"
    bool usuallyKana = false;  // "(uk)": the word is usually written in kana alone
};

// What the ranking of examples needs to know of a kanji.
struct KanjiFacts {
    int frequencyRank = 0;  // KANJIDIC's rank, 1 = most frequent, 0 = unranked
    int jlptLevel = 0;      // 4 (easiest) to 1; 0 = none
};

class GermanDictionary;

using Examples = std::array<QString, 4>;

// The words of an EDICT file in file order; lines without a reading in brackets are skipped,
// and so is the file's header line. nullopt when the text is not EUC-JP.
std::optional<std::vector<EdictWord>> parseEdict(const QByteArray& eucJp);

// EDICT as Debian's edict package installs it; nullopt when it cannot be read or decoded.
std::optional<std::vector<EdictWord>> loadEdict(const QString& path);

// How an example reads on the card: "日本 (にほん) Japan", with `gloss` in place of the
// English one when it is given.
QString exampleText(const EdictWord& word, const QString& gloss = {});

// Up to four examples for each kanji of `kanji`: distinct words of two or more characters (kanji
// and hiragana, not one character doubled) that contain it. Common words first (EDICT's "(P)" or
// the German dictionary's [ichi1], [news1], [spec1]), then the lower [nfXX], then the shorter,
// then those whose other kanji are at the same or an easier JLPT level, then those whose rarest
// kanji is more frequent, then in EDICT's order. Words usually written in kana alone and a kanji
// with particles only ("本の") are no examples. The gloss is the German one where `german` has
// the word. A kanji without such a word is left out of the table.
std::unordered_map<char32_t, Examples> chooseExamples(
    const std::vector<EdictWord>& words, const std::unordered_map<char32_t, KanjiFacts>& kanji,
    const GermanDictionary* german = nullptr);
