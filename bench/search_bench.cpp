// Timing of "Suchen" on all of KANJIDIC2's kanji, headless.
// Usage: bench_search [KANJIDIC2 .xml.gz]. The core query is timed in processor time for a fixed
// list of 200 queries of one to four characters (romaji, kana, German, English), each run several
// times; the window from a one-letter query typed until its list has painted its first screen.
#include "app/kanjiset/searchwindow.h"
#include "app/shell/startup.h"
#include "app/state/app.h"
#include "app/state/mainwindowids.h"
#include "base/files.h"
#include "common/gunzip.h"
#include "core/kanjiset/kanjisearch.h"
#include "core/shell/texttables.h"
#include "dialogbench.h"
#include "makedemoset/kanjidic.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// 50 of each: romaji, kana, German and English, one to four characters.
const char16_t* const Queries[] = {
    // romaji
    u"a",
    u"i",
    u"u",
    u"e",
    u"o",
    u"ka",
    u"ki",
    u"ku",
    u"ke",
    u"ko",
    u"sa",
    u"shi",
    u"su",
    u"se",
    u"so",
    u"ta",
    u"chi",
    u"tsu",
    u"te",
    u"to",
    u"na",
    u"ni",
    u"nu",
    u"ne",
    u"no",
    u"ha",
    u"hi",
    u"fu",
    u"he",
    u"ho",
    u"ma",
    u"mi",
    u"mu",
    u"me",
    u"mo",
    u"ya",
    u"yu",
    u"yo",
    u"ri",
    u"ro",
    u"mizu",
    u"hito",
    u"yama",
    u"kawa",
    u"kou",
    u"shou",
    u"sei",
    u"tabe",
    u"kyo",
    u"jin",
    // kana
    u"あ",
    u"い",
    u"う",
    u"え",
    u"お",
    u"か",
    u"き",
    u"く",
    u"け",
    u"こ",
    u"さ",
    u"し",
    u"す",
    u"せ",
    u"そ",
    u"た",
    u"ち",
    u"つ",
    u"て",
    u"と",
    u"な",
    u"に",
    u"ぬ",
    u"ね",
    u"の",
    u"は",
    u"ひ",
    u"ふ",
    u"へ",
    u"ほ",
    u"みず",
    u"ひと",
    u"やま",
    u"かわ",
    u"コウ",
    u"ショウ",
    u"セイ",
    u"たべる",
    u"キョ",
    u"ジン",
    u"にち",
    u"ニチ",
    u"つき",
    u"ゲツ",
    u"いし",
    u"セキ",
    u"おお",
    u"ダイ",
    u"ちい",
    u"しろ",
    // German
    u"W",
    u"S",
    u"B",
    u"G",
    u"K",
    u"Wa",
    u"So",
    u"Ba",
    u"Gr",
    u"Kl",
    u"Was",
    u"Son",
    u"Bau",
    u"gro",
    u"kle",
    u"Wass",
    u"Sonn",
    u"Baum",
    u"groß",
    u"klei",
    u"Tag",
    u"Mond",
    u"Berg",
    u"Fluss",
    u"Mens",
    u"Feu",
    u"Erde",
    u"Geld",
    u"Hand",
    u"Auge",
    u"Ohr",
    u"Mund",
    u"Herz",
    u"Reis",
    u"Haus",
    u"Tor",
    u"Weg",
    u"Meer",
    u"Regen",
    u"Sch",
    u"schr",
    u"spre",
    u"geh",
    u"komm",
    u"ess",
    u"trin",
    u"seh",
    u"hör",
    u"Über",
    u"äuß",
    // English
    u"w",
    u"s",
    u"b",
    u"g",
    u"k",
    u"wa",
    u"su",
    u"tr",
    u"bi",
    u"sm",
    u"wat",
    u"sun",
    u"tre",
    u"big",
    u"sma",
    u"day",
    u"moo",
    u"mou",
    u"riv",
    u"per",
    u"fire",
    u"eart",
    u"mone",
    u"hand",
    u"eye",
    u"ear",
    u"mout",
    u"hear",
    u"rice",
    u"hous",
    u"gate",
    u"road",
    u"sea",
    u"rain",
    u"writ",
    u"spea",
    u"go",
    u"come",
    u"eat",
    u"drin",
    u"see",
    u"hear",
    u"over",
    u"out",
    u"ston",
    u"whit",
    u"red",
    u"blue",
    u"tree",
    u"wood",
};

