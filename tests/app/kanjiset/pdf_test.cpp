// Scenario tests of the printed kanji cards and the practice sheets: pages, the embedded kanji
// font, the text layer as a PDF reader extracts it and where its words lie, the choice of kanji,
// and failures.
#include "app/kanjiset/cardlayout.h"
#include "app/kanjiset/cardspdf.h"
#include "app/kanjiset/pdfpages.h"
#include "app/kanjiset/pdfreading.h"
#include "app/kanjiset/shapedtext.h"
#include "app/shell/appfixture.h"
#include "app/state/mainwindowids.h"
#include "app/state/menuids.h"

#include <QPushButton>

#include <QDir>
#include <QRegularExpression>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QString Characters =
    u"一二三四五六七八九十日月火水木金土人大小山川田口目耳手足力男女子学生先年本中上下左右石花草竹糸車"_s;

qint32 codeAt(int i) {
    return static_cast<qint32>(Characters.at(i).unicode());
}

// count kanji with readings, a note naming their number and Genshi 0 and 1.
std::vector<KanjiRecord> kanjiRecords(int count) {
    std::vector<KanjiRecord> records;
    for (int i = 0; i < count; ++i) {
        KanjiRecord record = makeKanji(i + 1, codeAt(i), u"ON%1-on"_s.arg(i), 4);
        record.KunYomi = u"kun%1"_s.arg(i);
        record.Bemerkung = u"Merksatz%1"_s.arg(i);
        record.Genshi = u"0,1,"_s;
        records.push_back(record);
    }
    return records;
}

// The kanji of Characters a text holds, in the order they first appear.
QString kanjiIn(const QString& text) {
    QString found;
    for (QChar c : text) {
        if (Characters.contains(c) && !found.contains(c)) {
            found += c;
        }
    }
    return found;
}

}  // namespace

class PdfOutput : public AppFixture {
protected:
    void startWith(const std::vector<KanjiRecord>& records) {
        GenshiEntry water;
        water.Nr = 1;
        water.Genshi = u"氵"_s;
        water.Bedeutung = u"Wasser"_s;
        GenshiEntry person = water;
        person.Nr = 2;
        person.Genshi = u"亻"_s;
        person.Bedeutung = u"Mensch"_s;
        writeGenshiList({water, person});
        writeSet(u"Karten"_s, records);
        writePreferences(u"Karten"_s);
        start();
    }

    std::vector<int> allPositions() const {
        std::vector<int> positions;
        for (int i = 0; i < app.kanjiSet.size(); ++i) {
            positions.push_back(i);
        }
        return positions;
    }

    // "Lernkarten drucken" through the menu, its dialog answered with OK as it opens.
    void printPracticeSheets() {
        playDialog(PrintWindowId, u"Lernkarten drucken"_s, {[](QWidget* dialog) {
                       for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
                           if (button->text() == u"OK"_s) {
                               button->click();
                           }
                       }
                   }},
                   [this] { chooseMenu(MenuPrintCards); });
    }
};

