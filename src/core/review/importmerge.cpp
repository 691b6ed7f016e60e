// Bringing imported records into the set: kanji new to it are added, kanji it holds are updated.
#include "core/review/importmerge.h"

#include <QHash>

#include <algorithm>
#include <limits>
#include <utility>

namespace {

// Position index (position - 1) of Unicode: it names the kanji and is never updated.
constexpr size_t UnicodePosition = 2;
constexpr qsizetype AnimPosition = 8;

// Whether field differs from value; with apply, field takes it.
template <class T>
bool differs(T& field, const T& value, bool apply) {
    if (field == value) {
        return false;
    }
    if (apply) {
        field = value;
    }
    return true;
}

// Compares (and with apply, copies) the field of position index p, in the order of
// storeMappedLine.
bool differsAt(KanjiRecord& kept, const KanjiRecord& from, size_t p, bool apply) {
    switch (p) {
        case 0:
            return differs(kept.Idx1, from.Idx1, apply);
        case 1:
            return differs(kept.Idx2, from.Idx2, apply);
        case UnicodePosition:
            return false;
        case 3:
            return differs(kept.OnYomi, from.OnYomi, apply);
        case 4:
            return differs(kept.KunYomi, from.KunYomi, apply);
        case 5:
            return differs(kept.Bemerkung, from.Bemerkung, apply);
        case 6:
            return differs(kept.GenshiMeaning, from.GenshiMeaning, apply);
        case 7:
            return differs(kept.Genshi, from.Genshi, apply);
        case AnimPosition:
            return differs(kept.Anim, from.Anim, apply);
        default:
            break;
    }
    if (p >= MappedPositions) {
        return false;
    }
    const size_t example = (p - 9) / 2;
    if ((p - 9) % 2 == 1) {
        return differs(kept.Beispiel[example], from.Beispiel[example], apply);
    }
    return differs(kept.SoundFile[example], from.SoundFile[example], apply);
}

// Whether kept differs from the imported record in any of the positions; with apply, kept takes
// the imported values there.
bool differsIn(KanjiRecord& kept, const KanjiRecord& from, const GivenPositions& positions,
               bool apply) {
    bool any = false;
    for (size_t p = 0; p < MappedPositions; ++p) {
        if (positions.test(p) && differsAt(kept, from, p, apply)) {
            any = true;
            if (!apply) {
                return true;
            }
        }
    }
    return any;
}

// A record of the set before the import, with the positions lines of this import gave it.
struct KnownRecord {
    int index = 0;
    GivenPositions claimed;
};

// Numbers past the largest qint32 stay at it rather than wrap to negative positions.
qint32 runningNumberAt(qint32 firstNumber, size_t line) {
    const qint64 number = qint64(firstNumber) + qint64(line);
    return static_cast<qint32>(std::min<qint64>(number, std::numeric_limits<qint32>::max()));
}

// A new kanji without a place of its own (Idx1 not given, or 0) is numbered after the set's
// own kanji and the other new ones, in its order, so that it lands at the end of the set instead
// of among its first kanji.
void numberUnplaced(std::vector<KanjiRecord>& added, const KanjiSet& set) {
    qint32 next = nextRunningNumber(set);
    for (const KanjiRecord& record : added) {
        if (record.Idx1 >= next) {
            next =
                record.Idx1 == std::numeric_limits<qint32>::max() ? record.Idx1 : record.Idx1 + 1;
        }
    }
    for (KanjiRecord& record : added) {
        if (record.Unicode != 0 && record.Idx1 == 0) {
            record.Idx1 = next;
            next = next == std::numeric_limits<qint32>::max() ? next : next + 1;
        }
    }
}

}  // namespace

