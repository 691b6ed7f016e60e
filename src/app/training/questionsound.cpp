// Speaking the question's readings, never before they are no longer the answer.
#include "app/training/questionsound.h"

#include "app/state/app.h"
#include "app/state/sound.h"
#include "app/state/trainingids.h"
#include "app/training/playsound.h"
#include "app/training/trainingsettings.h"
#include "core/kanjiset/soundchoice.h"
#include "core/training/trainingrules.h"

namespace {

const KanjiRecord* questionRecord(const App& app) {
    const TrainingSession& run = app.training;
    if (!run.running() || run.checkState == CheckState::NoRun || run.trainingPos < 0 ||
        run.trainingPos >= static_cast<qint32>(run.trainingList.size())) {
        return nullptr;
    }
    const int position =
        questionPosition(app.kanjiSet, run.trainingList[static_cast<size_t>(run.trainingPos)].Code);
    return position < 0 ? nullptr : &app.kanjiSet.records[static_cast<size_t>(position)];
}

// The readings to speak now; empty while they would answer the question.
QString speakableReadings(const App& app) {
    if (!app.mainWindow || !app.mainWindow->isChecked(ShowSoundBox)) {
        return {};
    }
    const KanjiRecord* record = questionRecord(app);
    if (record == nullptr) {
        return {};
    }
    const AskedKinds asked = questionKinds(*record, trainingSettings(app).asked);
    if ((asked.on || asked.kun) && app.training.checkState != CheckState::Checked) {
        return {};
    }
    return readingsToSpeak(*record);
}

}  // namespace

void enableQuestionSound(App& app) {
    if (app.mainWindow) {
        app.mainWindow->setEnabled(QuestionSoundButton, !speakableReadings(app).isEmpty());
    }
}

void speakQuestion(App& app) {
    const QString kana = speakableReadings(app);
    if (!kana.isEmpty()) {
        playSound(app, {SoundToPlay::Kind::Speech, {}, kana});
    }
}
