// Grading a kanji written on the canvas with the reference strokes and zinnia.
#include "app/training/handwriting.h"

#include "app/state/handwritingaids.h"
#include "app/state/writingpad.h"
#include "app/training/gradedcanvas.h"
#include "core/shell/texttables.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>

namespace {

QString candidatesText(const std::vector<char32_t>& candidates) {
    QStringList characters;
    for (char32_t code : candidates) {
        characters << QString::fromUcs4(&code, 1);
    }
    return characters.join(QStringLiteral("  "));
}

QString faultText(const TextTables& texts, const StrokeFault& fault) {
    const QString stroke = QString::number(fault.stroke + 1);
    switch (fault.kind) {
        case StrokeFault::Kind::Backwards:
            return texts.text(MessageText::HandwritingBackwards).arg(stroke);
        case StrokeFault::Kind::Exchanged:
            return texts.text(MessageText::HandwritingExchanged)
                .arg(stroke, QString::number(fault.other + 1));
        case StrokeFault::Kind::Missing:
            return texts.text(MessageText::HandwritingMissing).arg(stroke);
        case StrokeFault::Kind::Extra:
            return texts.text(MessageText::HandwritingExtra);
    }
    return {};
}

}  // namespace

bool isClick(const Stroke& stroke) {
    constexpr float ClickReach = 2.5f;
    return std::ranges::none_of(stroke, [&](const StrokePoint& p) {
        return std::abs(p.x - stroke.front().x) > ClickReach ||
               std::abs(p.y - stroke.front().y) > ClickReach;
    });
}

StrokeList withoutClicks(const StrokeList& strokes) {
    StrokeList kept;
    std::ranges::copy_if(strokes, std::back_inserter(kept),
                         [](const Stroke& stroke) { return !isClick(stroke); });
    return kept;
}

void clearWritingCanvas(WritingPad& pad) {
    pad.writingCanvas.fill(Qt::white);
    pad.strokes.clear();
    pad.liveMisses.clear();
    pad.liveSlipped = false;
}

void readWrittenKanjiAhead(HandwritingAids& aids, const WritingPad& pad) {
    aids.readAhead(withoutClicks(pad.strokes), pad.writingCanvas.size());
}

HandwritingGrade gradeWrittenKanji(HandwritingAids& aids, WritingPad& pad, qint32 code) {
    const StrokeList* reference = aids.referenceStrokes(code);
    const QSize size = pad.writingCanvas.size();
    const StrokeList written = withoutClicks(pad.strokes);
    // Read once however often it is asked: zinnia reading nothing is an answer too.
    std::optional<std::vector<char32_t>> read;
    const auto readCandidates = [&] {
        if (!read) {
            read = aids.candidates(written, size);
        }
        return *read;
    };
    HandwritingGrade grade =
        gradeHandwriting(written, static_cast<char32_t>(code), reference, readCandidates);
    // The verdict names what zinnia read even where the strokes alone decided.
    grade.candidates = readCandidates();
    pad.writingCanvas = gradedCanvas(size, written, reference, grade.drawnMatched);
    return grade;
}

QString handwritingVerdictText(const TextTables& texts, const HandwritingGrade& grade) {
    QStringList lines;
    switch (grade.verdict) {
        case Grade::Right:
        case Grade::Easy:
            lines << texts.text(MessageText::HandwritingRight);
            break;
        case Grade::Partly:
            lines << texts.text(MessageText::HandwritingPartly);
            break;
        case Grade::Wrong:
            lines << texts.text(MessageText::HandwritingWrong);
            break;
    }
    for (const StrokeFault& fault : grade.faults) {
        lines << faultText(texts, fault);
    }
    if (!grade.hadReference) {
        lines << texts.text(MessageText::HandwritingNoReference);
    }
    lines << (grade.candidates.empty() ? texts.text(MessageText::HandwritingNoCandidates)
                                       : texts.text(MessageText::HandwritingCandidates)
                                             .arg(candidatesText(grade.candidates)));
    return lines.join(QLatin1Char('\n'));
}