TEST_F(PdfOutput, OneSidedCardsEightToAPageWithTheKanjiFontEmbeddedAndTheirTextsReadable) {
    std::vector<KanjiRecord> records = kanjiRecords(17);
    records[0].Anim = writeStrip(u"Karten"_s, codeAt(0), {Qt::red, Qt::green, Qt::blue});
    // A strip that cannot be read leaves the card without frames, not without its card.
    records[1].Anim = u"fehlt.png"_s;
    startWith(records);
    ASSERT_TRUE(QDir().mkpath(workDir() + u"Ausgabe"_s));

    // No extension given: the file gets ".pdf", and the export folder follows the choice.
    app.ui.requesters().answerNext(ui::Answer::accept(workDir() + u"Ausgabe/karten"_s));
    std::vector<int> positions = allPositions();
    positions.push_back(17);
    positions.push_back(-1);
    writeCardsPdf(app, positions, CardFields{.code = true, .twoSided = false});
    ASSERT_EQ(requestersShown(ui::RequesterKind::SaveFile), 1);
    EXPECT_EQ(app.ui.requesters().shown().back().title, u"pdf"_s);
    EXPECT_EQ(app.paths.exportPath, workDir() + u"Ausgabe/"_s);

    const std::optional<QByteArray> pdf = readFile(u"Ausgabe/karten.pdf"_s);
    ASSERT_TRUE(pdf.has_value());
    EXPECT_TRUE(pdf->startsWith("%PDF-"));
    EXPECT_EQ(pageCount(*pdf), 3);
    // The kanji font travels with the file as a TrueType subset, so any reader shows the kanji.
    EXPECT_TRUE(pdf->contains("/FontFile2"));
    EXPECT_TRUE(QRegularExpression(u"/FontName\\s*/[A-Z]{6}\\+IPAMincho"_s)
                    .match(QString::fromLatin1(*pdf))
                    .hasMatch());
    EXPECT_TRUE(pdf->contains("/Subtype /Image"));

    // With no field chosen the cards show the kanji alone.
    app.ui.requesters().answerNext(ui::Answer::accept(workDir() + u"Ausgabe/nur.pdf"_s));
    writeCardsPdf(
        app, {16, 0},
        CardFields{
            .onYomi = false, .kunYomi = false, .note = false, .genshi = false, .twoSided = false});
    ASSERT_TRUE(readFile(u"Ausgabe/nur.pdf"_s).has_value());

    const std::optional<QStringList> pages = textPages(workDir() + u"Ausgabe/karten.pdf"_s);
    if (!pages) {
        GTEST_SKIP() << "pdftotext is not installed";
    }
    ASSERT_EQ(pages->size(), 3);
    EXPECT_EQ(kanjiIn(pages->at(0)).size(), 8);
    EXPECT_EQ(kanjiIn(pages->at(0) + pages->at(1)).size(), 16);
    // The seventeenth card alone on the last page, with every field in the text layer.
    const QString last = pages->at(2);
    EXPECT_EQ(kanjiIn(last), Characters.mid(16, 1));
    for (const QString& text : {QString::number(codeAt(16)), u"ON16-on"_s, u"kun16"_s,
                                u"Merksatz16"_s, u"Wasser"_s, u"Mensch"_s}) {
        EXPECT_TRUE(last.contains(text)) << text.toStdString() << " in " << last.toStdString();
    }

    const std::optional<QStringList> bare = textPages(workDir() + u"Ausgabe/nur.pdf"_s);
    ASSERT_TRUE(bare.has_value());
    ASSERT_EQ(bare->size(), 1);
    // The first kanji keeps its three numbered stroke frames.
    EXPECT_EQ(bare->at(0).simplified(),
              Characters.mid(16, 1) + u' ' + Characters.mid(0, 1) + u" 1 2 3"_s);
}

