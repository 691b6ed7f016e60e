// Grading of a typed training answer. The rule for Latin text goes back to the meanings the
// trainer was first written for; letters of other scripts, kana folding and romaji extend it
// without changing what an ASCII answer gets.
#include "core/training/answercheck.h"

#include "base/trimspaces.h"
#include "core/training/romaji.h"

#include <QChar>
#include <QStringView>

#include <string>
#include <string_view>
#include <vector>

namespace {

enum class WordKind {
    // Compared exactly.
    Plain,
    // Only kana besides "-" and okurigana dots; compared by its kana.
    Kana,
    // An answer word in romaji; spells a kana reference word or is compared exactly.
    Romaji,
};

struct Word {
    // The word in lower case with katakana folded to hiragana (in the reference without "(").
    std::size_t plainBegin = 0;
    std::size_t plainSize = 0;
    // Kana: the kana alone; Romaji: the word prepared for romajiSpells.
    std::size_t keyBegin = 0;
    std::size_t keySize = 0;
    WordKind kind = WordKind::Plain;
};

struct Words {
    std::u32string text;   // the normalised text
    std::u32string store;  // the plain forms and keys of all words
    std::vector<Word> list;

    std::u32string_view plain(const Word& word) const {
        return std::u32string_view(store).substr(word.plainBegin, word.plainSize);
    }
    std::u32string_view key(const Word& word) const {
        return std::u32string_view(store).substr(word.keyBegin, word.keySize);
    }
};

enum class Side { Reference, Answer };

bool isKana(char32_t c) {
    // Hiragana with the voicing marks and iteration marks, katakana with ー and ヽ ヾ; the
    // middle dot ・ (U+30FB) separates.
    return (c >= 0x3041 && c <= 0x3096) || (c >= 0x3099 && c <= 0x309F) ||
           (c >= 0x30A1 && c <= 0x30FA) || (c >= 0x30FC && c <= 0x30FF);
}

char32_t foldKatakana(char32_t c) {
    if ((c >= 0x30A1 && c <= 0x30F6) || c == 0x30FD || c == 0x30FE) {
        return c - 0x60;
    }
    return c;
}

bool isWordCharacter(char32_t c, Side side) {
    if (c < 0x80) {
        // After lower-casing, U+0041 to U+007A leaves a–z and [ \ ] ^ _ `.
        return (c >= 0x41 && c <= 0x7A) || c == U'-' || (side == Side::Reference && c == U'(');
    }
    return QChar::isLetter(c) || QChar::isMark(c);
}

// The text without leading and trailing U+0020, in lower case, as code points. Half a surrogate
// pair is kept as it is; it is no letter, so it separates words.
void normalise(const QString& source, std::u32string& out) {
    const QStringView text = trimSpaces(source);
    const qsizetype end = text.size();
    out.clear();
    out.reserve(std::size_t(end));
    for (qsizetype i = 0; i < end; ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < end && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        if (c < 0x80) {
            out.push_back(c >= U'A' && c <= U'Z' ? c + 0x20 : c);
        } else {
            out.push_back(QChar::toLower(c));
        }
    }
}

// The word made of text[begin, end): its plain form and, when it is kana or romaji, its key.
void addWord(Words& words, std::size_t begin, std::size_t end, Side side) {
    const std::u32string_view source = std::u32string_view(words.text).substr(begin, end - begin);
    Word word;
    word.plainBegin = words.store.size();
    bool kana = false;
    bool onlyKana = true;
    for (const char32_t c : source) {
        if (c == U'(' || c == U')') {
            continue;  // only reference words hold them
        }
        const char32_t folded = foldKatakana(c);
        words.store.push_back(folded);
        if (isKana(folded)) {
            kana = true;
        } else if (c != U'-' && c != U'.') {
            onlyKana = false;
        }
    }
    word.plainSize = words.store.size() - word.plainBegin;
    word.keyBegin = words.store.size();
    if (kana && onlyKana) {
        word.kind = WordKind::Kana;
        for (std::size_t i = 0; i < word.plainSize; ++i) {
            const char32_t c = words.store[word.plainBegin + i];
            if (c != U'-' && c != U'.') {
                words.store.push_back(c);
            }
        }
    } else if (side == Side::Answer && prepareRomaji(source, words.store)) {
        word.kind = WordKind::Romaji;
    }
    word.keySize = words.store.size() - word.keyBegin;
    words.list.push_back(word);
}

// Splits the normalised text into words. Scanning starts inside a word, so a text that begins
// with a separator (or is empty) yields an empty first word; further runs of separators yield
// nothing. Besides the word characters, a "." between two kana stays in the word (okurigana),
// and with joinApostrophe an "'" between "n" and a–z does too (romaji "kon'ya").
void split(Words& words, Side side, bool joinApostrophe) {
    const std::u32string& text = words.text;
    const auto joins = [&](std::size_t i) {
        const char32_t c = text[i];
        if (isWordCharacter(c, side)) {
            return true;
        }
        if (i == 0 || i + 1 >= text.size()) {
            return false;
        }
        const char32_t before = text[i - 1];
        const char32_t after = text[i + 1];
        if (c == U'.') {
            return isKana(before) && isKana(after);
        }
        return joinApostrophe && c == U'\'' && before == U'n' && after >= U'a' && after <= U'z';
    };
    std::size_t begin = 0;
    bool inWord = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (joins(i)) {
            if (!inWord) {
                begin = i;
                inWord = true;
            }
        } else if (inWord) {
            addWord(words, begin, i, side);
            inWord = false;
        }
    }
    if (inWord) {
        addWord(words, begin, text.size(), side);
    }
}

bool matches(const Words& references, const Word& reference, const Words& answers,
             const Word& answer) {
    if (reference.kind == WordKind::Kana) {
        switch (answer.kind) {
            case WordKind::Kana:
                return references.key(reference) == answers.key(answer);
            case WordKind::Romaji:
                return romajiSpells(answers.key(answer), references.key(reference));
            case WordKind::Plain:
                return false;
        }
    }
    return references.plain(reference) == answers.plain(answer);
}

}  // namespace

Grade compareAnswer(const QString& reference, const QString& typed) {
    if (typed.isEmpty()) {
        return reference.isEmpty() ? Grade::Right : Grade::Wrong;
    }
    Words references;
    normalise(reference, references.text);
    split(references, Side::Reference, false);
    bool kanaReference = false;
    for (const Word& word : references.list) {
        kanaReference = kanaReference || word.kind == WordKind::Kana;
    }
    Words answers;
    normalise(typed, answers.text);
    split(answers, Side::Answer, kanaReference);

    // Each reference word in turn takes the first answer word it matches that no earlier
    // reference word took.
    std::vector<bool> taken(answers.list.size(), false);
    std::size_t takenCount = 0;
    for (const Word& word : references.list) {
        for (std::size_t i = 0; i < answers.list.size(); ++i) {
            if (!taken[i] && matches(references, word, answers, answers.list[i])) {
                taken[i] = true;
                ++takenCount;
                break;
            }
        }
    }
    if (takenCount == answers.list.size()) {
        return Grade::Right;
    }
    return takenCount > 0 ? Grade::Partly : Grade::Wrong;
}
