// Finding kanji of a set by the kanji, a reading, a meaning, the radical and the stroke count.
#include "core/kanjiset/kanjisearch.h"

#include "core/kanjiset/genshilist.h"
#include "core/training/romaji.h"

#include <QList>

#include <algorithm>
#include <iterator>

namespace {

// The radicals of KANJIDIC2's classical order, the positions the demo generator writes.
constexpr qint32 RadicalCount = 214;

bool isHiragana(char32_t c) {
    return c >= U'\u3041' && c <= U'\u309F';
}
bool isKatakana(char32_t c) {
    return c >= U'\u30A1' && c <= U'\u30FA';
}
bool isKana(char32_t c) {
    return isHiragana(c) || isKatakana(c) || c == U'ー';
}
bool isKanji(char32_t c) {
    return (c >= U'\u2E80' && c <= U'\u2FDF') || (c >= U'\u3400' && c <= U'\u9FFF') ||
           (c >= U'\uF900' && c <= U'\uFAFF') || (c >= 0x20000 && c <= 0x3FFFF);
}

char32_t toHiragana(char32_t c) {
    return isKatakana(c) && c <= U'\u30F6' ? c - 0x60 : c;
}

std::u32string toUcs4(QStringView text) {
    std::u32string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (const char32_t c : text.toUcs4()) {
        out.push_back(c);
    }
    return out;
}

// Readings are separated by the Japanese comma, a comma or blanks.
bool separatesReadings(char32_t c) {
    return c == U'、' || c == U',' || c == U'，' || c == U' ' || c == U'\u3000' || c == U';' ||
           c == U'\t' || c == U'\n' || c == U'\r';
}

// The words of a folded meaning: runs of letters and digits.
template <class Visit>
void forEachWord(const QString& folded, Visit visit) {
    qsizetype start = -1;
    for (qsizetype i = 0; i <= folded.size(); ++i) {
        const bool inWord = i < folded.size() && folded.at(i).isLetterOrNumber();
        if (inWord && start < 0) {
            start = i;
        } else if (!inWord && start >= 0) {
            visit(folded.mid(start, i - start));
            start = -1;
        }
    }
}

void sortFound(std::vector<int>& positions) {
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
}

}  // namespace

QString foldForSearch(QStringView text) {
    const QString lower = text.toString().normalized(QString::NormalizationForm_C).toLower();
    QString folded;
    folded.reserve(lower.size() + 4);
    for (const QChar c : lower) {
        switch (c.unicode()) {
            case u'ä':
                folded += u"ae";
                break;
            case u'ö':
                folded += u"oe";
                break;
            case u'ü':
                folded += u"ue";
                break;
            case u'ß':
            case u'ẞ':
                folded += u"ss";
                break;
            default:
                folded += c;
        }
    }
    return folded;
}

bool genshiHoldsRadicals(const KanjiSet& set) {
    bool any = false;
    for (const KanjiRecord& record : set.records) {
        if (record.Genshi.isEmpty()) {
            continue;
        }
        const std::vector<qint32> positions = genshiPositions(record.Genshi);
        if (positions.size() != 1 || positions.front() < 0 || positions.front() >= RadicalCount) {
            return false;
        }
        any = true;
    }
    return any;
}

KanjiSearchIndex::KanjiSearchIndex(const KanjiSet& set, const StrokeCount& strokeCount) {
    const bool radicals = genshiHoldsRadicals(set);
    sources_.reserve(set.records.size());
    radicalOf_.reserve(set.records.size());
    strokes_.reserve(set.records.size());
    for (int position = 0; position < set.size(); ++position) {
        const KanjiRecord& record = set.records[static_cast<size_t>(position)];
        sources_.push_back(
            {record.Unicode, record.OnYomi, record.KunYomi, record.Bemerkung, record.Genshi});
        byCode_.emplace(record.Unicode, position);
        addReadings(record.OnYomi, position);
        addReadings(record.KunYomi, position);
        forEachWord(foldForSearch(record.Bemerkung), [&](const QString& word) {
            meaningWords_.push_back({word, position});
        });
        const std::vector<qint32> genshi =
            radicals ? genshiPositions(record.Genshi) : std::vector<qint32>{};
        radicalOf_.push_back(genshi.empty() ? -1 : genshi.front());
        strokes_.push_back(strokeCount && record.Unicode > 0 ? strokeCount(record.Unicode) : 0);
    }
    std::sort(meaningWords_.begin(), meaningWords_.end(),
              [](const MeaningWord& a, const MeaningWord& b) { return a.word < b.word; });
}

