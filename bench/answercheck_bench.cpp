// Answer comparison speed on the answers a training session sees: meanings in Latin letters,
// readings typed in kana, and readings typed in romaji against the kana of the card.
#include "core/training/answercheck.h"

#include <QString>
#include <QStringView>

#include <benchmark/benchmark.h>

#include <random>
#include <utility>
#include <vector>

namespace {

struct Pair {
    const char16_t* reference;
    const char16_t* typed;
};

// Right, partly right and wrong answers, roughly as often as a learner gives them.
const Pair kMeanings[] = {
    {u"Sonne, Tag", u"Tag"},
    {u"Mond, Monat", u"monat"},
    {u"Wasser", u"Wasser "},
    {u"Feuer", u"Feuer, Licht"},
    {u"Baum, Holz", u"Holz Baum"},
    {u"Gold, Metall, Geld", u"geld"},
    {u"Erde, Boden", u"Land"},
    {u"Mensch, Person", u"Mensch"},
    {u"groß, bedeutend", u"groß"},
    {u"klein, gering", u"klein wenig"},
    {u"lernen, studieren, Wissenschaft", u"lernen"},
    {u"hoch, teuer", u"teuer"},
};

const Pair kKana[] = {
    {u"ニチ、ジツ", u"にち"},    {u"ゲツ、ガツ", u"がつ"}, {u"スイ", u"すい"},
    {u"ひ、-び、-か", u"び"},    {u"つき", u"ツキ"},       {u"おお.きい", u"おおきい"},
    {u"ちい.さい", u"ちいさい"}, {u"まな.ぶ", u"まなぶ"},  {u"ショウ、セイ", u"しょう せい"},
    {u"たか.い", u"たかい"},     {u"ガク", u"がっく"},     {u"やま", u"かわ"},
};

const Pair kRomaji[] = {
    {u"ニチ、ジツ", u"nichi"},  {u"ゲツ、ガツ", u"getsu gatsu"},
    {u"スイ", u"sui"},          {u"ひ、-び、-か", u"bi"},
    {u"つき", u"tsuki"},        {u"おお.きい", u"ōkii"},
    {u"ちい.さい", u"chiisai"}, {u"まな.ぶ", u"manabu"},
    {u"ショウ、セイ", u"shō"},  {u"ガク", u"gakkou"},
    {u"コン", u"kon'ya"},       {u"ジン、ニン", u"jin hito"},
};

// 4,096 answers drawn from one table, so that the branch predictor cannot learn the order.
template <std::size_t N>
std::vector<std::pair<QString, QString>> answersFrom(const Pair (&pairs)[N]) {
    std::mt19937 random(20240611);
    std::vector<std::pair<QString, QString>> answers;
    for (int i = 0; i < 4096; ++i) {
        const Pair& pair = pairs[random() % N];
        answers.emplace_back(QStringView(pair.reference).toString(),
                             QStringView(pair.typed).toString());
    }
    return answers;
}

void compareAll(benchmark::State& state, const std::vector<std::pair<QString, QString>>& answers) {
    for (auto _ : state) {
        for (const auto& [reference, typed] : answers) {
            benchmark::DoNotOptimize(compareAnswer(reference, typed));
        }
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(answers.size()));
}

void meanings(benchmark::State& state) {
    compareAll(state, answersFrom(kMeanings));
}

void kana(benchmark::State& state) {
    compareAll(state, answersFrom(kKana));
}

void romaji(benchmark::State& state) {
    compareAll(state, answersFrom(kRomaji));
}

BENCHMARK(meanings)->Unit(benchmark::kMicrosecond);
BENCHMARK(kana)->Unit(benchmark::kMicrosecond);
BENCHMARK(romaji)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
