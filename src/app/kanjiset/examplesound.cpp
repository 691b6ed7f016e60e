// Example sounds of the card: the set's file when there is one, otherwise the reading spoken.
#include "app/kanjiset/examplesound.h"

#include "app/state/app.h"
#include "app/state/cardids.h"
#include "app/state/sound.h"
#include "app/training/playsound.h"

QString soundsFolder(const App& app) {
    return app.paths.mediaDir + app.setName + QStringLiteral("/Sounds/");
}

SoundToPlay currentExampleSound(const App& app, int i) {
    const KanjiRecord* record = app.kanjiSet.currentRecord();
    return record != nullptr ? exampleSound(*record, i, soundsFolder(app)) : SoundToPlay{};
}

void enableSoundButtons(App& app) {
    if (!app.mainWindow) {
        return;
    }
    for (int i = 0; i < 4; ++i) {
        app.mainWindow->setEnabled(SoundButton1 + i, currentExampleSound(app, i).playable());
    }
}

void playExample(App& app, int i) {
    const KanjiRecord* record = app.kanjiSet.currentRecord();
    if (record != nullptr && app.shadowing.kanji == record->Unicode && !app.shadowing.recording) {
        app.shadowing.example = i;
    }
    playSound(app, currentExampleSound(app, i));
}
