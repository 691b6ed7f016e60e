// zinnia's handwriting recognition with the Japanese model of tegaki-zinnia-japanese.
#include "core/handwriting/kanjirecognizer.h"

#include "base/files.h"
#include "core/handwriting/strokesmoothing.h"

#include <QFile>

#include <zinnia.h>

#include <algorithm>
#include <cmath>

namespace {

// zinnia reads points on a surface of this size; larger than the canvas, so that rounding to
// whole numbers loses nothing.
constexpr int Frame = 1000;
// The drawing's longer side is scaled to this part of the frame. zinnia knows each character at
// the size it was written in its training data, nearly filling the box, and names a kanji
// written in a corner of the canvas as some other.
constexpr float Fill = 0.8f;
// Where the middle of the drawing's box goes. zinnia measures the angle of each stroke's ends
// around the frame's centre, and that angle jumps from 180 to -180 degrees on the centre line,
// left of the centre. Its model has the middle strokes of 三 or 王 a little below that line; a
// drawing centred exactly would put them on the jump, to be read as 工 as often as not.
constexpr float CentreX = 0.5f * Frame;
constexpr float CentreY = 0.52f * Frame;

// zinnia splits a stroke wherever it strays from a straight line by about a thirtieth of the
// frame, so a mouse's wobble turns into many short segments that its model has never seen and
// that each cost time against every character. Smoothed first, a stroke keeps only its real
// corners: on bench/handwriting_bench's drawings zinnia then names the kanji first twice as often,
// in half the time.
constexpr Smoothing FrameSmoothing{.step = Frame / 50.0f, .reach = 3, .tolerance = Frame / 15.0f};

// The drawing scaled to fill the frame. A few pixels drawn by a slip of the hand are not blown up
// to a kanji's size.
StrokeList framed(const StrokeList& drawn, int width, int height) {
    const auto [left, top, right, bottom] = boundsOf(drawn);
    const float least = static_cast<float>(std::max({width, height, 1})) / 8;
    const float scale = Fill * Frame / std::max({right - left, bottom - top, least});
    const float centreX = (left + right) / 2;
    const float centreY = (top + bottom) / 2;
    StrokeList placed;
    for (const Stroke& stroke : drawn) {
        Stroke& points = placed.emplace_back();
        for (const StrokePoint& p : stroke) {
            points.push_back(
                {CentreX + (p.x - centreX) * scale, CentreY + (p.y - centreY) * scale});
        }
    }
    return placed;
}

}  // namespace

QString KanjiRecognizer::defaultModelPath() {
    return QStringLiteral("/usr/share/tegaki/models/zinnia/handwriting-ja.model");
}

FileResult<KanjiRecognizer> KanjiRecognizer::open(const QString& modelPath) {
    // zinnia opens the file itself and would wait for ever on a pipe and map a device.
    if (const FileResult<void> regular = checkRegularFile(modelPath); !regular) {
        const QString reason = regular.error().systemText.isEmpty()
                                   ? QStringLiteral("not a regular file")
                                   : regular.error().systemText;
        return unexpected(
            FileError{regular.error().kind, modelPath + QStringLiteral(": ") + reason});
    }
    std::unique_ptr<zinnia::Recognizer, Deleter> recognizer(zinnia::Recognizer::create());
    if (!recognizer->open(QFile::encodeName(modelPath).constData())) {
        // zinnia puts its own source line and expression before the reason.
        const QString what = QString::fromLocal8Bit(recognizer->what());
        const qsizetype reason = what.indexOf(QStringLiteral("] "));
        return unexpected(
            FileError{FileErrorKind::Malformed, reason < 0 ? what : what.mid(reason + 2)});
    }
    return KanjiRecognizer(std::move(recognizer));
}

KanjiRecognizer::KanjiRecognizer(std::unique_ptr<zinnia::Recognizer, Deleter> recognizer)
    : recognizer_(std::move(recognizer)) {}

KanjiRecognizer::KanjiRecognizer(KanjiRecognizer&&) noexcept = default;
KanjiRecognizer& KanjiRecognizer::operator=(KanjiRecognizer&&) noexcept = default;
KanjiRecognizer::~KanjiRecognizer() = default;

void KanjiRecognizer::Deleter::operator()(zinnia::Recognizer* recognizer) const {
    delete recognizer;
}

std::vector<char32_t> KanjiRecognizer::candidates(const StrokeList& drawn, int width, int height,
                                                  int count) const {
    std::vector<char32_t> codes;
    if (drawn.empty() || count <= 0) {
        return codes;
    }
    const std::unique_ptr<zinnia::Character> character(zinnia::Character::create());
    character->set_width(Frame);
    character->set_height(Frame);
    const StrokeList strokes = framed(drawn, width, height);
    for (std::size_t s = 0; s < strokes.size(); ++s) {
        for (const StrokePoint& p : smoothStroke(strokes[s], FrameSmoothing)) {
            character->add(s, static_cast<int>(std::lround(p.x)),
                           static_cast<int>(std::lround(p.y)));
        }
    }
    const std::unique_ptr<zinnia::Result> result(
        recognizer_->classify(*character, static_cast<std::size_t>(count)));
    if (!result) {
        return codes;
    }
    for (std::size_t i = 0; i < result->size(); ++i) {
        const QList<uint> value = QString::fromUtf8(result->value(i)).toUcs4();
        if (value.size() == 1) {
            codes.push_back(static_cast<char32_t>(value.front()));
        }
    }
    return codes;
}
