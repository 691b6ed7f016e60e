// Makes a working folder with one set and one learner, gives answers in it as one machine would,
// and checks a folder after two machines' answers met: as the sync scenario needs them, without a
// window.
//   syncanswers setup <folder>
//   syncanswers answer <folder> <count> <machine 0|1>
//   syncanswers check <folder> <answers expected>
#include "core/kanjiset/setfile.h"
#include "core/shell/conflictcopy.h"
#include "core/shell/preferences.h"
#include "core/training/counterrebuild.h"
#include "core/training/learner.h"
#include "core/training/profilefile.h"

#include <QDir>
#include <QDirIterator>
#include <QTimeZone>

#include <cstdio>
#include <optional>

namespace {

const QString SetName = QStringLiteral("Kanji");
const QString ProfileName = QStringLiteral("Anna");
// A day in December 2026; the machines' answers fall on their own half minutes of it.
constexpr qint64 FirstAnswer = 1796716800;

struct Folder {
    QString work;
    QString set() const { return work + QStringLiteral("/Media/") + SetName + ".rki"; }
    QString learner(const char* suffix) const {
        return work + QStringLiteral("/Media/") + SetName + '/' + ProfileName + suffix;
    }
};

int fail(const QString& why) {
    std::fprintf(stderr, "syncanswers: %s\n", qPrintable(why));
    return 1;
}

QString reason(const FileError& error) {
    return QStringLiteral("error %1 %2").arg(int(error.kind)).arg(error.systemText);
}

std::vector<KanjiRecord> twentyKanji() {
    std::vector<KanjiRecord> records;
    const QString kanji = QStringLiteral("日月火水木金土山川田人口目耳手足石竹糸貝");
    for (int i = 0; i < kanji.size(); ++i) {
        KanjiRecord record;
        record.Idx1 = i + 1;
        record.Unicode = kanji.at(i).unicode();
        record.OnYomi = QStringLiteral("ON%1").arg(i + 1);
        records.push_back(record);
    }
    return records;
}

// The profile of the set's kanji with nothing counted.
std::optional<ProfileList> uncounted(const Folder& folder) {
    SetFileRead set = readSetFile(folder.set());
    if (!set) {
        return std::nullopt;
    }
    ProfileList profile;
    KanjiSet kanjiSet;
    kanjiSet.records = std::move(*set);
    syncProfile(profile, kanjiSet);
    return profile;
}

int setup(const Folder& folder) {
    QDir().mkpath(folder.work + QStringLiteral("/Media/") + SetName);
    if (!saveFileAtomically(folder.set(), writeSetFile(twentyKanji()))) {
        return fail(QStringLiteral("set not written"));
    }
    const std::optional<ProfileList> profile = uncounted(folder);
    if (!profile ||
        !saveFileAtomically(folder.learner(".rkpr"), writeProfileFile(profile->records))) {
        return fail(QStringLiteral("profile not written"));
    }
    const QString work = folder.work + '/';
    if (!writePreferencesFile(work + QStringLiteral("Renkari.pref"),
                              {SetName, ProfileName, work, work, QString()})) {
        return fail(QStringLiteral("preferences not written"));
    }
    return 0;
}

int answer(const Folder& folder, int count, int machine) {
    const FileResult<QByteArray> bytes = readWholeFile(folder.learner(".rkpr"));
    if (!bytes) {
        return fail(QStringLiteral("profile not read: ") + reason(bytes.error()));
    }
    FileResult<ProfileFileContent> profile = parseProfileFile(*bytes);
    if (!profile) {
        return fail(QStringLiteral("profile damaged"));
    }
    LoadedLearner loaded =
        Learner::load(LearnerFiles{folder.learner(".rklog"), folder.learner(".rktrain")},
                      ProfileList{std::move(profile->records), -1}, QTimeZone::systemTimeZone());
    Learner& learner = loaded.learner;
    const std::vector<KanjiRecord> kanji = twentyKanji();
    for (int i = 0; i < count; ++i) {
        // Every kanji is answered on both machines, in another order and with other grades.
        const KanjiRecord& asked = kanji[size_t((i * (machine ? 7 : 3) + machine) % 20)];
        const auto kind = AnswerKind((i + machine) % 4);
        const auto grade = Grade((i * 5 + machine * 2) % 4);
        const GradedQuestion question{
            asked.Unicode, {{kind, grade}}, FirstAnswer + i * 60 + machine * 30, 1500 + i};
        if (const FileResult<void> written = learner.answer(question); !written) {
            return fail(QStringLiteral("answer not logged: ") + reason(written.error()));
        }
    }
    if (const FileResult<void> synced = learner.sync(); !synced) {
        return fail(QStringLiteral("log not synced: ") + reason(synced.error()));
    }
    if (!saveFileAtomically(folder.learner(".rkpr"), writeProfileFile(learner.profile().records))) {
        return fail(QStringLiteral("profile not saved"));
    }
    return 0;
}

int check(const Folder& folder, int expected) {
    const FileResult<std::vector<ReviewEntry>> history =
        readReviewHistory(folder.learner(".rklog"));
    if (!history) {
        return fail(QStringLiteral("log not read: ") + reason(history.error()));
    }
    std::optional<ProfileList> rebuilt = uncounted(folder);
    if (!rebuilt) {
        return fail(QStringLiteral("set not read"));
    }
    int answers = 0;
    CounterRebuild rebuild;
    for (const ReviewEntry& entry : *history) {
        answers += entry.type == ReviewEntryType::Answer;
        rebuild.take(entry);
    }
    rebuild.applyTo(*rebuilt, RebuildScope::Whole, QTimeZone::systemTimeZone());
    if (answers != expected) {
        return fail(QStringLiteral("%1 answers in the log, not %2").arg(answers).arg(expected));
    }
    const FileResult<QByteArray> bytes = readWholeFile(folder.learner(".rkpr"));
    if (!bytes || *bytes != writeProfileFile(rebuilt->records)) {
        return fail(QStringLiteral("the profile does not count the log's answers"));
    }
    QDirIterator files(folder.work, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString name = files.nextFileInfo().fileName();
        if (conflictCopyOriginal(name)) {
            return fail(QStringLiteral("conflict copy left: ") + name);
        }
    }
    std::printf("%d answers, profile rebuilt from them, no conflict copy\n", answers);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const QString command = argc > 2 ? QString::fromLocal8Bit(argv[1]) : QString();
    const Folder folder{argc > 2 ? QDir(QString::fromLocal8Bit(argv[2])).absolutePath()
                                 : QString()};
    if (command == QStringLiteral("setup") && argc == 3) {
        return setup(folder);
    }
    if (command == QStringLiteral("answer") && argc == 5) {
        return answer(folder, std::atoi(argv[3]), std::atoi(argv[4]) != 0);
    }
    if (command == QStringLiteral("check") && argc == 4) {
        return check(folder, std::atoi(argv[3]));
    }
    std::fprintf(stderr,
                 "usage: syncanswers setup <folder> | answer <folder> <count> <0|1> | "
                 "check <folder> <answers>\n");
    return 2;
}
