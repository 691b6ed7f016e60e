// The comma-separated export of a set: the line of one kanji, the Kun formatting and the file.
#include "core/kanjiset/exportlines.h"

#include "base/trimspaces.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <utility>

namespace {

// The field'th part of text between separators (0 = before the first), empty when there are
// fewer.
QStringView section(QStringView text, QChar separator, int field) {
    qsizetype begin = 0;
    for (int i = 0; i < field; ++i) {
        const qsizetype found = text.indexOf(separator, begin);
        if (found < 0) {
            return {};
        }
        begin = found + 1;
    }
    const qsizetype end = text.indexOf(separator, begin);
    return text.sliced(begin, (end < 0 ? text.size() : end) - begin);
}

// Hiragana and kanji lie in this range; romaji and the blank before them do not.
bool isKanaOrKanji(QChar c) {
    return c.unicode() >= 0x0101 && c.unicode() <= 0x7FFF;
}

QStringView kanjiWriting(QStringView kun) {
    return trimSpaces(section(kun, u'*', 0));
}

QStringView hiragana(QStringView kun) {
    const QStringView field = section(kun, u'*', 1);
    qsizetype end = 0;
    while (end < field.size() && (field[end] == u' ' || isKanaOrKanji(field[end]))) {
        ++end;
    }
    return trimSpaces(field.first(end));
}

QStringView romaji(QStringView kun) {
    const QStringView field = section(kun, u'-', 0);
    qsizetype begin = 0;
    while (begin < field.size() &&
           (field[begin] == u'*' || field[begin] == u' ' || field[begin].unicode() > 0x0100)) {
        ++begin;
    }
    return trimSpaces(field.sliced(begin));
}

QStringView kunMeaning(QStringView kun) {
    return trimSpaces(section(kun, u'-', 1));
}

// A TAB too: spreadsheets and the program's own import separate at TABs as well as commas.
bool needsQuotes(QStringView text) {
    for (const QChar c : text) {
        if (c == u',' || c == u'"' || c == u'\t' || c == u'\r' || c == u'\n') {
            return true;
        }
    }
    return false;
}

void appendField(QString& out, QStringView text) {
    if (!needsQuotes(text)) {
        out.append(text);
        return;
    }
    out.append(u'"');
    for (const QChar c : text) {
        if (c == u'"') {
            out.append(u'"');
        }
        out.append(c);
    }
    out.append(u'"');
}

// A record without a character (code 0) or with a code no character has gets an empty column
// rather than a NUL or a lone surrogate.
bool isCharacter(qint32 code) {
    return code > 0 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
}

void appendKanji(QString& out, qint32 code) {
    if (isCharacter(code)) {
        appendField(out, QChar::fromUcs4(static_cast<char32_t>(code)));
    }
}

// A field built in place from position start on, quoted afterwards when it has to be.
void quoteFrom(QString& out, qsizetype start) {
    if (needsQuotes(QStringView(out).sliced(start))) {
        const QString field = out.sliced(start);
        out.truncate(start);
        appendField(out, field);
    }
}

// Romaji are Latin letters, with or without macrons; kana, kanji and KANJIDIC's marks ("-", ".",
// "、") are not.
bool hasLatinLetter(QStringView text) {
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.isLetter() && c.script() == QChar::Script_Latin; });
}

// The chosen Kun parts appended to out; the separator rule looks only at what this field holds.
void appendKun(QString& out, QStringView kunYomi, int mask) {
    const qsizetype start = out.size();
    const bool hasWriting = kunYomi.contains(u'*');
    // Readings in kana only, as KANJIDIC gives them ("ひ、-び、-か"), have no parts to pick:
    // their "-" marks a suffix, not a meaning, so cutting at it would lose the readings.
    if (!hasWriting && !hasLatinLetter(kunYomi)) {
        if ((mask & KunAllParts) != 0) {
            out.append(kunYomi);
        }
        return;
    }
    using Part = QStringView (*)(QStringView);
    const std::array<std::pair<int, Part>, 4> parts{{{KunKanjiWriting, &kanjiWriting},
                                                     {KunHiragana, &hiragana},
                                                     {KunRomaji, &romaji},
                                                     {KunMeaning, &kunMeaning}}};
    for (const auto& [bit, part] : parts) {
        if ((mask & bit) == 0) {
            continue;
        }
        // Writing and hiragana are the parts around the "*"; a text without one has neither.
        if ((bit == KunKanjiWriting || bit == KunHiragana) && !hasWriting) {
            continue;
        }
        // The separator goes in even before a part that turns out empty, so a reader can tell
        // which part is missing.
        if (out.size() > start) {
            out.append(u"; ");
        }
        out.append(part(kunYomi));
    }
}

// Each position keeps its column; an entry that holds a quote or a line break is quoted on its
// own.
void appendGenshiColumns(QString& out, QStringView genshi) {
    qsizetype begin = 0;
    while (true) {
        const qsizetype end = genshi.indexOf(u',', begin);
        appendField(out, genshi.sliced(begin, (end < 0 ? genshi.size() : end) - begin));
        if (end < 0) {
            return;
        }
        out.append(u',');
        begin = end + 1;
    }
}

void appendLine(QString& out, const KanjiRecord& record, const ExportFields& fields) {
    if (fields.kanji) {
        appendKanji(out, record.Unicode);
    }
    if (fields.unicode) {
        out.append(u',').append(QString::number(record.Unicode));
    }
    if (fields.onYomi) {
        out.append(u',');
        appendField(out, fields.onWithMeaning ? QStringView(record.OnYomi)
                                              : section(record.OnYomi, u'-', 0));
    }
    if (fields.kunYomi) {
        out.append(u',');
        const qsizetype start = out.size();
        appendKun(out, record.KunYomi, fields.kunMask);
        quoteFrom(out, start);
    }
    if (fields.genshi) {
        out.append(u',');
        if (fields.genshiColumns) {
            appendGenshiColumns(out, record.Genshi);
        } else {
            const qsizetype start = out.size();
            out.append(record.Genshi);
            std::replace(out.begin() + start, out.end(), u',', u';');
            quoteFrom(out, start);
        }
    }
    if (fields.mnemonic) {
        out.append(u',');
        appendField(out, record.Bemerkung);
    }
}

}  // namespace

QString formatKun(const QString& kunYomi, int mask) {
    QString result;
    appendKun(result, kunYomi, mask);
    return result;
}

QString csvField(const QString& text) {
    QString out;
    appendField(out, text);
    return out;
}

QString exportLine(const KanjiRecord& record, const ExportFields& fields) {
    QString line;
    appendLine(line, record, fields);
    return line;
}

QByteArray exportFile(const std::vector<KanjiRecord>& records, const std::vector<int>& indices,
                      const ExportFields& fields) {
    QString text;
    // About the length of a line with every field; growing costs more than a spare reserve.
    text.reserve(static_cast<qsizetype>(indices.size()) * 64);
    for (const int index : indices) {
        if (index < 0 || index >= static_cast<int>(records.size())) {
            continue;
        }
        const KanjiRecord& record = records[static_cast<size_t>(index)];
        if (isBlank(record)) {
            continue;
        }
        appendLine(text, record, fields);
        text.append(u"\r\n");
    }
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    qToLittleEndian<char16_t>(text.utf16(), text.size(), bytes.data());
    return bytes;
}
