// Reading EDICT lines ("WORD [READING] /(tags) gloss/.../(P)/") and choosing examples per kanji.
#include "edict.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringView>

#include "freedict.h"

#include "base/files.h"

#include <algorithm>
#include <limits>
#include <tuple>
#include <unordered_set>

namespace {

// EDICT is about 19 MB; the bound only stops a wrong path from eating memory.
constexpr qint64 kMaxEdictBytes = qint64(128) << 20;
constexpr qsizetype kMinWordLength = 2;

// Part-of-speech, field and sense tags in front of a gloss: "(n)", "(n-adv,n-t)", "(1)",
// "(P)", "{comp}". Text a gloss really starts with, such as "(someone's)", is kept.
const QRegularExpression& leadingTags() {
    static const QRegularExpression tags(
        u"^(?:\\s*(?:\\([A-Za-z0-9-]+(?:,[A-Za-z0-9-]+)*\\)|\\{[A-Za-z0-9-]+\\}))+\\s*"_qs);
    return tags;
}

std::optional<EdictWord> parseLine(QStringView line) {
    const qsizetype open = line.indexOf(u" ["_qs);
    const qsizetype close = line.indexOf(u"] /"_qs);
    if (open <= 0 || close <= open + 2) {
        return std::nullopt;
    }
    EdictWord word;
    word.word = line.first(open).toString();
    word.reading = line.sliced(open + 2, close - open - 2).toString();
    const QStringView glosses = line.sliced(close + 3);
    const qsizetype end = glosses.indexOf(u'/');
    word.gloss = glosses.first(end < 0 ? glosses.size() : end).toString();
    word.gloss.remove(leadingTags());
    word.gloss = word.gloss.trimmed();
    word.common = glosses.contains(u"/(P)/"_qs) || glosses.startsWith(u"(P)/"_qs);
    word.usuallyKana = glosses.contains(u"(uk)"_qs);
    return word;
}

// Kanji, the iteration mark and hiragana. EDICT also lists "１日", "日ソ" and "ヶ国", which
// teach an abbreviation rather than a word.
bool isWordLetter(char32_t c) {
    return (c >= 0x3041 && c <= 0x309F) || c == 0x3005 || (c >= 0x3400 && c <= 0x9FFF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3FFFF);
}

// A word of one doubled character ("日日", "一一") is a rarer spelling of one with "々".
bool isExampleWord(const QList<uint>& characters) {
    return characters.size() >= kMinWordLength &&
           std::all_of(characters.begin(), characters.end(),
                       [](uint c) { return isWordLetter(static_cast<char32_t>(c)); }) &&
           characters.count(characters.front()) < characters.size();
}

qsizetype lengthOf(const QString& text) {
    return static_cast<qsizetype>(text.toUcs4().size());
}

bool isHiragana(char32_t c) {
    return c >= 0x3041 && c <= 0x309F;
}

// "本の", "日に": one kanji with particles teaches nothing the kanji alone does not.
bool isKanjiWithParticles(const QList<uint>& characters) {
    static const std::u32string_view particles = U"のにをはがとでもへやか";
    qsizetype kanji = 0;
    for (const uint unit : characters) {
        const char32_t c = static_cast<char32_t>(unit);
        if (!isHiragana(c)) {
            ++kanji;
        } else if (particles.find(c) == std::u32string_view::npos) {
            return false;
        }
    }
    return kanji == 1;
}

// Among equally common words of one length, the one whose kanji a learner meets most often
// teaches best. Hiragana count as known; kanji without a rank count as the rarest, and so does
// "々": a doubled kanji teaches no second one.
int rarestRank(const QString& word, const std::unordered_map<char32_t, KanjiFacts>& kanji) {
    int rarest = 0;
    for (const uint unit : word.toUcs4()) {
        const char32_t c = static_cast<char32_t>(unit);
        if (isHiragana(c)) {
            continue;
        }
        const auto found = kanji.find(c);
        const int rank = found == kanji.end() || found->second.frequencyRank <= 0
                             ? std::numeric_limits<int>::max()
                             : found->second.frequencyRank;
        rarest = std::max(rarest, rank);
    }
    return rarest;
}

// Whether every other kanji of the word is taught at the level of `code` or before it.
bool othersNoHarder(const QString& word, char32_t code,
                    const std::unordered_map<char32_t, KanjiFacts>& kanji) {
    const auto own = kanji.find(code);
    const int level = own == kanji.end() ? 0 : own->second.jlptLevel;
    for (const uint unit : word.toUcs4()) {
        const char32_t c = static_cast<char32_t>(unit);
        if (c == code || isHiragana(c)) {
            continue;
        }
        const auto found = kanji.find(c);
        if (found == kanji.end() || found->second.jlptLevel < level ||
            found->second.jlptLevel == 0) {
            return false;
        }
    }
    return true;
}

// What the German dictionary says of a word: how common it is, its gloss, whether it is
// usually kana.
struct GermanWord {
    WordPriority priority;
    QString gloss;
    bool usuallyKana = false;
};

GermanWord germanWordOf(const EdictWord& word, const GermanDictionary* german) {
    if (german == nullptr) {
        return {};
    }
    const std::vector<GermanEntry> entries = german->entriesOf(word.word);
    if (entries.empty()) {
        return {};
    }
    // EDICT gives a word once per reading; only the entry of that reading describes it, so
    // 学生 read がくしょう is neither as common as がくせい nor glossed from it.
    const auto sameReading =
        std::find_if(entries.begin(), entries.end(),
                     [&](const GermanEntry& e) { return e.hasReading(word.reading); });
    if (sameReading == entries.end()) {
        return {};
    }
    const QStringList gloss = firstMeanings(*sameReading, 1);
    return {sameReading->priorityOf(word.word, word.reading),
            gloss.isEmpty() ? QString() : gloss.front(), sameReading->usuallyKana};
}

}  // namespace

