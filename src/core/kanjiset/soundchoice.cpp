// Picking the sound of an example and cleaning readings up for the Japanese voice.
#include "core/kanjiset/soundchoice.h"

#include <QFileInfo>
#include <QStringList>

namespace {

bool isKana(char32_t c) {
    // Hiragana and katakana with the long-vowel mark, and the half-width katakana.
    return (c >= 0x3041 && c <= 0x30FF) || (c >= 0xFF66 && c <= 0xFF9F);
}

// Drops the markers KANJIDIC puts in readings ("ひと.つ", "-び") and everything that is no kana.
QString kanaOnly(QStringView text) {
    QString kana;
    for (const char32_t c : text.toUcs4()) {
        if (isKana(c)) {
            kana += QString::fromUcs4(&c, 1);
        }
    }
    return kana;
}

}  // namespace

QString exampleReading(const QString& example) {
    qsizetype open = -1;
    for (qsizetype i = 0; i < example.size(); ++i) {
        if (example[i] == u'(' || example[i] == u'（') {
            open = i;
            break;
        }
    }
    if (open < 0) {
        return {};
    }
    qsizetype close = open + 1;
    while (close < example.size() && example[close] != u')' && example[close] != u'）') {
        ++close;
    }
    if (close >= example.size()) {
        return {};
    }
    const QStringView inside = QStringView(example).sliced(open + 1, close - open - 1);
    // A gloss in brackets ("(someone's)") is no reading: only kana, markers and spaces may be in.
    for (const char32_t c : inside.toUcs4()) {
        if (!isKana(c) && c != U'.' && c != U'-' && c != U'・' && c != U' ') {
            return {};
        }
    }
    return kanaOnly(inside);
}

QString readingsToSpeak(const KanjiRecord& record) {
    QStringList spoken;
    for (const QString& readings : {record.OnYomi, record.KunYomi}) {
        // Readings are typed with any of these separators between them.
        QString part;
        for (const QChar c : readings + u'、') {
            if (c == u'、' || c == u',' || c == u'，' || c == u' ' || c == u'　' || c == u';') {
                const QString kana = kanaOnly(part);
                if (!kana.isEmpty() && !spoken.contains(kana)) {
                    spoken.append(kana);
                }
                part.clear();
            } else {
                part += c;
            }
        }
    }
    return spoken.join(u'、');
}

SoundToPlay exampleSound(const KanjiRecord& record, int i, const QString& soundsDir) {
    if (i < 0 || i >= static_cast<int>(record.Beispiel.size())) {
        return {};
    }
    const QString& file = record.SoundFile[static_cast<size_t>(i)];
    // The name stays inside the set's folder; a path elsewhere is not played.
    if (!file.isEmpty() && !file.contains(u'/') && !file.contains(u'\\') && file != u".."_qs &&
        QFileInfo(soundsDir + file).isFile()) {
        return {SoundToPlay::Kind::File, soundsDir + file, {}};
    }
    const QString kana = exampleReading(record.Beispiel[static_cast<size_t>(i)]);
    if (kana.isEmpty()) {
        return {};
    }
    return {SoundToPlay::Kind::Speech, {}, kana};
}
