// CSV export of a 13,000-kanji set with every field, beside writing the same bytes plainly.
#include "base/files.h"
#include "core/kanjiset/exportlines.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <numeric>
#include <random>

namespace {

constexpr int Count = 13000;

const char16_t* const kOn[] = {u"ニチ-Sonne",  u"ジツ-Tag",  u"ゲツ-Mond",    u"スイ-Wasser",
                               u"カ-Feuer",    u"ボク-Baum", u"キン-Gold",    u"ド-Erde",
                               u"ジン-Mensch", u"ダイ-groß", u"ショウ-klein", u"ガク-lernen"};
const char16_t* const kKun[] = {
    u"日*ひ hi-Sonne", u"月*つき tsuki-Mond",      u"水*みず mizu-Wasser",        u"火*ひ hi-Feuer",
    u"木*き ki-Baum",  u"大*おお.きい ookii-groß", u"小*ちい.さい chiisai-klein", u"ue-oben"};
const char16_t* const kNotes[] = {u"Die Sonne geht auf", u"Ein Baum, zwei Bäume",
                                  u"Er sagt \"groß\"", u"Wasser fließt"};

const std::vector<KanjiRecord>& set() {
    static const std::vector<KanjiRecord> records = [] {
        std::mt19937 random(20240611);
        std::vector<KanjiRecord> made(Count);
        for (int i = 0; i < Count; ++i) {
            KanjiRecord& record = made[std::size_t(i)];
            record.Idx1 = i + 1;
            record.Unicode = 0x4E00 + i;
            record.OnYomi = QString::fromUtf16(kOn[random() % std::size(kOn)]);
            record.KunYomi = QString::fromUtf16(kKun[random() % std::size(kKun)]);
            record.Bemerkung = QString::fromUtf16(kNotes[random() % std::size(kNotes)]);
            record.Genshi =
                QString::number(random() % 214) + u',' + QString::number(random() % 214) + u',';
        }
        return made;
    }();
    return records;
}

const std::vector<int>& allPositions() {
    static const std::vector<int> positions = [] {
        std::vector<int> all(Count);
        std::iota(all.begin(), all.end(), 0);
        return all;
    }();
    return positions;
}

ExportFields everyField() {
    ExportFields fields;
    fields.unicode = fields.genshi = fields.mnemonic = true;
    return fields;
}

const QByteArray& exportedBytes() {
    static const QByteArray bytes = exportFile(set(), allPositions(), everyField());
    return bytes;
}

void exportLines(benchmark::State& state) {
    for (auto _ : state) {
        QByteArray bytes = exportFile(set(), allPositions(), everyField());
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["file_bytes"] = double(exportedBytes().size());
}

// What the export command does after the dialog: the bytes, then the atomic save.
void exportAndSave(benchmark::State& state) {
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Export.csv"));
    for (auto _ : state) {
        if (!saveFileAtomically(path, exportFile(set(), allPositions(), everyField()))) {
            state.SkipWithError("cannot save the export");
            return;
        }
    }
}

void saveOnly(benchmark::State& state) {
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Export.csv"));
    for (auto _ : state) {
        if (!saveFileAtomically(path, exportedBytes())) {
            state.SkipWithError("cannot save the export");
            return;
        }
    }
}

// The floor: the same bytes written in place, optionally synced to the disk as the atomic save
// does (without temporary file and rename).
void plainWrite(benchmark::State& state) {
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Export.csv"));
    const bool sync = state.range(0) != 0;
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(exportedBytes()) != exportedBytes().size() || !file.flush() ||
            (sync && ::fsync(file.handle()) != 0)) {
            state.SkipWithError("cannot write the file");
            return;
        }
        file.close();
    }
}

BENCHMARK(exportLines)->Unit(benchmark::kMillisecond);
BENCHMARK(exportAndSave)->Unit(benchmark::kMillisecond);
BENCHMARK(saveOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(plainWrite)->ArgName("sync")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
