// Slips of the keyboard in a typed reading: the reference's kana words are varied by one slip
// each, and the answer is a slip when it is right against the reference with those variants.
#include "core/training/readingslip.h"

#include "core/training/answercheck.h"

#include <QRegularExpression>
#include <QStringList>

#include <string_view>

namespace {

constexpr std::u16string_view RowA = u"あかがさざただなはばぱまやらわゃぁ";
constexpr std::u16string_view RowI = u"いきぎしじちぢにひびぴみりぃ";
constexpr std::u16string_view RowU = u"うくぐすずつづぬふぶぷむゆるゅぅ";
constexpr std::u16string_view RowE = u"えけげせぜてでねへべぺめれぇ";
constexpr std::u16string_view RowO = u"おこごそぞとどのほぼぽもよろをょぉ";

QChar hiragana(QChar c) {
    const char16_t code = c.unicode();
    return (code >= 0x30A1 && code <= 0x30F6) ? QChar(char16_t(code - 0x60)) : c;
}

// The vowel a kana ends in, as the kana that lengthens it; none for ん, っ and anything else.
char16_t vowelOf(QChar c) {
    const char16_t code = c.unicode();
    for (const auto& [row, vowel] :
         {std::pair{RowA, u'あ'}, std::pair{RowI, u'い'}, std::pair{RowU, u'う'},
          std::pair{RowE, u'え'}, std::pair{RowO, u'お'}}) {
        if (row.find(code) != std::u16string_view::npos) {
            return vowel;
        }
    }
    return 0;
}

// The kana that make the vowel before them long: its own vowel, and う after o, い after e.
bool lengthens(QChar before, QChar c) {
    const char16_t vowel = vowelOf(before);
    if (vowel == 0) {
        return false;
    }
    const char16_t code = c.unicode();
    return code == vowel || code == u'ー' || (vowel == u'お' && code == u'う') ||
           (vowel == u'え' && code == u'い');
}

void addLongVowelSlips(const QString& word, QStringList& variants) {
    for (qsizetype i = 0; i < word.size(); ++i) {
        const bool lengthening = i > 0 && lengthens(word[i - 1], word[i]);
        if (lengthening) {
            // Left out, or written the other way (こう as こお, えい as ええ).
            variants << QString(word).remove(i, 1);
            const char16_t vowel = vowelOf(word[i - 1]);
            for (char16_t other : {vowel, char16_t(u'う'), char16_t(u'い')}) {
                if (other != word[i].unicode() && lengthens(word[i - 1], QChar(other))) {
                    variants << QString(word).replace(i, 1, QChar(other));
                }
            }
            continue;
        }
        const bool longAlready = i + 1 < word.size() && lengthens(word[i], word[i + 1]);
        if (vowelOf(word[i]) != 0 && !longAlready) {
            // Put in where the vowel is short.
            const char16_t vowel = vowelOf(word[i]);
            variants << QString(word).insert(i + 1, QChar(vowel));
            if (vowel == u'お') {
                variants << QString(word).insert(i + 1, QChar(u'う'));
            } else if (vowel == u'え') {
                variants << QString(word).insert(i + 1, QChar(u'い'));
            }
        }
    }
}

void addSmallKanaSlips(const QString& word, QStringList& variants) {
    constexpr std::u16string_view Small = u"っゃゅょ";
    constexpr std::u16string_view Full = u"つやゆよ";
    for (qsizetype i = 0; i < word.size(); ++i) {
        const std::size_t at = Small.find(word[i].unicode());
        if (at != std::u16string_view::npos) {
            variants << QString(word).remove(i, 1);
            variants << QString(word).replace(i, 1, QChar(Full[at]));
        }
    }
}

// The reference's kana words in hiragana, okurigana dots and "-" left out.
QStringList kanaWords(const QString& reference) {
    static const QRegularExpression word(u"[\\x{3041}-\\x{30FF}.\\-]+"_qs);
    QStringList words;
    for (const QRegularExpressionMatch& match : word.globalMatch(reference)) {
        QString kana;
        for (const QChar c : match.capturedView()) {
            if (c != u'.' && c != u'-' && c != u'・') {
                kana += hiragana(c);
            }
        }
        if (!kana.isEmpty()) {
            words << kana;
        }
    }
    return words;
}

}  // namespace

bool isReadingSlip(const QString& reference, const QString& typed) {
    if (typed.trimmed().isEmpty() || compareAnswer(reference, typed) == Grade::Right) {
        return false;
    }
    // An input method leaves the last "n" unconverted when the learner stops typing early.
    static const QRegularExpression finalN(u"([\\x{3041}-\\x{30FF}])[nN](?=$|[^\\p{L}])"_qs);
    QString finished = typed;
    finished.replace(finalN, u"\\1ん"_qs);
    if (finished != typed && compareAnswer(reference, finished) == Grade::Right) {
        return true;
    }
    QStringList variants;
    for (const QString& word : kanaWords(reference)) {
        addLongVowelSlips(word, variants);
        addSmallKanaSlips(word, variants);
    }
    if (variants.isEmpty()) {
        return false;
    }
    return compareAnswer(reference + u'、' + variants.join(u'、'), typed) == Grade::Right;
}