TEST_F(PdfOutput, TwoSidedCardsLandEachBackBehindItsFrontWhenTurnedOverTheLongEdge) {
    std::vector<KanjiRecord> records = kanjiRecords(10);
    for (int i = 0; i < 10; ++i) {
        records[static_cast<size_t>(i)].Beispiel[1] = u"Beispiel%1"_s.arg(i);
    }
    records[3].Anim = writeStrip(u"Karten"_s, codeAt(3), {Qt::red, Qt::green, Qt::blue});
    records[3].Idx2 = 3;
    // A note too long for its two lines breaks at a blank and ends in an ellipsis.
    QStringList longNote;
    for (int word = 0; word < 40; ++word) {
        longNote.append(u"Wort%1"_s.arg(word));
    }
    records[5].Bemerkung = longNote.join(u' ');
    startWith(records);
    app.ui.requesters().answerNext(ui::Answer::accept(workDir() + u"karten.pdf"_s));
    // Two-sided is what new cards are.
    writeCardsPdf(app, allPositions(), CardFields{});
    const std::optional<QByteArray> pdf = readFile(u"karten.pdf"_s);
    ASSERT_TRUE(pdf.has_value());
    EXPECT_EQ(pageCount(*pdf), 4);

    const auto words = wordPages(workDir() + u"karten.pdf"_s);
    if (!words) {
        GTEST_SKIP() << "pdftotext is not installed";
    }
    ASSERT_EQ(words->size(), 4u);
    const auto centreOf = [&words](int page, const QString& text) -> std::optional<QPointF> {
        for (const PdfWord& word : words->at(static_cast<size_t>(page))) {
            if (word.text == text) {
                return word.box.center();
            }
        }
        return std::nullopt;
    };
    const std::vector<CardPlace> places = cardPlaces(10, true);
    ASSERT_EQ(places.size(), 10u);
    for (int k = 0; k < 10; ++k) {
        SCOPED_TRACE(k);
        const CardPlace& card = places[static_cast<size_t>(k)];
        ASSERT_TRUE(card.back.has_value());
        // Turned over its long edge, a sheet's left becomes its right: the back takes the place
        // of its front's mirror image, on the next page.
        EXPECT_EQ(card.back->page, card.front.page + 1);
        EXPECT_NEAR(card.back->place.left(), A4Width - card.front.place.right(), 1e-9);
        EXPECT_NEAR(card.back->place.top(), card.front.place.top(), 1e-9);
        EXPECT_EQ(card.back->place.size(), card.front.place.size());

        const auto kanji = centreOf(card.front.page, Characters.mid(k, 1));
        ASSERT_TRUE(kanji.has_value());
        EXPECT_TRUE(card.front.place.contains(*kanji));
        // The readings, meaning and examples are on the back only, within the card.
        for (const QString& text :
             {u"ON%1-on"_s.arg(k), u"kun%1;"_s.arg(k), k == 5 ? u"Wort0"_s : u"Merksatz%1"_s.arg(k),
              u"Beispiel%1"_s.arg(k)}) {
            SCOPED_TRACE(text.toStdString());
            const auto onBack = centreOf(card.back->page, text);
            ASSERT_TRUE(onBack.has_value());
            EXPECT_TRUE(card.back->place.contains(*onBack));
            EXPECT_FALSE(centreOf(card.front.page, text).has_value());
        }
    }
    // Every word of the long note lies within its card, on two lines, the second cut short.
    std::vector<const PdfWord*> noteWords;
    const PdfWord* ellipsis = nullptr;
    for (const PdfWord& word : words->at(static_cast<size_t>(places[5].back->page))) {
        if (word.text.startsWith(u"Wort"_s)) {
            noteWords.push_back(&word);
            EXPECT_TRUE(places[5].back->place.contains(word.box)) << word.text.toStdString();
        }
        if (word.text.endsWith(u"…"_s) && places[5].back->place.contains(word.box)) {
            ellipsis = &word;
        }
    }
    ASSERT_GT(noteWords.size(), 4u);
    EXPECT_LT(noteWords.size(), 40u);
    ASSERT_NE(ellipsis, nullptr);
    EXPECT_GT(ellipsis->box.top(), noteWords.front()->box.bottom());
    // The front tells the stroke count where the strokes are known, and the JLPT level.
    const auto strokes = centreOf(0, u"Striche"_s);
    ASSERT_TRUE(strokes.has_value());
    EXPECT_TRUE(places[3].front.place.contains(*strokes));
    int levels = 0;
    for (const PdfWord& word : words->at(0)) {
        levels += word.text == u"JLPT"_s ? 1 : 0;
    }
    EXPECT_EQ(levels, 8);
    // The strip's three frames, numbered, on card 3's back.
    const auto third = centreOf(1, u"3"_s);
    ASSERT_TRUE(third.has_value());
    EXPECT_TRUE(places[3].back->place.contains(*third));
}

TEST(PrintedFrames, AStripWithAPaletteGivesTheFramesOfItsColoursCutToTheLinesWithInk) {
    // Three frames: the first stroke red, then black with the second red below it, then white.
    QImage strip(300, 100, QImage::Format_Indexed8);
    strip.setColorTable({qRgb(255, 255, 255), qRgb(220, 30, 30), qRgb(20, 20, 20)});
    strip.fill(0);
    const auto paint = [&strip](int frame, int top, int bottom, uint colour) {
        for (int y = top; y <= bottom; ++y) {
            for (int x = 30; x < 70; ++x) {
                strip.setPixel(100 * frame + x, y, colour);
            }
        }
    };
    paint(0, 20, 39, 1);
    paint(1, 20, 39, 2);
    paint(1, 50, 59, 1);

    const PrintedFrames fromPalette = printedFrames(strip, 2);
    const PrintedFrames fromColours =
        printedFrames(strip.convertToFormat(QImage::Format_ARGB32), 2);
    ASSERT_EQ(fromPalette.count, 3);
    ASSERT_EQ(fromPalette.rows.size(), 2u);
    ASSERT_EQ(fromColours.rows.size(), 2u);
    for (size_t row = 0; row < 2; ++row) {
        EXPECT_EQ(fromPalette.rows[row].mask, fromColours.rows[row].mask) << row;
        EXPECT_EQ(fromPalette.rows[row].top, fromColours.rows[row].top) << row;
    }
    // The first row's picture holds lines 20 to 59 of both its frames; the blank third frame has
    // none.
    const PrintedFrames::Row& first = fromPalette.rows[0];
    EXPECT_EQ(first.top, 20);
    EXPECT_EQ(first.mask.size(), QSize(200, 40));
    EXPECT_TRUE(fromPalette.rows[1].mask.isNull());
    const auto inked = [&first](int x, int y) { return first.mask.pixelIndex(x, y - 20) == 0; };
    // The newest stroke is solid, the one before it every other dot, white is left blank.
    EXPECT_TRUE(inked(30, 20) && inked(31, 20) && inked(69, 39));
    EXPECT_TRUE(inked(150, 55) && inked(151, 55));
    EXPECT_TRUE(inked(130, 20) && !inked(131, 20) && inked(131, 21));
    EXPECT_FALSE(inked(10, 30) || inked(80, 30) || inked(130, 45));
}