// A kun reading's okurigana follow a "."; "-" marks a prefix or suffix. The reading is whole
// with all of its okurigana or, for a reading without any, as it is; its stem alone and the stem
// with some of the okurigana are found too, since learners type "tabe" for たべる.
void KanjiSearchIndex::addReadings(const QString& readings, int position) {
    std::u32string reading;
    const auto flush = [&] {
        const size_t dot = reading.find(U'.');
        if (dot == std::u32string::npos) {
            addReading(reading, position, true);
        } else {
            std::u32string form = reading.substr(0, dot);
            addReading(form, position, false);
            for (size_t i = dot + 1; i < reading.size(); ++i) {
                if (reading[i] == U'.') {
                    continue;
                }
                form.push_back(reading[i]);
                addReading(form, position, i + 1 == reading.size());
            }
        }
        reading.clear();
    };
    for (const char32_t c : readings.toUcs4()) {
        if (separatesReadings(c)) {
            flush();
        } else if (isKana(c)) {
            reading.push_back(toHiragana(c));
        } else if (c == U'.' || c == U'．') {
            reading.push_back(U'.');
        }
    }
    flush();
}

void KanjiSearchIndex::addReading(std::u32string form, int position, bool whole) {
    if (form.empty()) {
        return;
    }
    std::vector<Posting>& postings = byReading_[std::move(form)];
    for (Posting& posting : postings) {
        if (posting.position == position) {
            posting.whole = posting.whole || whole;
            return;
        }
    }
    postings.push_back({position, whole});
}

bool KanjiSearchIndex::isCurrentFor(const KanjiSet& set) const {
    if (set.records.size() != sources_.size()) {
        return false;
    }
    const auto same = [](const QString& a, const QString& b) {
        return a.size() == b.size() && (a.isEmpty() || a.constData() == b.constData());
    };
    for (size_t i = 0; i < sources_.size(); ++i) {
        const KanjiRecord& record = set.records[i];
        const Source& source = sources_[i];
        if (record.Unicode != source.code || !same(record.OnYomi, source.on) ||
            !same(record.KunYomi, source.kun) || !same(record.Bemerkung, source.meaning) ||
            !same(record.Genshi, source.genshi)) {
            return false;
        }
    }
    return true;
}

void KanjiSearchIndex::findKanji(QStringView text, std::vector<Posting>& found) const {
    for (const char32_t c : text.toUcs4()) {
        if (!isKanji(c)) {
            continue;
        }
        const auto [first, last] = byCode_.equal_range(static_cast<qint32>(c));
        for (auto it = first; it != last; ++it) {
            found.push_back({it->second, true});
        }
    }
}

void KanjiSearchIndex::findReading(const QString& text, std::vector<Posting>& found) const {
    const std::u32string characters = toUcs4(text);
    const bool kana = std::all_of(characters.begin(), characters.end(),
                                  [](char32_t c) { return isKana(c) || c == U'.' || c == U'-'; });
    if (kana) {
        std::u32string reading;
        for (const char32_t c : characters) {
            if (isKana(c)) {
                reading.push_back(toHiragana(c));
            }
        }
        if (const auto it = byReading_.find(reading); it != byReading_.end()) {
            found.insert(found.end(), it->second.begin(), it->second.end());
        }
        return;
    }
    std::u32string prepared;
    if (!prepareRomaji(toUcs4(text.toLower()), prepared)) {
        return;
    }
    for (const auto& [reading, postings] : byReading_) {
        if (romajiSpells(prepared, reading)) {
            found.insert(found.end(), postings.begin(), postings.end());
        }
    }
}

