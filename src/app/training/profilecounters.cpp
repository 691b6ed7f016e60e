// The status bar's fields of the current kanji's profile counters.
#include "app/training/profilecounters.h"

#include "app/state/app.h"

QString profileStatusText(const QString& label, const QString& series, const AnswerStats& stats) {
    return label + QStringLiteral(":  ") + QString::number(stats.Right) + QLatin1Char('-') +
           QString::number(stats.Partly) + QLatin1Char('-') + QString::number(stats.Wrong) +
           QStringLiteral("  (") + QString::number(stats.Quota) + QStringLiteral(")%   ") + series +
           QString::number(stats.Series);
}

void showProfileCounters(App& app) {
    const KanjiRecord* record = app.kanjiSet.currentRecord();
    ProfileList& records = app.learner.profile();
    if (records.empty() || record == nullptr || !app.mainWindow) {
        return;
    }
    findProfileRecord(records, record->Unicode);
    const ProfileRecord* profile = records.currentRecord();
    if (profile == nullptr) {
        return;
    }
    ui::Window& w = *app.mainWindow;
    const TextTables& t = app.texts;
    const QString& series = t.text(MessageText::Series);
    w.setStatusText(2, profileStatusText(t.text(MainText::Kanji), series, profile->KindKanji));
    w.setStatusText(3, profileStatusText(t.text(MainText::KunYomi), series, profile->KindKun));
    w.setStatusText(4, profileStatusText(t.text(MainText::OnYomi), series, profile->KindOn));
    w.setStatusText(
        5, profileStatusText(t.text(TrainingText::ShowMeaning), series, profile->KindMeaning));
}
