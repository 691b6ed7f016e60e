// Shadowing practice: the spoken reading and the learner's recording, in memory only.
#include "app/kanjiset/shadowing.h"

#include "app/kanjiset/examplesound.h"
#include "app/state/app.h"
#include "app/state/cardids.h"
#include "app/state/sound.h"
#include "app/training/playsound.h"
#include "base/files.h"
#include "core/kanjiset/soundchoice.h"
#include "core/kanjiset/waveform.h"
#include "core/kanjiset/wavfile.h"

#include <QDir>
#include <QPainter>

#include <algorithm>

namespace {

// A few seconds to speak a reading after hearing it.
constexpr int RecordSeconds = 5;
const QSize BoxSize(350, 50);

void drawBoxes(App& app) {
    if (!app.mainWindow) {
        return;
    }
    const Shadowing& s = app.shadowing;
    // One time scale for both, so the learner sees whether they spoke longer or shorter.
    const qsizetype span = std::max(s.spoken.samples.size(), s.recorded.samples.size());
    const auto draw = [&](int id, const SpeechSamples& sound) {
        app.mainWindow->setImage(
            id, sound.samples.empty()
                    ? QImage()
                    : waveformImage(waveformPeaks(sound.samples, span, BoxSize.width()), BoxSize));
    };
    draw(RecordingImage1, s.spoken);
    draw(RecordingImage2, s.recorded);
}

void reportFailure(App& app, const QString& reason) {
    if (app.mainWindow) {
        app.mainWindow->setStatusText(2, app.texts.text(MessageText::SoundFailed).arg(reason));
    }
}

}  // namespace

QImage waveformImage(const std::vector<float>& peaks, QSize size) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QColor(40, 90, 160));
    const int middle = size.height() / 2;
    for (size_t x = 0; x < peaks.size() && static_cast<int>(x) < size.width(); ++x) {
        // Where nothing was recorded yet, nothing is drawn; a whisper shows as a dot.
        if (peaks[x] <= 0.0F) {
            continue;
        }
        const int half = static_cast<int>(std::clamp(peaks[x], 0.0F, 1.0F) * float(middle));
        painter.drawLine(static_cast<int>(x), middle - half, static_cast<int>(x), middle + half);
    }
    return image;
}

void startShadowing(App& app) {
    const KanjiRecord* record = app.kanjiSet.currentRecord();
    if (record == nullptr) {
        return;
    }
    Shadowing& s = app.shadowing;
    const QString example = s.kanji == record->Unicode && s.example >= 0
                                ? exampleReading(record->Beispiel[static_cast<size_t>(s.example)])
                                : QString();
    const QString reading =
        !example.isEmpty() ? example : readingsToSpeak(*record).section(u'、', 0, 0);
    if (reading.isEmpty()) {
        return;
    }
    const Expected<SpeechSamples, QString> spoken = synthesizeSpeech(reading);
    if (!spoken) {
        reportFailure(app, spoken.error());
        return;
    }
    s.spoken = *spoken;
    s.kanji = record->Unicode;
    playSamples(app, s.spoken);
    const Expected<void, QString> started =
        app.sound.startRecording(s.spoken.sampleRate, RecordSeconds * s.spoken.sampleRate,
                                 app.texts.text(MessageText::NoSoundInput));
    if (!started) {
        // The learner's last recording stays for comparing.
        reportFailure(app, started.error());
    } else {
        s.recorded = {};
        s.recordedExample = example.isEmpty() ? -1 : s.example;
        s.recording = true;
    }
    drawBoxes(app);
    shadowingFollowsCard(app);
}

void stopShadowing(App& app) {
    Shadowing& s = app.shadowing;
    if (!s.recording) {
        return;
    }
    s.recording = false;
    s.recorded = app.sound.stopRecording();
    drawBoxes(app);
    shadowingFollowsCard(app);
}

void replayShadowing(App& app, int box) {
    if (app.shadowing.recording) {
        stopShadowing(app);
    }
    const SpeechSamples& sound = box == 0 ? app.shadowing.spoken : app.shadowing.recorded;
    if (!sound.samples.empty()) {
        playSamples(app, sound);
    }
}

bool canSaveRecording(const App& app) {
    const Shadowing& s = app.shadowing;
    const KanjiRecord* record = app.kanjiSet.currentRecord();
    return record != nullptr && record->Unicode == s.kanji && !s.recording &&
           s.recordedExample >= 0 && s.recordedExample < 4 && !s.recorded.samples.empty();
}

void saveRecording(App& app) {
    if (!canSaveRecording(app)) {
        return;
    }
    KanjiRecord& record = *app.kanjiSet.currentRecord();
    const Shadowing& s = app.shadowing;
    const QString name = QString::number(record.Unicode) + u'_' +
                         QString::number(s.recordedExample + 1) + QStringLiteral(".wav");
    const QString folder = soundsFolder(app);
    QDir().mkpath(folder);
    const FileResult<void> saved = saveFileAtomically(folder + name, wavFile(s.recorded));
    if (!saved) {
        if (app.mainWindow) {
            app.mainWindow->setStatusText(2, app.texts.text(MessageText::RecordingNotSaved)
                                                 .arg(fileErrorText(app.texts, saved.error())));
        }
        return;
    }
    record.SoundFile[static_cast<size_t>(s.recordedExample)] = name;
    enableSoundButtons(app);
}

void shadowingFollowsCard(App& app) {
    const KanjiRecord* record = app.kanjiSet.currentRecord();
    const qint32 kanji = record != nullptr ? record->Unicode : 0;
    if (app.mainWindow) {
        app.mainWindow->setEnabled(RecordStartButton,
                                   record != nullptr && !readingsToSpeak(*record).isEmpty());
    }
    if (kanji != app.shadowing.kanji) {
        if (app.shadowing.recording) {
            app.sound.stopRecording();
        }
        app.shadowing = {};
        app.shadowing.kanji = kanji;
        drawBoxes(app);
    }
    if (app.mainWindow) {
        app.mainWindow->setEnabled(RecordStopButton, app.shadowing.recording);
    }
}
