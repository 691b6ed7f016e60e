// The comma-separated export of a set: the line of one kanji, the Kun formatting and the file.
#pragma once

#include "core/kanjiset/kanjirecord.h"

#include <QByteArray>
#include <QString>

#include <vector>

// The parts of a KunYomi text ("kanji writing*hiragana romaji-meaning") the export can write,
// as bits of a mask.
enum KunPart : int {
    KunMeaning = 1,
    KunRomaji = 2,
    KunHiragana = 4,
    KunKanjiWriting = 8,
    KunAllParts = 15,
};

// The fields of an export line. The defaults are what the export dialog starts with.
struct ExportFields {
    bool kanji = true;
    bool unicode = false;
    bool onYomi = true;
    // The whole OnYomi text; without it only the reading before the first "-".
    bool onWithMeaning = true;
    bool kunYomi = true;
    // KunPart bits.
    int kunMask = KunAllParts;
    bool genshi = false;
    // The Genshi positions as columns of their own; otherwise in one column, joined by ";".
    bool genshiColumns = false;
    bool mnemonic = false;

    bool operator==(const ExportFields&) const = default;
};

// The chosen parts of a KunYomi text, in the order kanji writing, hiragana, romaji, meaning,
// separated by "; ". A text with no "*" and no Latin letter (readings in kana only, as KANJIDIC
// gives them) is one part, the text as stored, given whenever any part is chosen. The CSV export,
// the PDF cards and the practice sheets all write the Kun reading through this one function.
QString formatKun(const QString& kunYomi, int mask);

// One field as a CSV reader reads it back: in double quotes, inner quotes doubled, when it
// holds a comma, a double quote, a TAB, CR or LF; otherwise as it is.
QString csvField(const QString& text);

// The line of one record, without its line end. Fields come in the order kanji, code, On, Kun,
// Genshi, mnemonic; the kanji column is there even when empty.
QString exportLine(const KanjiRecord& record, const ExportFields& fields);

// The whole file: the lines of the records at the given 0-based indices, in that order, each
// ended by CR LF, as UTF-16 little-endian without byte-order mark. Indices outside the list and
// blank records (see isBlank) are skipped.
QByteArray exportFile(const std::vector<KanjiRecord>& records, const std::vector<int>& indices,
                      const ExportFields& fields);
