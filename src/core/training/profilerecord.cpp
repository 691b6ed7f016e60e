// The learning profile in memory: per-kanji answer counters keyed by the kanji's code, and the
// rules that keep them.
#include "core/training/profilerecord.h"

#include <algorithm>
#include <array>
#include <limits>

namespace {

constexpr std::array CountedKinds{AnswerKind::On, AnswerKind::Kun, AnswerKind::Meaning};

// Counts read from a file can be anything; they stop at the ends of their range.
qint32 saturatingSum(qint32 a, qint32 b) {
    return static_cast<qint32>(std::clamp<qint64>(qint64(a) + b, std::numeric_limits<qint32>::min(),
                                                  std::numeric_limits<qint32>::max()));
}

// Adds the counts of from into into; the later answer's series and time win.
void fold(AnswerStats& into, const AnswerStats& from) {
    into.Right = saturatingSum(into.Right, from.Right);
    into.Partly = saturatingSum(into.Partly, from.Partly);
    into.Wrong = saturatingSum(into.Wrong, from.Wrong);
    into.Quota = storedQuota(into.Right, into.Wrong);
    if (from.LastAnswer > into.LastAnswer) {
        into.Series = from.Series;
        into.LastAnswer = from.LastAnswer;
    }
}

}  // namespace

AnswerStats& ProfileRecord::stats(AnswerKind kind) {
    switch (kind) {
        case AnswerKind::On:
            return KindOn;
        case AnswerKind::Kun:
            return KindKun;
        case AnswerKind::Meaning:
            return KindMeaning;
        case AnswerKind::Kanji:
            break;
    }
    return KindKanji;
}

const AnswerStats& ProfileRecord::stats(AnswerKind kind) const {
    return const_cast<ProfileRecord*>(this)->stats(kind);
}

void sortByCode(ProfileList& list) {
    const auto byCode = [](const ProfileRecord& a, const ProfileRecord& b) {
        return a.Code < b.Code;
    };
    if (std::is_sorted(list.records.begin(), list.records.end(), byCode)) {
        return;
    }
    std::stable_sort(list.records.begin(), list.records.end(), byCode);
}

qint32 storedQuota(qint32 right, qint32 wrong) {
    const qint64 answers = qint64(right) + wrong;
    return answers == 0 ? 0 : static_cast<qint32>(100 * qint64(right) / answers);
}

void recordInStats(AnswerStats& stats, Grade result, quint32 now) {
    switch (result) {
        case Grade::Wrong:
            stats.Wrong = saturatingSum(stats.Wrong, 1);
            stats.Quota = storedQuota(stats.Right, stats.Wrong);
            stats.Series = 0;
            break;
        case Grade::Partly:
            stats.Partly = saturatingSum(stats.Partly, 1);
            break;
        case Grade::Right:
        case Grade::Easy:
            stats.Right = saturatingSum(stats.Right, 1);
            stats.Quota = storedQuota(stats.Right, stats.Wrong);
            stats.Series = saturatingSum(stats.Series, 1);
            break;
    }
    stats.LastAnswer = now;
}

quint32 answerTime(const QDateTime& local) {
    const QDateTime asUtc(local.date(), local.time(), Qt::UTC);
    return static_cast<quint32>(
        std::clamp<qint64>(asUtc.toSecsSinceEpoch(), 0, std::numeric_limits<quint32>::max()));
}

int profileIndexOf(const ProfileList& list, qint32 code) {
    const int count = list.size();
    if (count == 0) {
        return -1;
    }
    // Halving the range; with an unsorted list or an absent code it may not settle, so it is
    // given up after as many steps as there are records.
    int low = 0;
    int high = count;
    for (int steps = 0; steps <= count; ++steps) {
        const int middle = low + (high - low) / 2;
        const qint32 found = list.records[static_cast<size_t>(middle)].Code;
        if (found == code) {
            return middle;
        }
        if (found < code) {
            low = middle;
        } else {
            high = middle;
        }
    }
    const auto match = std::find_if(list.records.begin(), list.records.end(),
                                    [code](const ProfileRecord& r) { return r.Code == code; });
    return match == list.records.end() ? -1 : static_cast<int>(match - list.records.begin());
}

