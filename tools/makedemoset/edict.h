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
    QString reading;      // kana, as in the brackets
    QString gloss;        // the first English gloss, without EDICT's tags
    bool common = false;  // EDICT marks common words "(P)"
};

using Examples = std::array<QString, 4>;

// The words of an EDICT file in file order; lines without a reading in brackets are skipped,
// and so is the file's header line. nullopt when the text is not EUC-JP.
std::optional<std::vector<EdictWord>> parseEdict(const QByteArray& eucJp);

// EDICT as Debian's edict package installs it; nullopt when it cannot be read or decoded.
std::optional<std::vector<EdictWord>> loadEdict(const QString& path);

// How an example reads on the card: "日本 (にほん) Japan".
QString exampleText(const EdictWord& word);

// Up to four examples for each kanji of `frequencyRank` (KANJIDIC's rank, 1 = most frequent,
// 0 = unranked): distinct words of two or more characters (kanji and hiragana, not one character doubled) that
// contain it, common ones first, then the shorter, then those whose rarest kanji is more frequent,
// then in EDICT's order. A kanji without such a word is left out of the table.
std::unordered_map<char32_t, Examples> chooseExamples(
    const std::vector<EdictWord>& words, const std::unordered_map<char32_t, int>& frequencyRank);