namespace {

// The line breaking rule by its words: each line as many words as fit, measured whole, the last
// allowed line taking the rest; a line too wide is cut with an ellipsis.
QStringList fitLines(const QFontMetricsF& metrics, const QString& text, double widthMm,
                     int maxLines) {
    const double width = PdfPages::px(widthMm);
    QStringList lines;
    QString line;
    const QStringList words = text.simplified().split(u' ', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString candidate = line.isEmpty() ? words[i] : line + u' ' + words[i];
        if (line.isEmpty() || metrics.horizontalAdvance(candidate) <= width) {
            line = candidate;
            continue;
        }
        if (lines.size() + 1 == maxLines) {
            line += u' ' + words.mid(i).join(u' ');
            break;
        }
        lines.append(metrics.elidedText(line, Qt::ElideRight, width));
        line = words[i];
    }
    if (!line.isEmpty()) {
        lines.append(metrics.elidedText(line, Qt::ElideRight, width));
    }
    return lines;
}

}  // namespace

TEST(ShapedText, LinesBreakWhereTheMeasuredTextBreaksWithTheGlyphsOfTheFont) {
    const QFont font = PdfPages::sized(QFont(u"IPAMincho"_s), 2.7);
    const QFontMetricsF metrics = PdfPages::metrics(font);
    const double widthMm = 40.0;
    const QStringList texts{
        u"Merksatz"_s,
        u"one, one radical (no.1), first, the beginning of something quite long"_s,
        u"Donaudampfschifffahrtsgesellschaftskapitänsmützenabzeichen und mehr"_s,
        u"いちにちいちにちいちにちいちにちいちにちいちにちいちにち"_s,
        u"一日 [いちにち] one day, all day long, the first of the month"_s,
        u"  weit   auseinander   stehende   Wörter  "_s,
        QString()};
    for (const QString& text : texts) {
        for (int maxLines = 1; maxLines <= 3; ++maxLines) {
            SCOPED_TRACE(text.toStdString() + " in " + std::to_string(maxLines));
            const std::vector<ShapedLine> lines = fitShapedLines(text, font, widthMm, maxLines);
            QStringList shapedTexts;
            for (const ShapedLine& line : lines) {
                shapedTexts.append(line.text);
                ASSERT_FALSE(line.glyphs.isEmpty());
                ASSERT_EQ(line.glyphs.size(), line.positions.size());
                EXPECT_NEAR(line.positions.front().x(), 0.0, 1e-6);
                EXPECT_NEAR(line.positions.front().y(), 0.0, 1e-6);
                EXPECT_LT(line.positions.back().x(), PdfPages::px(widthMm));
            }
            EXPECT_EQ(shapedTexts, fitLines(metrics, text, widthMm, maxLines));
        }
    }
}

TEST_F(PdfOutput, CardsThatCannotBeWrittenAreReportedByNameAndNothingElseIsAskedOrWritten) {
    startWith(kanjiRecords(3));
    const QString exportPathBefore = app.paths.exportPath;

    // Nothing to print asks nothing.
    writeCardsPdf(app, {}, {});
    writeCardsPdf(app, {3, -2}, {});
    EXPECT_EQ(requestersShown(ui::RequesterKind::SaveFile), 0);

    // A cancelled requester writes nothing and keeps the folder.
    app.ui.requesters().answerNext(ui::Answer::cancel());
    writeCardsPdf(app, allPositions(), {});
    EXPECT_EQ(requestersShown(ui::RequesterKind::SaveFile), 1);
    EXPECT_EQ(app.paths.exportPath, exportPathBefore);
    EXPECT_TRUE(QDir(workDir()).entryList({u"*.pdf"_s}).isEmpty());

    // A folder holds the chosen name: the user is told which file and why.
    const QString target = workDir() + u"karten.pdf"_s;
    ASSERT_TRUE(QDir().mkpath(target));
    app.ui.requesters().answerNext(ui::Answer::accept(target));
    writeCardsPdf(app, allPositions(), {});
    const ui::ShownRequester& told = app.ui.requesters().shown().back();
    EXPECT_EQ(told.kind, ui::RequesterKind::Message);
    EXPECT_EQ(told.title, u"pdf"_s);
    EXPECT_EQ(told.text,
              u"Die Datei %1 konnte nicht geschrieben werden: "
              u"Ein Ordner trägt diesen Namen."_s.arg(target));
    EXPECT_TRUE(QFileInfo(target).isDir());
    EXPECT_EQ(app.ui.requesters().unanswered(), 0);
}

