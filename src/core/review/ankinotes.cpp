// Anki notes turned into kanji records, and those records brought into a set.
#include "core/review/ankinotes.h"

#include "core/review/ankitext.h"
#include "core/review/csvimport.h"

#include <algorithm>

namespace {

constexpr qsizetype ExampleCount = 4;

const QString ListSeparator = QStringLiteral(", ");

AnkiFieldText fieldText(const AnkiNote& note, const AnkiFieldMap& map, AnkiTarget target) {
    const int index = fieldFor(map, target);
    if (index < 0 || index >= note.fields.size()) {
        return {};
    }
    return cleanAnkiField(note.fields[index]);
}

// The first example place without a sound, -1 when all four have one.
int freeSoundPlace(const KanjiRecord& record) {
    for (int i = 0; i < ExampleCount; ++i) {
        if (record.SoundFile[static_cast<size_t>(i)].isEmpty()) {
            return i;
        }
    }
    return -1;
}

void placeSound(KanjiRecord& record, const QString& name, qsizetype line) {
    for (const QString& given : record.SoundFile) {
        if (given == name) {
            return;
        }
    }
    if (line >= 0 && line < ExampleCount && record.SoundFile[static_cast<size_t>(line)].isEmpty()) {
        record.SoundFile[static_cast<size_t>(line)] = name;
        return;
    }
    if (const int free = freeSoundPlace(record); free >= 0) {
        record.SoundFile[static_cast<size_t>(free)] = name;
    }
}

// Fills an empty text; true when it did.
bool fill(QString& kept, const QString& given) {
    if (!kept.isEmpty() || given.isEmpty()) {
        return false;
    }
    kept = given;
    return true;
}

// Takes the examples of from that kept does not hold into kept's free places; the sounds that
// came along are appended to sounds.
bool fillExamples(KanjiRecord& kept, const KanjiRecord& from, QStringList& sounds) {
    bool changed = false;
    for (size_t i = 0; i < ExampleCount; ++i) {
        const QString& text = from.Beispiel[i];
        const QString& sound = from.SoundFile[i];
        if (text.isEmpty() && sound.isEmpty()) {
            continue;
        }
        const auto held = std::find(kept.Beispiel.begin(), kept.Beispiel.end(), text);
        if (!text.isEmpty() && held != kept.Beispiel.end()) {
            QString& keptSound = kept.SoundFile[static_cast<size_t>(held - kept.Beispiel.begin())];
            if (fill(keptSound, sound)) {
                sounds.append(sound);
                changed = true;
            }
            continue;
        }
        if (text.isEmpty() && std::find(kept.SoundFile.begin(), kept.SoundFile.end(), sound) !=
                                  kept.SoundFile.end()) {
            continue;
        }
        for (size_t place = 0; place < ExampleCount; ++place) {
            if (kept.Beispiel[place].isEmpty() && kept.SoundFile[place].isEmpty()) {
                kept.Beispiel[place] = text;
                kept.SoundFile[place] = sound;
                if (!sound.isEmpty()) {
                    sounds.append(sound);
                }
                changed = true;
                break;
            }
        }
    }
    return changed;
}

}  // namespace

bool isKanjiCode(qint32 code) {
    return (code >= 0x4E00 && code <= 0x9FFF) || (code >= 0x3400 && code <= 0x4DBF) ||
           (code >= 0x20000 && code <= 0x323AF) || (code >= 0xF900 && code <= 0xFAFF) ||
           (code >= 0x2F800 && code <= 0x2FA1F);
}

