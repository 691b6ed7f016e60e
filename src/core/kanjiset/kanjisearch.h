// Finding kanji of a set by the kanji itself, a reading in kana or romaji, a word of the meaning,
// the radical and the stroke count, over an index made once per set.
#pragma once

#include "core/kanjiset/kanjirecord.h"

#include <QString>
#include <QStringView>

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

// Text as meanings are compared: lower case, and the German umlauts and ß written out (ä and ae,
// ö and oe, ü and ue, ß and ss are the same), so that "Schluessel" finds "Schlüssel".
QString foldForSearch(QStringView text);

// The Genshi of a set the demo generator made holds one entry, the kanji's classical radical;
// other sets list a kanji's components there in no order a search could rely on.
bool genshiHoldsRadicals(const KanjiSet& set);

struct KanjiSearchQuery {
    // A kanji, a reading (kana or romaji, with or without okurigana) or words of the meaning
    // (German or English, each the start of a word); blanks around it are ignored.
    QString text;
    // The Genshi list position of the radical; -1 for any.
    qint32 radical = -1;
    // 0 for any.
    int strokes = 0;
};

class KanjiSearchIndex {
public:
    // The stroke count of a kanji by its code, 0 when unknown; without it no kanji is found by
    // stroke count.
    using StrokeCount = std::function<int(qint32 code)>;

    KanjiSearchIndex() = default;
    explicit KanjiSearchIndex(const KanjiSet& set, const StrokeCount& strokeCount = {});

    // False once a record of the set was added, removed, moved or edited since the index was
    // made. The index keeps shallow copies of the texts it read: an edit of one in the set
    // detaches it, so comparing where the texts live is enough.
    bool isCurrentFor(const KanjiSet& set) const;

    // The positions in the set of the kanji found: whole matches first (the kanji, a reading with
    // all of its okurigana or none, a whole word of the meaning), then the rest, each group in
    // set order. Empty when the query asks for nothing.
    std::vector<int> search(const KanjiSearchQuery& query) const;

    // The radicals of the set's kanji (Genshi list positions, ascending); empty when the set's
    // Genshi holds no radicals.
    std::vector<qint32> radicals() const;
    // The positions of the kanji with that code, in set order.
    std::vector<int> positionsOf(qint32 code) const;

private:
    struct Posting {
        int position = 0;
        bool whole = false;
    };
    struct MeaningWord {
        QString word;
        int position = 0;
    };
    struct Source {
        qint32 code = 0;
        QString on;
        QString kun;
        QString meaning;
        QString genshi;
    };

    void addReadings(const QString& readings, int position);
    void addReading(std::u32string form, int position, bool whole);
    void findKanji(QStringView text, std::vector<Posting>& found) const;
    void findReading(const QString& text, std::vector<Posting>& found) const;
    void findMeaning(const QString& text, std::vector<Posting>& found) const;
    bool passesFilters(int position, const KanjiSearchQuery& query) const;

    std::vector<Source> sources_;
    std::unordered_multimap<qint32, int> byCode_;
    // Every way of writing each reading in hiragana, with the kanji that have it.
    std::unordered_map<std::u32string, std::vector<Posting>> byReading_;
    // The folded words of every meaning, sorted, so a word's start is found by bisection.
    std::vector<MeaningWord> meaningWords_;
    std::vector<qint32> radicalOf_;
    std::vector<int> strokes_;
};
