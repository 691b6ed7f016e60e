// Playing a sound for the learner with the program's player.
#include "app/training/playsound.h"

#include "app/state/app.h"

namespace {

void reportUnplayed(App& app, const Expected<void, QString>& played) {
    if (!played && app.mainWindow) {
        app.mainWindow->setStatusText(2,
                                      app.texts.text(MessageText::SoundFailed).arg(played.error()));
    }
}

}  // namespace

void playSound(App& app, const SoundToPlay& sound) {
    reportUnplayed(app, app.sound.play(sound, app.texts.text(MessageText::NoSoundOutput)));
}

void playSamples(App& app, const SpeechSamples& sound) {
    reportUnplayed(app, app.sound.playSamples(sound, app.texts.text(MessageText::NoSoundOutput)));
}
