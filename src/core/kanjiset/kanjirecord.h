// The kanji record and the open set with its current element.
#pragma once

#include <QString>

#include <array>
#include <vector>

struct KanjiRecord {
    qint32 Idx1 = 0;
    qint32 Idx2 = 0;
    // A full code point (not a UTF-16 unit), so kanji beyond U+FFFF survive every round trip.
    qint32 Unicode = 0;
    QString Anim;
    QString OnYomi;
    QString KunYomi;
    QString Bemerkung;
    QString GenshiMeaning;
    QString Genshi;
    std::array<QString, 4> SoundFile;
    std::array<QString, 4> Beispiel;
};

// The character with that code as text; empty for a value that is no character.
inline QString kanjiText(qint32 code) {
    if (code <= 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return {};
    }
    const char32_t character = static_cast<char32_t>(code);
    return QString::fromUcs4(&character, 1);
}

// A new set starts with one record like this. It is kept in the file, but it is no kanji: it is
// never asked, exported or printed, and the first new kanji takes its place.
inline bool isBlank(const KanjiRecord& record) {
    const auto allEmpty = [](const std::array<QString, 4>& texts) {
        for (const QString& text : texts) {
            if (!text.isEmpty()) {
                return false;
            }
        }
        return true;
    };
    return record.Unicode == 0 && record.Anim.isEmpty() && record.OnYomi.isEmpty() &&
           record.KunYomi.isEmpty() && record.Bemerkung.isEmpty() &&
           record.GenshiMeaning.isEmpty() && record.Genshi.isEmpty() &&
           allEmpty(record.SoundFile) && allEmpty(record.Beispiel);
}

// The records in order plus the current element (-1 when there is none).
struct KanjiSet {
    std::vector<KanjiRecord> records;
    int current = -1;

    bool empty() const { return records.empty(); }
    int size() const { return static_cast<int>(records.size()); }
    KanjiRecord* currentRecord() {
        return current >= 0 && current < size() ? &records[current] : nullptr;
    }
    const KanjiRecord* currentRecord() const {
        return current >= 0 && current < size() ? &records[current] : nullptr;
    }
};
