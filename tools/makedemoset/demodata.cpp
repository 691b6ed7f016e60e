// Loads KANJIDIC2 and the stroke file, writes the strips, then the set that refers to them.
#include "demodata.h"

#include "common/gunzip.h"
#include "jlptset.h"

#include "base/files.h"
#include "common/pngencode.h"
#include "core/handwriting/strokestrip.h"
#include "core/kanjiset/setfile.h"

#include <QDir>

#include <atomic>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <unordered_set>

namespace {

// KANJIDIC2 is about 15 MB inflated; the bound only stops a corrupt file from eating memory.
constexpr qsizetype kMaxKanjidicBytes = qsizetype(256) << 20;
constexpr qint64 kMaxInputBytes = qint64(64) << 20;
constexpr int kStripWriters = 4;

struct StripJob {
    char32_t code = 0;
    const StrokeList* strokes = nullptr;
};

// Strips do not depend on each other: a few writers keep both cores busy and overlap the disk
// syncs that every atomic save waits for. Returns the first path that could not be written.
std::optional<QString> writeStrips(const std::vector<StripJob>& jobs, const QString& animDir) {
    std::atomic<size_t> next{0};
    std::atomic<bool> failed{false};
    std::mutex failureLock;
    std::optional<QString> failure;
    const auto work = [&] {
        for (size_t i = next++; i < jobs.size() && !failed; i = next++) {
            const QString path = animDir + u'/' + stripFileName(jobs[i].code);
            if (!writeStrip(*jobs[i].strokes, path)) {
                const std::lock_guard lock(failureLock);
                failure = failure.value_or(path);
                failed = true;
            }
        }
    };
    {
        std::vector<std::jthread> writers;
        for (int n = 0; n < kStripWriters; ++n) {
            writers.emplace_back(work);
        }
    }
    return failure;
}

}  // namespace

std::optional<std::vector<KanjidicEntry>> loadKanjidic(const QString& gzipPath) {
    const auto compressed = readWholeFile(gzipPath, kMaxInputBytes);
    if (!compressed) {
        return std::nullopt;
    }
    const std::optional<QByteArray> xml = gunzip(*compressed, kMaxKanjidicBytes);
    if (!xml) {
        return std::nullopt;
    }
    return parseKanjidic(*xml);
}

bool writeStrip(const StrokeList& strokes, const QString& path) {
    const std::optional<QByteArray> png = encodeStripPng(renderStrip(strokes));
    return png && saveFileAtomically(path, *png);
}

DemoReport writeDemoData(const std::vector<KanjidicEntry>& entries, const StrokeLibrary& strokes,
                         const QString& outDir, const std::vector<EdictWord>& words,
                         const GermanSources& german) {
    DemoReport report;
    const QString mediaDir = outDir + u"/Media"_qs;
    const QString animDir = mediaDir + u"/JLPT/Anim"_qs;
    if (!QDir().mkpath(animDir)) {
        report.error = u"cannot create "_qs + animDir;
        return report;
    }

    std::vector<StripJob> jobs;
    for (const KanjiRecord& record : buildJlptSet(entries, [](char32_t) { return false; })) {
        const char32_t code = static_cast<char32_t>(record.Unicode);
        if (const StrokeList* found = strokes.find(code)) {
            jobs.push_back({code, found});
        }
    }
    if (const std::optional<QString> failed = writeStrips(jobs, animDir)) {
        report.error = u"cannot write "_qs + *failed;
        return report;
    }
    std::unordered_set<char32_t> stripped;
    for (const StripJob& job : jobs) {
        stripped.insert(job.code);
    }

    std::unordered_map<char32_t, KanjiFacts> facts;
    for (const KanjidicEntry& entry : entries) {
        facts.emplace(entry.codePoint, KanjiFacts{entry.frequencyRank, entry.jlptLevel});
    }
    const std::unordered_map<char32_t, Examples> examples =
        chooseExamples(words, facts, german.dictionary);
    const auto bemerkung = [&](const KanjidicEntry& entry) {
        const GermanMeanings meanings = germanMeaningsOf(entry, *german.dictionary, german.genshi);
        ++report.meaningSources[static_cast<size_t>(meanings.source)];
        return bemerkungOf(meanings.meanings, entry.meanings);
    };
    const std::vector<KanjiRecord> records = buildJlptSet(
        entries, [&](char32_t code) { return stripped.contains(code); },
        [&](char32_t code) {
            const auto found = examples.find(code);
            return found == examples.end() ? Examples{} : found->second;
        },
        german.dictionary != nullptr ? BemerkungOf(bemerkung) : BemerkungOf());
    const QString setPath = mediaDir + u"/JLPT.rki"_qs;
    if (!saveFileAtomically(setPath, writeSetFile(records))) {
        report.error = u"cannot write "_qs + setPath;
        return report;
    }
    report.ok = true;
    report.kanjiCount = static_cast<int>(records.size());
    report.stripCount = static_cast<int>(stripped.size());
    return report;
}

DemoReport makeDemoData(const DemoSources& sources, const QString& outDir) {
    const std::optional<std::vector<KanjidicEntry>> entries = loadKanjidic(sources.kanjidic);
    if (!entries) {
        return {.error = u"cannot read KANJIDIC2 from "_qs + sources.kanjidic};
    }
    const std::optional<std::vector<EdictWord>> words = loadEdict(sources.edict);
    if (!words) {
        return {.error = u"cannot read EDICT from "_qs + sources.edict};
    }
    const std::optional<GermanDictionary> dictionary = GermanDictionary::load(sources.freedict);
    if (!dictionary) {
        return {.error = u"cannot read the German dictionary from "_qs + sources.freedict};
    }
    const FileResult<std::vector<GenshiEntry>> genshi = readGenshiListFile(sources.genshiList);
    if (!genshi) {
        return {.error = u"cannot read the Genshi list from "_qs + sources.genshiList + u": "_qs +
                         genshi.error().systemText};
    }
    const FileResult<StrokeLibrary> strokes = loadStrokeLibrary(sources.strokeFile);
    if (!strokes) {
        return {.error = u"cannot read strokes from "_qs + sources.strokeFile + u": "_qs +
                         strokes.error().systemText};
    }
    return writeDemoData(*entries, *strokes, outDir, *words, {&*dictionary, *genshi});
}
