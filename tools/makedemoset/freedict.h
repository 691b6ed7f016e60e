// The Japanese–German FreeDict dictionary (dictd format), read at generation time for German
// meanings and example glosses.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <unordered_map>
#include <vector>

// How common a written form is, from JMdict's marks in front of it.
struct WordPriority {
    bool ichi = false;    // [ichi1]: everyday vocabulary
    bool common = false;  // [news1] or [spec1]
    int nf = 99;          // [nf01] (most frequent) to [nf48]; 99 when unmarked

    bool marked() const { return ichi || common; }
    // Whether this form should be preferred to `other`: [ichi1] first, then [news1]/[spec1],
    // then the lower [nfXX].
    bool before(const WordPriority& other) const;
};

struct GermanEntry {
    QStringList forms;                            // the written forms (kanji), in the entry's order
    std::vector<WordPriority> priorities;         // one per form
    QStringList readings;                         // kana
    std::vector<WordPriority> readingPriorities;  // one per reading
    bool usuallyKana = false;                     // "word usually written using kana alone"
    std::vector<QStringList> senses;              // cleaned glosses of each sense, in order

    // The priority of `form`, or an unmarked one when the entry does not write it so.
    WordPriority priorityOf(const QString& form) const;
    // The priority of `form` read as `reading` (kana of either kind): marked only when both are,
    // with the rarer frequency; unmarked when the entry has not both.
    WordPriority priorityOf(const QString& form, const QString& reading) const;
    // Whether the entry has `reading`, hiragana and katakana counting as the same.
    bool hasReading(const QString& reading) const;
};

// One entry's text as the .dict file holds it: the head line of forms and readings, the
// part-of-speech and note lines, and the glosses on the last line.
GermanEntry parseGermanEntry(const QString& text);

// A gloss without gender marks "(f)", parenthesised remarks "(Abk.)", "(insbes. …)",
// cross-references "{…}" and ellipses; empty when nothing with a letter is left, or only a
// placeholder such as "etw.".
QString cleanGloss(QString gloss);

// Up to `count` meanings from the first three senses, one sense after another in turns (the
// first gloss of each, then the second …), without repeats.
QStringList firstMeanings(const GermanEntry& entry, int count);

class GermanDictionary {
public:
    // The uncompressed .dict text and the .index text.
    static std::optional<GermanDictionary> parse(QByteArray dict, const QByteArray& index);
    // Debian's freedict files: <name>.index beside <name>.dict.dz.
    static std::optional<GermanDictionary> load(const QString& indexPath);

    // The entries that write `form` as one of their kanji forms, best placed for it first
    // (by priority, then those whose first form it is, then in the file's order).
    std::vector<GermanEntry> entriesOf(const QString& form) const;

private:
    struct Span {
        qsizetype offset = 0;
        qsizetype length = 0;
    };
    QByteArray dict_;
    std::unordered_map<QString, std::vector<Span>> index_;
};