std::vector<ImportedRecord> importMappedRecords(std::span<const QStringList> rows,
                                                std::span<const MappingCode> codes,
                                                qint32 firstNumber) {
    std::vector<ImportedRecord> records(rows.size());
    for (size_t i = 0; i < records.size(); ++i) {
        const QStringList mapped = mapImportLine(rows[i], codes, runningNumberAt(firstNumber, i));
        storeMappedLine(records[i].record, mapped);
        for (qsizetype k = 0; k < std::min<qsizetype>(mapped.size(), MappedPositions); ++k) {
            // An Anim refused as a file name gives nothing, so it never replaces a good one.
            const QString& value = k == AnimPosition ? records[i].record.Anim : mapped[k];
            // A running number is the import's count, not a value of the file: it never
            // moves a kanji the set holds.
            const bool counted = k < std::ssize(codes) && codes[static_cast<size_t>(k)].source ==
                                                              MappingSource::RunningNumber;
            records[i].given.set(static_cast<size_t>(k), holdsValue(value) && !counted);
        }
    }
    return records;
}

qint32 nextRunningNumber(const KanjiSet& set) {
    qint32 highest = 0;
    for (const KanjiRecord& record : set.records) {
        highest = std::max(highest, record.Idx1);
    }
    return highest == std::numeric_limits<qint32>::max() ? highest : highest + 1;
}

ImportOutcome addImported(KanjiSet& set, std::vector<ImportedRecord> imported, bool optimise) {
    ImportOutcome outcome;
    if (!optimise) {
        std::vector<KanjiRecord> records;
        records.reserve(imported.size());
        for (ImportedRecord& item : imported) {
            records.push_back(std::move(item.record));
        }
        outcome.added = static_cast<int>(records.size());
        numberUnplaced(records, set);
        insertRecords(set, std::move(records));
        return outcome;
    }
    QHash<qint32, std::vector<KnownRecord>> known;
    for (int i = 0; i < set.size(); ++i) {
        if (const qint32 code = set.records[static_cast<size_t>(i)].Unicode; code != 0) {
            known[code].push_back({i, {}});
        }
    }
    std::vector<char> changed(set.records.size(), 0);
    KanjiSet added;
    for (ImportedRecord& item : imported) {
        GivenPositions given = item.given;
        given.reset(UnicodePosition);
        const auto found = item.record.Unicode != 0 ? known.find(item.record.Unicode) : known.end();
        if (found == known.end()) {
            added.records.push_back(std::move(item.record));
            continue;
        }
        std::vector<KnownRecord>& records = *found;
        const auto recordAt = [&set](const KnownRecord& r) -> KanjiRecord& {
            return set.records[static_cast<size_t>(r.index)];
        };
        // A record that already holds the line's values takes it as it is: importing a file
        // again changes nothing, also for a kanji kept twice.
        auto target = std::find_if(records.begin(), records.end(), [&](const KnownRecord& r) {
            return !differsIn(recordAt(r), item.record, given, false);
        });
        // A value an earlier line of this import gave is not overwritten by a later one: two
        // lines of one kanji that disagree both stay, as two records.
        if (target == records.end()) {
            target = std::find_if(records.begin(), records.end(), [&](const KnownRecord& r) {
                return !differsIn(recordAt(r), item.record, given & r.claimed, false);
            });
        }
        if (target == records.end()) {
            added.records.push_back(std::move(item.record));
            continue;
        }
        target->claimed |= given;
        if (differsIn(recordAt(*target), item.record, given, true)) {
            changed[static_cast<size_t>(target->index)] = 1;
        }
    }
    outcome.updated = static_cast<int>(std::count(changed.begin(), changed.end(), 1));
    // Merged among themselves first, so the count of added records is what the set gains.
    const kanjilist::OptimiseResult amongAdded = optimiseList(added);
    outcome.added = added.size();
    numberUnplaced(added.records, set);
    insertRecords(set, std::move(added.records));
    outcome.optimised = optimiseList(set);
    outcome.optimised.merged += amongAdded.merged;
    outcome.optimised.removed += amongAdded.removed;
    return outcome;
}
