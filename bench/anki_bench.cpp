// Timing of an Anki deck's import in the core: 10,000 kanji notes with 200,000 review rows, in
// the newer package form (zstd-compressed collection, schema 18). Timed from the package file to
// the set holding the kanji and the answers merged into a new profile's log by the learner,
// which rewrites the log and rebuilds the counters and the memory from it; prints the medians of
// several runs, each step and the whole.
// Usage: bench_anki [runs]
#include "core/review/ankifixture.h"
#include "core/review/ankihistory.h"
#include "core/review/ankinotes.h"
#include "core/review/ankipackage.h"
#include "core/training/learner.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimeZone>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int Notes = 10'000;
constexpr int ReviewsPerCard = 10;
constexpr qint64 TypeId = 1;
constexpr qint64 Start = 1'600'000'000'000;

AnkiFixture makeDeck() {
    AnkiFixture deck;
    AnkiCollection& c = deck.collection;
    c.noteTypes.push_back(kanjiNoteType(TypeId));
    for (int i = 0; i < Notes; ++i) {
        const char32_t code = U'\u4E00' + char32_t(i);
        const QString kanji = QString::fromUcs4(&code, 1);
        c.notes.push_back({i + 1,
                           TypeId,
                           {u"<div>"_s + kanji + u"</div>"_s, u"オン<br>ヨミ"_s,
                            u"くん&nbsp;よみ"_s, u"<b>meaning</b> "_s + QString::number(i),
                            kanji + u"語[ご] word<br>"_s + kanji + u"文[ぶん] sentence"_s}});
        for (int ord = 0; ord < 2; ++ord) {
            c.cards.push_back({qint64(i) * 2 + ord + 1, i + 1, ord});
        }
    }
    // Each card answered every few days, the cards' answers interleaved as days pass.
    for (int round = 0; round < ReviewsPerCard; ++round) {
        for (const AnkiCard& card : c.cards) {
            const qint64 time = Start + qint64(round) * 3 * 86'400'000 + card.id * 1000;
            c.reviews.push_back({time, card.id, 1 + int((card.id + round) % 4), 6000, 1});
        }
    }
    return deck;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    QTemporaryDir folder;
    const QString package = folder.filePath(u"deck.apkg"_s);
    writeAnkiPackage(package, makeDeck(), AnkiForm::Schema18, folder.path());

    std::vector<double> read, records, answers, replay, total;
    size_t answerCount = 0;
    int added = 0;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        const AnkiResult<AnkiPackage> deck = readAnkiPackage(package, QDir::tempPath());
        if (!deck) {
            std::fprintf(stderr, "package not read: %d\n", int(deck.error().problem));
            return 1;
        }
        const double t1 = double(clock.nsecsElapsed()) / 1e6;
        const AnkiNoteType& type = deck->collection.noteTypes.front();
        const AnkiFieldMap map = guessFieldMap(type.fields);
        AnkiNoteRecords notes = ankiNoteRecords(deck->collection, type.id, map);
        const QHash<qint64, qint32> codes = notes.codeOfNote;
        KanjiSet set;
        added = addAnkiRecords(set, std::move(notes.records)).added;
        const double t2 = double(clock.nsecsElapsed()) / 1e6;
        std::vector<AnkiAnswerKind> kinds;
        for (const AnkiTemplate& t : type.templates) {
            kinds.push_back(guessAnswerKind(t, type.fields, map));
        }
        const std::vector<TimedAnswer> timed =
            ankiAnswers(deck->collection, codes, type.templates, kinds);
        std::vector<ReviewEntry> entries;
        entries.reserve(timed.size());
        for (const TimedAnswer& answer : timed) {
            entries.push_back(reviewEntryOf(answer));
        }
        answerCount = entries.size();
        const double t3 = double(clock.nsecsElapsed()) / 1e6;
        ProfileList profile;
        syncProfile(profile, set);
        QTemporaryDir learnerFolder;
        LoadedLearner loaded =
            Learner::load(LearnerFiles{learnerFolder.filePath(u"Lerner.rklog"_s),
                                       learnerFolder.filePath(u"Lerner.rktrain"_s)},
                          std::move(profile), QTimeZone::utc());
        const FileResult<MergeOutcome> merged = loaded.learner.merge(std::move(entries));
        const double t4 = double(clock.nsecsElapsed()) / 1e6;
        if (!merged || merged->added != qint32(answerCount) ||
            loaded.learner.states().find(0x4E00, AnswerKind::Meaning) == nullptr) {
            std::fprintf(stderr, "the merge lost answers\n");
            return 1;
        }
        read.push_back(t1);
        records.push_back(t2 - t1);
        answers.push_back(t3 - t2);
        replay.push_back(t4 - t3);
        total.push_back(t4);
    }
    std::printf("Anki deck: %d notes, %d review rows; %d kanji added, %zu answers (median of %d)\n",
                Notes, Notes * 2 * ReviewsPerCard, added, answerCount, runs);
    std::printf("  package read (unzip, zstd, SQLite): %8.1f ms\n", median(read));
    std::printf("  notes to records, into the set:     %8.1f ms\n", median(records));
    std::printf("  review rows to answers:             %8.1f ms\n", median(answers));
    std::printf("  merged: log rewritten, counters and memory rebuilt: %8.1f ms\n", median(replay));
    std::printf("  whole import:                       %8.1f ms\n", median(total));
    return 0;
}
