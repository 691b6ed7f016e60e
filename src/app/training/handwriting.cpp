#include "app/training/handwriting.h"

#include "app/state/app.h"
#include "app/training/gradedcanvas.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

QString strokeFilePath(const App& app) {
    return app.paths.mediaDir + QStringLiteral("Strokes/KanjiVG.strokes");
}

QString candidatesText(const std::vector<char32_t>& candidates) {
    QStringList characters;
    for (char32_t code : candidates) {
        characters << QString::fromUcs4(&code, 1);
    }
    return characters.join(QStringLiteral("  "));
}

// A press on the canvas that does not move, such as the click that takes up the pen, leaves a
// point and no stroke; the learner never meant it as one of the kanji's strokes.
StrokeList withoutClicks(const StrokeList& strokes) {
    constexpr float ClickReach = 2.5f;
    StrokeList kept;
    for (const Stroke& stroke : strokes) {
        const bool moved = std::ranges::any_of(stroke, [&](const StrokePoint& p) {
            return std::abs(p.x - stroke.front().x) > ClickReach ||
                   std::abs(p.y - stroke.front().y) > ClickReach;
        });
        if (moved) {
            kept.push_back(stroke);
        }
    }
    return kept;
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

void clearWritingCanvas(App& app) {
    app.writingPad.writingCanvas.fill(Qt::white);
    app.writingPad.strokes.clear();
    app.writingPad.liveMisses.clear();
    app.writingPad.liveSlipped = false;
}

const StrokeList* referenceStrokes(App& app, qint32 code) {
    HandwritingAids& aids = app.handwriting;
    if (!aids.libraryTried) {
        aids.libraryTried = true;
        if (FileResult<StrokeLibrary> loaded = loadStrokeLibrary(strokeFilePath(app))) {
            aids.library = std::move(loaded).value();
        }
    }
    if (!aids.library || code <= 0) {
        return nullptr;
    }
    return aids.library->find(static_cast<char32_t>(code));
}

const KanjiRecognizer* kanjiRecognizer(App& app) {
    HandwritingAids& aids = app.handwriting;
    if (!aids.recognizerTried) {
        aids.recognizerTried = true;
        if (auto opened = KanjiRecognizer::open(aids.recognizerModel)) {
            aids.recognizer = std::move(opened).value();
        }
    }
    return aids.recognizer ? &*aids.recognizer : nullptr;
}

void readWrittenKanjiAhead(App& app) {
    const KanjiRecognizer* recognizer = kanjiRecognizer(app);
    if (recognizer == nullptr) {
        return;
    }
    const QSize size = app.writingPad.writingCanvas.size();
    app.handwriting.recognition.start(*recognizer, withoutClicks(app.writingPad.strokes),
                                      size.width(), size.height());
}

HandwritingGrade gradeWrittenKanji(App& app, qint32 code) {
    WritingPad& pad = app.writingPad;
    const StrokeList* reference = referenceStrokes(app, code);
    const QSize size = pad.writingCanvas.size();
    const StrokeList written = withoutClicks(pad.strokes);
    const KanjiRecognizer* recognizer = kanjiRecognizer(app);
    // Read once however often it is asked: zinnia reading nothing is an answer too.
    std::optional<std::vector<char32_t>> read;
    const auto readCandidates = [&] {
        if (!read) {
            read = recognizer ? app.handwriting.recognition.candidates(*recognizer, written,
                                                                       size.width(), size.height())
                              : std::vector<char32_t>{};
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
