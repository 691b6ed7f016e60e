#include "app/training/handwriting.h"

#include "app/shell/app.h"
#include "app/training/gradedcanvas.h"

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

}  // namespace

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

HandwritingGrade gradeWrittenKanji(App& app, qint32 code) {
    WritingPad& pad = app.writingPad;
    const StrokeList* reference = referenceStrokes(app, code);
    const QSize size = pad.writingCanvas.size();
    HandwritingGrade grade = gradeHandwriting(pad.strokes, static_cast<char32_t>(code), reference,
                                              kanjiRecognizer(app), size.width(), size.height());
    pad.writingCanvas = gradedCanvas(size, pad.strokes, reference, grade.drawnMatched);
    return grade;
}

QString handwritingVerdictText(const TextTables& texts, const HandwritingGrade& grade) {
    QStringList lines;
    switch (grade.verdict) {
        case HandwritingVerdict::Right:
            lines << texts.text(MessageText::HandwritingRight);
            break;
        case HandwritingVerdict::Partly:
            lines << texts.text(MessageText::HandwritingPartly);
            break;
        case HandwritingVerdict::Wrong:
            lines << texts.text(MessageText::HandwritingWrong);
            break;
    }
    if (!grade.hadReference) {
        lines << texts.text(MessageText::HandwritingNoReference);
    }
    lines << (grade.candidates.empty() ? texts.text(MessageText::HandwritingNoCandidates)
                                       : texts.text(MessageText::HandwritingCandidates)
                                             .arg(candidatesText(grade.candidates)));
    return lines.join(QLatin1Char('\n'));
}
