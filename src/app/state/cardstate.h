// What the card keeps of the kanji it shows: the stroke-order animation and whose pictures it
// holds.
#pragma once

#include <QImage>

enum class AnimState { Stopping = -1, Idle = 0, Paused = 1, Playing = 2 };

// The stroke-order animation of the current kanji in StrokeView.
struct Animation {
    AnimState animState = AnimState::Idle;
    qint32 animFrame = 0;
    qint32 animKanji = 0;
    qint64 animLastTick = 0;
    qint32 animFrameDelay = 1000;
    // The next frame is due once more than the delay has passed since the last one.
    qint64 nextFrameDue() const { return animLastTick + animFrameDelay + 1; }
    // The frame StrokeView shows, copied out of the current kanji's strip.
    QImage animDisplay;
    // Set while the program starts: a strip to be drawn from the stroke file waits for the main
    // loop, so that the window's first drawing shows the kanji without waiting for the file.
    bool drawnStripWaits = false;
};

// The kanji whose pictures the card holds, known by its position and code.
struct CardPictures {
    int position = -1;
    qint32 code = 0;
};