TEST_F(PdfOutput, PracticeSheetHoldsTheWeakestKanjiWritingIncludedInRowsWithTracingCopies) {
    startWith(kanjiRecords(45));
    app.profile.profileName = u"Lerner"_s;
    app.learner.profile().records.clear();
    for (int i = 0; i < 45; ++i) {
        ProfileRecord record;
        record.Code = codeAt(i);
        record.KindOn.Right = 9;
        record.KindOn.Wrong = 1;
        app.learner.profile().records.push_back(record);
    }
    // The last kanji of the set was never answered right; the one before has no answers yet.
    app.learner.profile().records[44].KindOn = AnswerStats{.Right = 0, .Wrong = 4};
    app.learner.profile().records[43].KindOn = AnswerStats{};
    // Read well but written badly: weaker than the rest, though once right in every kind.
    app.learner.profile().records[20].KindKanji = AnswerStats{.Right = 1, .Wrong = 6};
    // The last training is not what the first choice prints while a profile is in use.
    app.training.askedCodes = {codeAt(10)};
    ASSERT_TRUE(QDir().mkpath(workDir() + u"Blatt"_s));

    app.ui.requesters().answerNext(ui::Answer::accept(workDir() + u"Blatt/ueben.pdf"_s));
    printPracticeSheets();
    ASSERT_EQ(requestersShown(ui::RequesterKind::SaveFile), 1);
    EXPECT_EQ(app.ui.requesters().shown().back().title, u"Lernkarten drucken"_s);
    EXPECT_EQ(app.paths.exportPath, workDir() + u"Blatt/"_s);
    const std::optional<QByteArray> pdf = readFile(u"Blatt/ueben.pdf"_s);
    ASSERT_TRUE(pdf.has_value());
    EXPECT_TRUE(pdf->contains("/FontFile2"));
    // Forty rows of six to a page.
    EXPECT_EQ(pageCount(*pdf), 7);

    const std::optional<QStringList> pages = textPages(workDir() + u"Blatt/ueben.pdf"_s);
    if (!pages) {
        GTEST_SKIP() << "pdftotext is not installed";
    }
    ASSERT_EQ(pages->size(), 7);
    const QString all = pages->join(QString());
    // 44, 43 lead, then 20; then the first 37 others of the set in their order.
    QString rest = Characters.left(38);
    rest.remove(20, 1);
    const QString expected =
        Characters.mid(44, 1) + Characters.mid(43, 1) + Characters.mid(20, 1) + rest;
    EXPECT_EQ(kanjiIn(all), expected);
    EXPECT_TRUE(pages->at(0).contains(u"Merksatz44"_s));
    EXPECT_TRUE(pages->at(0).contains(u"ON43-on"_s));
    // The kanji itself and two grey copies to trace in its row.
    EXPECT_EQ(pages->at(0).count(Characters.at(44)), 3);
}

TEST_F(PdfOutput, PracticeSheetWithoutProfileRepeatsTheLastTrainingAndAnEmptySetAsksNothing) {
    startWith(kanjiRecords(12));
    app.training.askedCodes = {codeAt(7), 0x9F8D, codeAt(2), codeAt(7)};
    app.ui.requesters().answerNext(ui::Answer::accept(workDir() + u"training.pdf"_s));
    printPracticeSheets();
    const std::optional<QByteArray> pdf = readFile(u"training.pdf"_s);
    ASSERT_TRUE(pdf.has_value());
    EXPECT_EQ(pageCount(*pdf), 1);

    app.kanjiSet.records.clear();
    app.kanjiSet.current = -1;
    chooseMenu(MenuPrintCards);
    EXPECT_EQ(requestersShown(ui::RequesterKind::SaveFile), 1);
    EXPECT_EQ(app.ui.requesters().unanswered(), 0);

    const std::optional<QStringList> pages = textPages(workDir() + u"training.pdf"_s);
    if (!pages) {
        GTEST_SKIP() << "pdftotext is not installed";
    }
    EXPECT_EQ(kanjiIn(pages->join(QString())), Characters.mid(7, 1) + Characters.mid(2, 1));
}
