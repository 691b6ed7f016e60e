// Fuzz target for the CSV import: decoding, records and values, the column mapping, the records
// made from the lines and how an optimised import folds them into the set.
#include "core/review/csvimport.h"
#include "core/review/importmerge.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <set>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte ticks the separator boxes; the second is the "Sonstiges" character.
    const uint8_t boxes = data[0];
    const CsvSeparators separators{
        (boxes & 1) != 0, (boxes & 2) != 0,  (boxes & 4) != 0,
        (boxes & 8) != 0, (boxes & 16) != 0, size > 1 ? QString(QChar(data[1])) : QString()};
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data) + 1,
                                                     static_cast<qsizetype>(size - 1));
    // The top bit reads the bytes in an encoding of the second byte's choosing, as the learner's
    // choice box does; otherwise the encoding is detected.
    std::optional<CsvEncoding> encoding;
    if ((boxes & 128) != 0 && size > 1) {
        encoding = CsvEncodings[data[1] % std::size(CsvEncodings)];
    }
    const QString text = decodeCsvText(bytes, encoding);
    const QString characters = separators.characters();
    const int separatorCount = countCsvColumns(text, characters);
    if (separatorCount < 0 || separatorCount >= MaxCsvColumns) {
        std::abort();
    }
    const std::optional<std::vector<QStringList>> rows = readCsvRecords(text, characters);
    // The wizard's compact scan must give what the plain reader gives.
    const std::optional<CsvScan> scan = scanCsvText(text, characters);
    if (rows.has_value() != scan.has_value()) {
        std::abort();
    }
    if (!rows) {
        return 0;
    }
    if (scan->separatorCount != separatorCount || scan->rows.rows(0, scan->rows.size()) != *rows ||
        scan->openQuoteLine < 0) {
        std::abort();
    }
    for (const QStringList& row : *rows) {
        if (row.size() > separatorCount + 1) {
            std::abort();
        }
    }
    // Every source item once, then the items the last row's values name as captions.
    std::vector<MappingCode> codes;
    for (const QString& caption : sourceItemCaptions(separatorCount + 1)) {
        codes.push_back(mappingCode(caption));
    }
    if (!rows->empty()) {
        for (const QString& value : rows->back()) {
            codes.push_back(mappingCode(value));
        }
    }
    // The lines imported once as they come, then again as an optimised import would take them.
    const auto imported = [&](bool headingLine, qint32 firstNumber) {
        return importMappedRecords(importedRows(*rows, headingLine), codes, firstNumber);
    };
    KanjiSet set;
    const int lineCount = static_cast<int>(rows->size());
    const ImportOutcome plain = addImported(set, imported((boxes & 32) != 0, 1), false);
    if (plain.added != set.size() || plain.added < lineCount - 1 || plain.updated != 0) {
        std::abort();
    }
    const auto codesOf = [](const KanjiSet& of) {
        std::set<qint32> held;
        for (const KanjiRecord& record : of.records) {
            held.insert(record.Unicode);
        }
        held.erase(0);
        return held;
    };
    const std::set<qint32> before = codesOf(set);
    const int recordsBefore = set.size();
    const ImportOutcome folded = addImported(set, imported((boxes & 64) != 0, -5), true);
    // Folding may merge records away, but never a kanji, and it updates only records it had.
    const std::set<qint32> after = codesOf(set);
    if (!std::includes(after.begin(), after.end(), before.begin(), before.end()) ||
        folded.updated > recordsBefore || set.size() > recordsBefore + folded.added ||
        (set.current < -1 || set.current >= set.size())) {
        std::abort();
    }
    return 0;
}