bool findProfileRecord(ProfileList& list, qint32 code) {
    list.current = profileIndexOf(list, code);
    return list.current >= 0;
}

void addProfileRecord(ProfileList& list, qint32 code) {
    ProfileRecord record;
    record.Code = code;
    list.records.push_back(record);
    sortByCode(list);
}

void mergeDuplicateRecords(ProfileList& list) {
    sortByCode(list);
    list.current = -1;
    const auto sameCode = [](const ProfileRecord& a, const ProfileRecord& b) {
        return a.Code == b.Code;
    };
    if (std::adjacent_find(list.records.begin(), list.records.end(), sameCode) ==
        list.records.end()) {
        return;
    }
    std::vector<ProfileRecord> merged;
    merged.reserve(list.records.size());
    for (const ProfileRecord& record : list.records) {
        if (!merged.empty() && merged.back().Code == record.Code) {
            for (AnswerKind kind : CountedKinds) {
                fold(merged.back().stats(kind), record.stats(kind));
            }
        } else {
            merged.push_back(record);
        }
    }
    list.records = std::move(merged);
    list.current = -1;
}

void syncProfile(ProfileList& list, const KanjiSet& set) {
    sortByCode(list);
    std::vector<char> matched(list.records.size(), 0);
    std::vector<qint32> missing;
    for (const KanjiRecord& kanji : set.records) {
        const auto found =
            std::lower_bound(list.records.begin(), list.records.end(), kanji.Unicode,
                             [](const ProfileRecord& r, qint32 code) { return r.Code < code; });
        if (found != list.records.end() && found->Code == kanji.Unicode) {
            matched[static_cast<size_t>(found - list.records.begin())] = 1;
        } else {
            missing.push_back(kanji.Unicode);
        }
    }
    list.current = -1;
    const bool allMatched = std::all_of(matched.begin(), matched.end(), [](char m) { return m; });
    if (missing.empty() && allMatched) {
        return;
    }
    std::sort(missing.begin(), missing.end());
    missing.erase(std::unique(missing.begin(), missing.end()), missing.end());
    std::vector<ProfileRecord> synced;
    synced.reserve(list.records.size() + missing.size());
    for (size_t i = 0; i < list.records.size(); ++i) {
        if (matched[i]) {
            synced.push_back(list.records[i]);
        }
    }
    // A free record (code 0) that no kanji took stands for a profile that had no file: the first
    // kanji without a record takes it.
    const auto free = std::find_if(list.records.begin(), list.records.end(), [&](const auto& r) {
        return r.Code == 0 && !matched[static_cast<size_t>(&r - list.records.data())];
    });
    bool freeRecordLeft = free != list.records.end();
    for (qint32 code : missing) {
        ProfileRecord record = freeRecordLeft ? *free : ProfileRecord{};
        freeRecordLeft = false;
        record.Code = code;
        synced.push_back(record);
    }
    list.records = std::move(synced);
    sortByCode(list);
}

QString profileNameOf(const QString& text) {
    QString name = text;
    name.remove(QLatin1Char('"'));
    const qsizetype slash =
        std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
    name = name.mid(slash + 1);
    return name.section(QLatin1Char('.'), 0, 0);
}

bool isUsableProfileInput(const QString& text) {
    if (text.contains(QLatin1Char('/')) || text.contains(QLatin1Char('\\'))) {
        return false;
    }
    const QString name = profileNameOf(text);
    return !name.isEmpty() && std::none_of(name.begin(), name.end(), [](QChar c) {
        return c.category() == QChar::Other_Control;
    });
}
