// The rules of a training run that need no window: which kinds a kanji is asked for, which kanji
// the worst-answered scope asks, the range of the "Spanne" scope, the shuffle, the running score
// and the short evaluation.
#include "core/training/trainingrules.h"

#include <algorithm>

AskedKinds questionKinds(const KanjiRecord& record, AskedKinds asked) {
    if (isBlank(record)) {
        return {};
    }
    // An empty reference would take an empty answer as right and skew the profile.
    return {asked.kanji && record.Unicode != 0, asked.on && !record.OnYomi.isEmpty(),
            asked.kun && !record.KunYomi.isEmpty(), asked.meaning && !record.Bemerkung.isEmpty()};
}

bool isTrainingQuestion(const KanjiRecord& record, AskedKinds asked) {
    return questionKinds(record, asked).count() > 0;
}

TrainingRange clampedRange(TrainingRange range, qint32 kanjiCount) {
    const qint32 last = std::max(1, kanjiCount);
    range.end = std::clamp(range.end, 1, last);
    range.start = std::min(std::clamp(range.start, 1, std::max(1, kanjiCount - 1)), range.end);
    return range;
}

std::vector<qint32> worstAnsweredCodes(const ProfileList& profile, AskedKinds asked, qint32 n) {
    const int kinds = asked.count();
    std::vector<std::pair<qint32, qint32>> scored;  // score, code
    scored.reserve(profile.records.size());
    for (const ProfileRecord& record : profile.records) {
        qint64 sum = 0;
        sum += asked.kanji ? record.KindKanji.Quota : 0;
        sum += asked.on ? record.KindOn.Quota : 0;
        sum += asked.kun ? record.KindKun.Quota : 0;
        sum += asked.meaning ? record.KindMeaning.Quota : 0;
        scored.emplace_back(kinds == 0 ? 0 : static_cast<qint32>(sum / kinds), record.Code);
    }
    std::stable_sort(scored.begin(), scored.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    const size_t taken = std::min(scored.size(), static_cast<size_t>(std::max(n, 0)));
    std::vector<qint32> codes;
    codes.reserve(taken);
    for (size_t i = 0; i < taken; ++i) {
        codes.push_back(scored[i].second);
    }
    return codes;
}

qint32 worstCount(qint32 rangeEnd, bool relative, qint32 kanjiCount) {
    if (!relative) {
        return rangeEnd;
    }
    return static_cast<qint32>(qint64(kanjiCount) * std::min(rangeEnd, 100) / 100);
}

qint32 runningQuota(qint32 runRight, qint32 runWrong) {
    const qint64 graded = qint64(runRight) + runWrong;
    if (graded <= 0) {
        return 0;
    }
    return static_cast<qint32>(100 * qint64(runRight) / graded);
}

QString runningScoreText(const TextTables& texts, qint32 runRight, qint32 runWrong, qint32 quota) {
    return texts.text(MessageText::RunningScore)
        .arg(QString::number(runRight), QString::number(runWrong), QString::number(quota));
}

QString evaluationText(const TextTables& texts, qint32 right, qint32 partly, qint32 wrong) {
    const qint64 total = qint64(right) + partly + wrong;
    if (total <= 0) {
        return {};
    }
    const auto percent = [total](qint32 count) {
        return QString::number(100 * qint64(count) / total);
    };
    const QString lineBreak = QStringLiteral("\r\n");
    return texts.text(MessageText::EvaluationRight).arg(QString::number(right), percent(right)) +
           lineBreak +
           texts.text(MessageText::EvaluationPartly).arg(QString::number(partly), percent(partly)) +
           lineBreak +
           texts.text(MessageText::EvaluationWrong).arg(QString::number(wrong), percent(wrong)) +
           lineBreak + texts.text(MessageText::EvaluationTotal).arg(percent(right));
}