std::optional<std::vector<KanjidicEntry>> loadKanjidic(const QString& gzipPath) {
    const FileResult<QByteArray> compressed = readWholeFile(gzipPath);
    if (!compressed) {
        return std::nullopt;
    }
    const std::optional<QByteArray> xml = gunzip(*compressed, qsizetype(1) << 30);
    return xml ? parseKanjidic(*xml) : std::nullopt;
}

// Every kanji of KANJIDIC2 as the demo generator writes it.
KanjiSet kanjidicSet(const std::vector<KanjidicEntry>& entries) {
    KanjiSet set;
    for (const KanjidicEntry& entry : entries) {
        KanjiRecord record;
        record.Idx1 = static_cast<qint32>(set.records.size()) + 1;
        record.Idx2 = entry.jlptLevel;
        record.Unicode = static_cast<qint32>(entry.codePoint);
        record.OnYomi = entry.onReadings.join(u'、');
        record.KunYomi = entry.kunReadings.join(u'、');
        record.Bemerkung = entry.meanings.join(u", "_s);
        if (entry.classicalRadical > 0) {
            record.Genshi = QString::number(entry.classicalRadical - 1) + u',';
        }
        set.records.push_back(record);
    }
    set.current = 0;
    return set;
}

double processMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const size_t at = static_cast<size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(at, values.size() - 1)];
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QString path =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"/usr/share/edict/kanjidic2.xml.gz"_s;
    const auto entries = loadKanjidic(path);
    if (!entries) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return 1;
    }
    const KanjiSet set = kanjidicSet(*entries);
    std::printf("%d kanji, %zu queries\n", set.size(), std::size(Queries));

    std::vector<double> builds;
    for (int run = 0; run < 5; ++run) {
        const double start = processMs();
        const KanjiSearchIndex index(set);
        builds.push_back(processMs() - start);
    }
    const KanjiSearchIndex index(set);
    std::vector<double> times;
    size_t hits = 0;
    constexpr int Runs = 5;
    for (int run = 0; run < Runs; ++run) {
        for (const char16_t* text : Queries) {
            const KanjiSearchQuery query{QString::fromUtf16(text)};
            const double start = processMs();
            hits += index.search(query).size();
            times.push_back(processMs() - start);
        }
    }
    std::printf("index build: median %.1f ms processor time\n", median(builds));
    std::printf("query: median %.2f ms, p99 %.2f ms, max %.2f ms processor time (%zu hits/run)\n",
                percentile(times, 0.5), percentile(times, 0.99), percentile(times, 1.0),
                hits / Runs);

    // The window: a one-letter query typed until the list has painted its first screen.
    QTemporaryDir dir;
    App app;
    initialiseApp(app, dir.path());
    app.texts = builtInTexts();
    app.kanjiSet = set;
    // The stroke counts come from the stroke library, read when the window first searches.
    QDir().mkpath(app.paths.mediaDir + u"Strokes"_s);
    QFile::copy(QStringLiteral(RENKARI_SOURCE_DIR "/data/Media/Strokes/KanjiVG.strokes"),
                app.paths.mediaDir + u"Strokes/KanjiVG.strokes"_s);
    QElapsedTimer opening;
    opening.start();
    SearchWindow search(app);
    search.open();
    QApplication::processEvents();
    std::printf("first opening, index and stroke counts made: %.1f ms\n", ms(opening));
    auto* field = search.window().top()->findChild<QLineEdit*>();
    auto* list = search.window().top()->findChild<ui::TableList*>();
    bool painted = false;
    PaintSpy spy(painted);
    list->viewport()->installEventFilter(&spy);
    ui::Event typed;
    typed.kind = ui::EventKind::Control;
    typed.window = SearchWindowId;
    typed.control = 1;
    typed.action = ui::Action::Change;
    std::vector<double> fills;
    for (const QString& letter : {u"a"_s, u"s"_s, u"k"_s, u"w"_s, u"e"_s, u"t"_s, u"m"_s}) {
        field->clear();
        search.handle(typed);
        QApplication::processEvents();
        painted = false;
        QElapsedTimer timer;
        timer.start();
        field->setText(letter);
        search.handle(typed);
        while (!painted) {
            QApplication::processEvents();
        }
        fills.push_back(ms(timer));
        std::printf("  \"%s\": %d rows, first screen in %.1f ms\n", qPrintable(letter),
                    list->rowCount(), fills.back());
    }
    std::printf("one letter to first screen: median %.1f ms, max %.1f ms\n", median(fills),
                *std::max_element(fills.begin(), fills.end()));
    return 0;
}
