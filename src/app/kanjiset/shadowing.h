// Speaking along ("Sprachaufnahme") on the card: the kanji's reading spoken and drawn above, the
// learner's voice recorded and drawn below on the same time scale.
#pragma once

#include <QImage>
#include <QSize>

#include <vector>

struct App;

// The outline of peaks (0 to 1) as a picture: one bar per column, centred on the middle line.
QImage waveformImage(const std::vector<float>& peaks, QSize size);

// The play button: speaks the current kanji's first reading, draws it and starts recording from
// the default input; without an input the status bar says so and the learner's box is kept.
void startShadowing(App& app);
// The stop button: ends the recording and draws it.
void stopShadowing(App& app);
// A click on box 0 (the reading) or 1 (the learner) plays it again.
void replayShadowing(App& app, int box);
// Whether there is a recording that followed an example's reading, to save as its sound.
bool canSaveRecording(const App& app);
// Saves the recording as a WAV file in the set's Sounds folder, atomically, and makes it the
// chosen example's sound file; a failure is said in the status bar and changes nothing.
void saveRecording(App& app);
// Keeps the frame with the card: another kanji starts with empty boxes; the play button takes
// clicks when the kanji has a reading, the stop button while recording.
void shadowingFollowsCard(App& app);
