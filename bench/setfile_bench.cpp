// Set file load and save speed for sets of 2,000 and 13,000 kanji, beside Expat's bare parse.
#include "base/files.h"
#include "core/kanjiset/setfile.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <expat.h>

#include <map>
#include <random>

namespace {

const char16_t* const kKatakana[] = {
    u"ニチ", u"ジツ", u"ゲツ", u"ガツ", u"スイ", u"カ",   u"ボク",   u"モク", u"キン", u"コン",
    u"ド",   u"ト",   u"ジン", u"ニン", u"ダイ", u"タイ", u"ショウ", u"セイ", u"ガク", u"コウ"};
const char16_t* const kHiragana[] = {
    u"ひ",   u"-び",  u"-か",       u"つき",      u"みず",    u"ひ",      u"き",   u"かね",
    u"つち", u"ひと", u"おお.きい", u"ちい.さい", u"まな.ぶ", u"たか.い", u"やま", u"かわ"};
const char16_t* const kMeanings[] = {u"Sonne", u"Tag",    u"Mond",  u"Monat", u"Wasser", u"Feuer",
                                     u"Baum",  u"Holz",   u"Gold",  u"Erde",  u"Mensch", u"groß",
                                     u"klein", u"lernen", u"hoch",  u"Berg",  u"Fluss",  u"sun",
                                     u"day",   u"moon",   u"water", u"fire",  u"tree",   u"person"};
const char16_t* const kWords[] = {u"日本 (にほん) Japan",          u"毎日 (まいにち) jeden Tag",
                                  u"水曜日 (すいようび) Mittwoch", u"大学 (だいがく) Universität",
                                  u"学生 (がくせい) Student",      u"火山 (かざん) Vulkan"};

template <std::size_t N>
QString pick(std::mt19937& random, const char16_t* const (&words)[N], int count,
             QStringView separator) {
    QString text;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            text.append(separator);
        }
        text.append(QStringView(words[random() % N]));
    }
    return text;
}

std::vector<KanjiRecord> makeSet(int count) {
    std::mt19937 random(20240611);
    std::vector<KanjiRecord> records(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        KanjiRecord& record = records[std::size_t(i)];
        record.Idx1 = i + 1;
        record.Idx2 = i % 5;
        record.Unicode = 0x4E00 + i;
        record.Anim = QString::number(record.Unicode) + u".png"_qs;
        record.OnYomi = pick(random, kKatakana, 1 + int(random() % 3), u"、");
        record.KunYomi = pick(random, kHiragana, int(random() % 4), u"、");
        record.Bemerkung = pick(random, kMeanings, 2 + int(random() % 4), u", ");
        record.Genshi =
            QString::number(random() % 300) + u',' + QString::number(random() % 300) + u',';
        const int examples = int(random() % 5);
        for (int e = 0; e < examples; ++e) {
            record.Beispiel[e] = pick(random, kWords, 1, u"");
            if (random() % 2) {
                record.SoundFile[e] =
                    QString::number(record.Unicode) + u'_' + QString::number(e + 1) + u".wav"_qs;
            }
        }
    }
    return records;
}

const std::vector<KanjiRecord>& setOf(int count) {
    static std::map<int, std::vector<KanjiRecord>> sets;
    auto found = sets.find(count);
    if (found == sets.end()) {
        found = sets.emplace(count, makeSet(count)).first;
    }
    return found->second;
}

const QByteArray& fileOf(int count) {
    static std::map<int, QByteArray> files;
    auto found = files.find(count);
    if (found == files.end()) {
        found = files.emplace(count, writeSetFile(setOf(count))).first;
    }
    return found->second;
}

void parseSet(benchmark::State& state) {
    const QByteArray& bytes = fileOf(int(state.range(0)));
    for (auto _ : state) {
        auto records = parseSetFile(bytes);
        benchmark::DoNotOptimize(records);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
    state.counters["file_bytes"] = double(bytes.size());
}

void writeSet(benchmark::State& state) {
    const std::vector<KanjiRecord>& records = setOf(int(state.range(0)));
    for (auto _ : state) {
        QByteArray bytes = writeSetFile(records);
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(state.iterations() * fileOf(int(state.range(0))).size());
}

void XMLCALL ignoreStart(void*, const XML_Char*, const XML_Char**) {}
void XMLCALL ignoreEnd(void*, const XML_Char*) {}
void XMLCALL ignoreText(void*, const XML_Char*, int) {}

// The floor: Expat alone on the same bytes, without handlers or with empty ones (the latter
// includes Expat's conversion of every name, attribute and text to UTF-8).
void expatBare(benchmark::State& state) {
    const QByteArray& bytes = fileOf(int(state.range(0)));
    const bool handlers = state.range(1) != 0;
    for (auto _ : state) {
        XML_Parser parser = XML_ParserCreate(nullptr);
        if (handlers) {
            XML_SetElementHandler(parser, ignoreStart, ignoreEnd);
            XML_SetCharacterDataHandler(parser, ignoreText);
        }
        const XML_Status status = XML_Parse(parser, bytes.constData(), int(bytes.size()), 1);
        benchmark::DoNotOptimize(status);
        XML_ParserFree(parser);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void loadFile(benchmark::State& state) {
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Bench.rki"));
    if (!saveFileAtomically(path, fileOf(int(state.range(0))))) {
        state.SkipWithError("cannot write the set file");
        return;
    }
    for (auto _ : state) {
        auto records = parseSetFile(readWholeFile(path).value_or(QByteArray()));
        benchmark::DoNotOptimize(records);
    }
}

void saveFile(benchmark::State& state) {
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Bench.rki"));
    const std::vector<KanjiRecord>& records = setOf(int(state.range(0)));
    for (auto _ : state) {
        if (!saveFileAtomically(path, writeSetFile(records))) {
            state.SkipWithError("cannot save the set file");
            return;
        }
    }
}

BENCHMARK(parseSet)->Arg(2000)->Arg(13000)->Unit(benchmark::kMillisecond);
BENCHMARK(expatBare)
    ->ArgsProduct({{2000, 13000}, {0, 1}})
    ->ArgNames({"kanji", "handlers"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(writeSet)->Arg(2000)->Arg(13000)->Unit(benchmark::kMillisecond);
BENCHMARK(loadFile)->Arg(2000)->Arg(13000)->Unit(benchmark::kMillisecond);
BENCHMARK(saveFile)->Arg(2000)->Arg(13000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