// Every word of the query must begin a word of the meaning; the match is whole when each is a
// word of it.
void KanjiSearchIndex::findMeaning(const QString& text, std::vector<Posting>& found) const {
    std::vector<QString> words;
    forEachWord(foldForSearch(text), [&](const QString& word) { words.push_back(word); });
    if (words.empty()) {
        return;
    }
    // Per query word, the kanji whose meaning has a word it begins, and whether one equals it.
    std::vector<std::vector<Posting>> perWord;
    for (const QString& word : words) {
        std::vector<Posting> hits;
        auto it = std::lower_bound(
            meaningWords_.begin(), meaningWords_.end(), word,
            [](const MeaningWord& entry, const QString& key) { return entry.word < key; });
        for (; it != meaningWords_.end() && it->word.startsWith(word); ++it) {
            hits.push_back({it->position, it->word.size() == word.size()});
        }
        std::sort(hits.begin(), hits.end(), [](const Posting& a, const Posting& b) {
            return a.position != b.position ? a.position < b.position : a.whole > b.whole;
        });
        hits.erase(std::unique(
                       hits.begin(), hits.end(),
                       [](const Posting& a, const Posting& b) { return a.position == b.position; }),
                   hits.end());
        perWord.push_back(std::move(hits));
    }
    for (const Posting& candidate : perWord.front()) {
        bool all = true;
        bool whole = candidate.whole;
        for (size_t w = 1; w < perWord.size() && all; ++w) {
            const auto it = std::lower_bound(
                perWord[w].begin(), perWord[w].end(), candidate.position,
                [](const Posting& p, int position) { return p.position < position; });
            all = it != perWord[w].end() && it->position == candidate.position;
            whole = whole && all && it->whole;
        }
        if (all) {
            found.push_back({candidate.position, whole});
        }
    }
}

bool KanjiSearchIndex::passesFilters(int position, const KanjiSearchQuery& query) const {
    const size_t at = static_cast<size_t>(position);
    return (query.radical < 0 || radicalOf_[at] == query.radical) &&
           (query.strokes <= 0 || strokes_[at] == query.strokes);
}

std::vector<int> KanjiSearchIndex::search(const KanjiSearchQuery& query) const {
    const QString text = query.text.trimmed();
    std::vector<int> whole;
    std::vector<int> partial;
    if (text.isEmpty()) {
        if (query.radical < 0 && query.strokes <= 0) {
            return {};
        }
        for (int position = 0; position < static_cast<int>(sources_.size()); ++position) {
            if (passesFilters(position, query)) {
                partial.push_back(position);
            }
        }
        return partial;
    }
    std::vector<Posting> found;
    findKanji(text, found);
    findReading(text, found);
    findMeaning(text, found);
    for (const Posting& posting : found) {
        if (passesFilters(posting.position, query)) {
            (posting.whole ? whole : partial).push_back(posting.position);
        }
    }
    sortFound(whole);
    sortFound(partial);
    std::vector<int> result = whole;
    std::copy_if(partial.begin(), partial.end(), std::back_inserter(result),
                 [&whole](int position) {
                     return !std::binary_search(whole.begin(), whole.end(), position);
                 });
    return result;
}

std::vector<qint32> KanjiSearchIndex::radicals() const {
    std::vector<qint32> found;
    for (const qint32 radical : radicalOf_) {
        if (radical >= 0) {
            found.push_back(radical);
        }
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

std::vector<int> KanjiSearchIndex::positionsOf(qint32 code) const {
    std::vector<int> positions;
    const auto [first, last] = byCode_.equal_range(code);
    for (auto it = first; it != last; ++it) {
        positions.push_back(it->second);
    }
    std::sort(positions.begin(), positions.end());
    return positions;
}