std::optional<std::vector<EdictWord>> parseEdict(const QByteArray& eucJp) {
    QStringDecoder decoder("EUC-JP", QStringDecoder::Flag::Stateless);
    if (!decoder.isValid()) {
        return std::nullopt;
    }
    const QString text = decoder.decode(eucJp);
    if (decoder.hasError()) {
        return std::nullopt;
    }
    std::vector<EdictWord> words;
    for (const QStringView line : QStringView(text).split(u'\n', Qt::SkipEmptyParts)) {
        if (std::optional<EdictWord> word = parseLine(line.trimmed())) {
            words.push_back(std::move(*word));
        }
    }
    return words;
}

std::optional<std::vector<EdictWord>> loadEdict(const QString& path) {
    const auto bytes = readWholeFile(path, kMaxEdictBytes);
    if (!bytes) {
        return std::nullopt;
    }
    return parseEdict(*bytes);
}

QString exampleText(const EdictWord& word, const QString& gloss) {
    QString text = word.word + u" ("_qs + word.reading + u')';
    const QString& shown = gloss.isEmpty() ? word.gloss : gloss;
    if (!shown.isEmpty()) {
        text += u' ' + shown;
    }
    return text;
}

std::unordered_map<char32_t, Examples> chooseExamples(
    const std::vector<EdictWord>& words, const std::unordered_map<char32_t, KanjiFacts>& kanji,
    const GermanDictionary* german) {
    std::unordered_map<char32_t, std::vector<size_t>> candidates;
    std::unordered_map<size_t, GermanWord> germanWords;
    for (size_t i = 0; i < words.size(); ++i) {
        const QList<uint> characters = words[i].word.toUcs4();
        if (!isExampleWord(characters) || isKanjiWithParticles(characters) ||
            words[i].usuallyKana) {
            continue;
        }
        bool used = false;
        for (const uint unit : characters) {
            const char32_t c = static_cast<char32_t>(unit);
            std::vector<size_t>* list = kanji.contains(c) ? &candidates[c] : nullptr;
            if (list != nullptr && (list->empty() || list->back() != i)) {
                list->push_back(i);
                used = true;
            }
        }
        if (used) {
            germanWords.emplace(i, germanWordOf(words[i], german));
        }
    }

    std::unordered_map<char32_t, Examples> chosen;
    for (auto& [code, indices] : candidates) {
        std::erase_if(indices, [&](size_t i) { return germanWords.at(i).usuallyKana; });
        const auto key = [&](size_t i) {
            const WordPriority& priority = germanWords.at(i).priority;
            return std::make_tuple(
                !(words[i].common || priority.marked()), priority.nf, lengthOf(words[i].word),
                !othersNoHarder(words[i].word, code, kanji), rarestRank(words[i].word, kanji), i);
        };
        std::sort(indices.begin(), indices.end(),
                  [&](size_t a, size_t b) { return key(a) < key(b); });
        Examples examples;
        size_t filled = 0;
        QStringList taken;
        for (const size_t i : indices) {
            if (filled == examples.size()) {
                break;
            }
            // EDICT gives a word once per reading; the first, best placed one stands for it.
            if (taken.contains(words[i].word)) {
                continue;
            }
            taken.append(words[i].word);
            examples[filled++] = exampleText(words[i], germanWords.at(i).gloss);
        }
        if (filled > 0) {
            chosen.emplace(code, std::move(examples));
        }
    }
    return chosen;
}