std::optional<KanjiRecord> ankiNoteRecord(const AnkiNote& note, const AnkiFieldMap& map) {
    const AnkiFieldText kanji = fieldText(note, map, AnkiTarget::Kanji);
    if (kanji.lines.size() != 1) {
        return std::nullopt;
    }
    const QList<uint> codes = kanji.lines.front().toUcs4();
    if (codes.size() != 1 || !isKanjiCode(static_cast<qint32>(codes.front()))) {
        return std::nullopt;
    }
    KanjiRecord record;
    record.Unicode = static_cast<qint32>(codes.front());
    const AnkiFieldText on = fieldText(note, map, AnkiTarget::On);
    const AnkiFieldText kun = fieldText(note, map, AnkiTarget::Kun);
    const AnkiFieldText meaning = fieldText(note, map, AnkiTarget::Meaning);
    const AnkiFieldText examples = fieldText(note, map, AnkiTarget::Examples);
    record.OnYomi = on.joined(ListSeparator);
    record.KunYomi = kun.joined(ListSeparator);
    record.Bemerkung = meaning.joined(ListSeparator);
    for (qsizetype i = 0; i < std::min(examples.lines.size(), ExampleCount); ++i) {
        record.Beispiel[static_cast<size_t>(i)] = examples.lines[i];
    }
    for (const AnkiFieldText::Sound& sound : examples.sounds) {
        placeSound(record, sound.name, sound.line);
    }
    for (const AnkiFieldText* other : {&kanji, &on, &kun, &meaning}) {
        for (const AnkiFieldText::Sound& sound : other->sounds) {
            placeSound(record, sound.name, -1);
        }
    }
    return record;
}

AnkiNoteRecords ankiNoteRecords(const AnkiCollection& collection, qint64 noteType,
                                const AnkiFieldMap& map) {
    AnkiNoteRecords result;
    for (const AnkiNote& note : collection.notes) {
        if (note.noteType != noteType) {
            continue;
        }
        std::optional<KanjiRecord> record = ankiNoteRecord(note, map);
        if (!record) {
            ++result.skipped;
            continue;
        }
        result.codeOfNote.insert(note.id, record->Unicode);
        result.records.push_back(std::move(*record));
    }
    return result;
}

AnkiMergeOutcome addAnkiRecords(KanjiSet& set, std::vector<KanjiRecord> records) {
    AnkiMergeOutcome outcome;
    QHash<qint32, size_t> known;
    qint32 highest = 0;
    // Backwards, so a kanji kept twice is found at its first record.
    for (size_t i = set.records.size(); i-- > 0;) {
        known.insert(set.records[i].Unicode, i);
        highest = std::max(highest, set.records[i].Idx1);
    }
    std::vector<char> filled(set.records.size(), 0);
    std::vector<KanjiRecord> added;
    QHash<qint32, size_t> addedIndex;
    for (KanjiRecord& record : records) {
        KanjiRecord* kept = nullptr;
        char* filledMark = nullptr;
        if (const auto at = known.constFind(record.Unicode); at != known.constEnd()) {
            kept = &set.records[*at];
            filledMark = &filled[*at];
        } else if (const auto again = addedIndex.constFind(record.Unicode);
                   again != addedIndex.constEnd()) {
            kept = &added[*again];
        }
        if (kept == nullptr) {
            record.Idx1 = highest < INT32_MAX ? ++highest : highest;
            for (const QString& sound : record.SoundFile) {
                if (!sound.isEmpty()) {
                    outcome.sounds.append(sound);
                }
            }
            addedIndex.insert(record.Unicode, added.size());
            added.push_back(std::move(record));
            continue;
        }
        bool changed = fill(kept->OnYomi, record.OnYomi);
        changed = fill(kept->KunYomi, record.KunYomi) || changed;
        changed = fill(kept->Bemerkung, record.Bemerkung) || changed;
        changed = fillExamples(*kept, record, outcome.sounds) || changed;
        if (changed && filledMark != nullptr) {
            *filledMark = 1;
        }
    }
    outcome.filled = static_cast<int>(std::count(filled.begin(), filled.end(), 1));
    outcome.added = static_cast<int>(added.size());
    outcome.sounds.removeDuplicates();
    insertRecords(set, std::move(added));
    return outcome;
}
