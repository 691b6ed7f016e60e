// The kanji record and the open set with its current element.
#pragma once

#include <QString>

#include <array>
#include <memory>
#include <vector>

class QImage;

// An image owned by a record. Core code only holds and releases it; the app layer creates it.
using ImageHandle = std::shared_ptr<QImage>;

struct KanjiRecord {
    qint32 Idx1 = 0;
    qint32 Idx2 = 0;
    // A full code point (not a UTF-16 unit), so kanji beyond U+FFFF survive every round trip.
    qint32 Unicode = 0;
    QString Anim;
    ImageHandle KanjiImage;
    ImageHandle StrokeImage;
    QString OnYomi;
    QString KunYomi;
    QString Bemerkung;
    QString GenshiMeaning;
    QString Genshi;
    std::array<ImageHandle, 4> ExampleMedia;
    std::array<QString, 4> SoundFile;
    std::array<QString, 4> Beispiel;
};

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
