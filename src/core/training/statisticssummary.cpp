// The figures over a whole profile that the statistics window sums up, and their text.
#include "core/training/statisticssummary.h"

#include <algorithm>

namespace {

// Share of the whole in percent, rounded down; taken wide so that no count can overflow.
qint32 percentOf(qint32 part, qint32 whole) {
    return static_cast<qint32>(qint64(100) * part / whole);
}

}  // namespace

StatisticsFigures statisticsFigures(const std::vector<QuotaRow>& rows) {
    StatisticsFigures figures;
    figures.total = static_cast<qint32>(rows.size());
    for (const QuotaRow& row : rows) {
        const QuotaFigures& f = row.figures;
        if (!f.trained) {
            ++figures.untrained;
            continue;
        }
        figures.best = figures.trained == 0 ? f.quota : std::max(figures.best, f.quota);
        figures.worst = figures.trained == 0 ? f.quota : std::min(figures.worst, f.quota);
        ++figures.trained;
        ++figures.bands[static_cast<size_t>(f.band)];
    }
    return figures;
}

QString statisticsSummary(const StatisticsFigures& figures, CountedKinds kinds,
                          const TextTables& texts) {
    if (figures.total <= 0 || !(kinds.on || kinds.kun || kinds.meaning)) {
        return {};
    }
    const auto t = [&texts](MessageText id) { return texts.text(id); };
    const auto n = [](qint32 value) { return QString::number(value); };
    const QString br = QStringLiteral("\n");
    const QString tab = QStringLiteral("\t");

    QString text = t(MessageText::SummaryHeading) + br + br;
    text += t(MessageText::SummaryTotal) + n(figures.total) + br + br;
    text += t(MessageText::SummaryTrained) + n(figures.trained) + t(MessageText::SummaryQuota) +
            n(percentOf(figures.trained, figures.total)) + u'%' + br;
    text += t(MessageText::SummaryUntrained) + n(figures.untrained) + t(MessageText::SummaryQuota) +
            n(percentOf(figures.untrained, figures.total)) + u'%' + br + br;
    text += t(MessageText::SummaryEachKanji) + br;
    text += t(MessageText::SummaryAlwaysRight) + tab + n(figures.bands[5]) + br;
    text += t(MessageText::SummaryVeryOftenRight) + tab + n(figures.bands[4]) + br;
    text += t(MessageText::SummaryMostlyRight) + tab + n(figures.bands[3]) + br;
    text += t(MessageText::SummaryOftenRight) + tab + n(figures.bands[2]) + br;
    text += t(MessageText::SummarySometimesRight) + tab + n(figures.bands[1]) + br;
    text += t(MessageText::SummaryNeverRight) + tab + tab + n(figures.bands[0]) + br + br;
    if (figures.trained > 0) {
        text += t(MessageText::SummaryBest) + n(figures.best) + br;
        text += t(MessageText::SummaryWorst) + n(figures.worst) + br + br;
    }
    return text;
}
