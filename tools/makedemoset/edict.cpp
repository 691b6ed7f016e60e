// Reading EDICT lines ("WORD [READING] /(tags) gloss/.../(P)/") and choosing examples per kanji.
#include "edict.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringView>

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

// Among equally common words of one length, the one whose kanji a learner meets most often
// teaches best. Hiragana count as known; kanji without a rank count as the rarest, and so does
// "々": a doubled kanji teaches no second one.
int rarestRank(const QString& word, const std::unordered_map<char32_t, int>& frequencyRank) {
    int rarest = 0;
    for (const uint unit : word.toUcs4()) {
        const char32_t c = static_cast<char32_t>(unit);
        if (c >= 0x3041 && c <= 0x309F) {
            continue;
        }
        const auto found = frequencyRank.find(c);
        const int rank = found == frequencyRank.end() || found->second <= 0
                             ? std::numeric_limits<int>::max()
                             : found->second;
        rarest = std::max(rarest, rank);
    }
    return rarest;
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

QString exampleText(const EdictWord& word) {
    QString text = word.word + u" ("_qs + word.reading + u')';
    if (!word.gloss.isEmpty()) {
        text += u' ' + word.gloss;
    }
    return text;
}

std::unordered_map<char32_t, Examples> chooseExamples(
    const std::vector<EdictWord>& words, const std::unordered_map<char32_t, int>& frequencyRank) {
    std::unordered_map<char32_t, std::vector<size_t>> candidates;
    for (size_t i = 0; i < words.size(); ++i) {
        const QList<uint> characters = words[i].word.toUcs4();
        if (!isExampleWord(characters)) {
            continue;
        }
        for (const uint unit : characters) {
            const char32_t c = static_cast<char32_t>(unit);
            std::vector<size_t>* list = frequencyRank.contains(c) ? &candidates[c] : nullptr;
            if (list != nullptr && (list->empty() || list->back() != i)) {
                list->push_back(i);
            }
        }
    }

    std::unordered_map<char32_t, Examples> chosen;
    for (auto& [code, indices] : candidates) {
        const auto key = [&](size_t i) {
            return std::make_tuple(!words[i].common, lengthOf(words[i].word),
                                   rarestRank(words[i].word, frequencyRank), i);
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
            examples[filled++] = exampleText(words[i]);
        }
        chosen.emplace(code, std::move(examples));
    }
    return chosen;
}
