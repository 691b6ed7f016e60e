// A scenario through the window: what the CSV export, the PDF cards and the practice sheets write
// of a set in KANJIDIC's form with a blank record, then "Liste optimieren" and an optimised
// import on the same set.
#include "app/kanjiset/pdfreading.h"
#include "app/shell/appfixture.h"
#include "app/state/mainwindowids.h"
#include "app/state/menuids.h"
#include "ui/tablelist.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringDecoder>

#include <functional>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Eight kanji, so that the cards fill one page exactly: a ninth card, the blank record's, would
// start a second.
std::vector<KanjiRecord> kanjidicSet() {
    const auto kanji = [](qint32 idx1, qint32 code, const QString& on, const QString& kun) {
        KanjiRecord record = makeKanji(idx1, code, on);
        record.KunYomi = kun;
        return record;
    };
    return {KanjiRecord{},
            kanji(1, 0x65E5, u"NICHI"_s, u"ひ、-び、-か"_s),
            kanji(1, 0x65E5, u"JITSU"_s, u"ひ、-び、-か"_s),
            kanji(2, 0x56FD, QString(), u"くに"_s),
            kanji(3, 0x672C, u"HON"_s, u"もと"_s),
            kanji(4, 0x4E0A, u"JOU"_s, u"上*うえ ue-oben"_s),
            kanji(5, 0x6708, u"GETSU"_s, u"つき"_s),
            kanji(6, 0x6728, u"BOKU"_s, u"き、こ-"_s),
            kanji(7, 0x5C71, u"SAN"_s, u"やま"_s)};
}

QAbstractButton* buttonIn(QWidget* top, const QString& caption, int nth = 0) {
    QAbstractButton* button = captioned(top, caption, nth);
    EXPECT_NE(button, nullptr) << "no button " << caption.toStdString();
    return button;
}

void clickIn(QWidget* top, const QString& caption, int nth = 0) {
    if (QAbstractButton* button = buttonIn(top, caption, nth)) {
        button->click();
    }
}

}  // namespace

class OutputsTest : public AppFixture {
protected:
    // Runs the dialog or wizard with that title through the menu entry, playing one step each
    // time it waits for the user.
    void play(int menu, const QString& title,
              const std::vector<std::function<void(QWidget*)>>& steps) {
        playDialog(menu == MenuImportCsv ? ImportWindowId : ExportWindowId, title, steps,
                   [&] { chooseMenu(menu); });
    }

    // The export dialog with only the Kun reading's "mit Bedeutung" ticked besides the kanji.
    void exportKunMeaningOnly(int menu, const QString& title, const QString& target) {
        app.ui.requesters().answerNext(ui::Answer::accept(target));
        std::vector<std::function<void(QWidget*)>> steps;
        for (const QString& box :
             {u"ON-Yomi"_s, u"mit Kanjischreibweise"_s, u"mit Hiragana"_s, u"mit Romanji"_s}) {
            steps.push_back([box](QWidget* top) { clickIn(top, box); });
        }
        steps.push_back([](QWidget* top) {
            const QAbstractButton* kunMeaning = buttonIn(top, u"mit Bedeutung"_s, 1);
            ASSERT_NE(kunMeaning, nullptr);
            EXPECT_TRUE(kunMeaning->isChecked());
            clickIn(top, u"OK"_s);
        });
        play(menu, title, steps);
    }

    // Drops the source item with that caption on the wizard's import list, as a drag does.
    static void dragItem(QWidget* wizard, const QString& caption) {
        ui::ReportList* source = nullptr;
        ui::ReportList* import = nullptr;
        for (ui::ReportList* list : wizard->findChildren<ui::ReportList*>()) {
            (list->headerItem()->text(0) == u"Import"_s ? import : source) = list;
        }
        ASSERT_NE(source, nullptr);
        ASSERT_NE(import, nullptr);
        int row = 0;
        while (row < source->rowCount() && source->cellText(row, 0) != caption) {
            ++row;
        }
        ASSERT_LT(row, source->rowCount()) << caption.toStdString();
        source->selectRow(row);
        QMimeData data;
        data.setText(source->dragText());
        const QPoint at(20, 40);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(import->viewport(), &enter);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(import->viewport(), &drop);
    }

    std::vector<const KanjiRecord*> recordsOf(qint32 code) const {
        std::vector<const KanjiRecord*> found;
        for (const KanjiRecord& record : app.kanjiSet.records) {
            if (record.Unicode == code) {
                found.push_back(&record);
            }
        }
        return found;
    }
};

TEST_F(OutputsTest, ExportPrintOptimiseAndImportKeepWhatIsStored) {
    writeSet(u"Ausgaben"_s, kanjidicSet());
    writePreferences(u"Ausgaben"_s);
    start();
    ASSERT_EQ(app.kanjiSet.size(), 9);

    // CSV with one Kun part ticked: the kana readings whole, the Latin form's meaning only, and
    // no line for the blank record.
    exportKunMeaningOnly(MenuExportCsv, u"Export csv"_s, workDir() + u"kun.csv"_s);
    const std::optional<QByteArray> csv = readFile(u"kun.csv"_s);
    ASSERT_TRUE(csv.has_value());
    const QString lines =
        QStringDecoder(QStringConverter::Utf16LE, QStringConverter::Flag::Stateless).decode(*csv);
    EXPECT_EQ(lines,
              u"日,ひ、-び、-か\r\n日,ひ、-び、-か\r\n国,くに\r\n本,もと\r\n上,oben\r\n"
              u"月,つき\r\n木,き、こ-\r\n山,やま\r\n"_s);

    // The cards of the same choice: eight fronts on one page and their backs on the next, with
    // the same Kun texts.
    exportKunMeaningOnly(MenuExportPdf, u"Export pdf"_s, workDir() + u"karten.pdf"_s);
    const std::optional<QByteArray> cards = readFile(u"karten.pdf"_s);
    ASSERT_TRUE(cards.has_value());
    EXPECT_EQ(pageCount(*cards), 2);

    // The practice sheets: every Kun part, through the same rule; eight rows, none blank.
    app.ui.requesters().answerNext(ui::Answer::accept(workDir() + u"blatt.pdf"_s));
    playDialog(PrintWindowId, u"Lernkarten drucken"_s, {[](QWidget* dialog) {
                   for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
                       if (button->text() == u"OK"_s) {
                           button->click();
                       }
                   }
               }},
               [this] { chooseMenu(MenuPrintCards); });
    ASSERT_TRUE(readFile(u"blatt.pdf"_s).has_value());

    if (const std::optional<QString> text = pdfText(workDir() + u"karten.pdf"_s)) {
        EXPECT_EQ(text->count(u"Kun: ひ、-び、-か"_s), 2) << text->toStdString();
        for (const QString& kun : {u"Kun: くに"_s, u"Kun: もと"_s, u"Kun: oben"_s}) {
            EXPECT_TRUE(text->contains(kun)) << kun.toStdString();
        }
        EXPECT_FALSE(text->contains(u"うえ"_s));
        const std::optional<QString> sheet = pdfText(workDir() + u"blatt.pdf"_s);
        ASSERT_TRUE(sheet.has_value());
        EXPECT_EQ(sheet->count(u"Kun:"_s), 8) << sheet->toStdString();
        EXPECT_EQ(sheet->count(u"Kun: ひ、-び、-か"_s), 2);
        EXPECT_TRUE(sheet->contains(u"Kun: 上; うえ; ue; oben"_s));
    } else {
        ADD_FAILURE() << "pdftotext (poppler-utils) is not installed";
    }

    // "Liste optimieren": the two readings of 日 disagree, so both records stay; the blank goes.
    chooseMenu(MenuOptimiseList);
    const std::vector<const KanjiRecord*> suns = recordsOf(0x65E5);
    ASSERT_EQ(suns.size(), 2u);
    EXPECT_EQ(suns[0]->OnYomi + u' ' + suns[1]->OnYomi, u"NICHI JITSU"_s);
    EXPECT_EQ(app.kanjiSet.size(), 8);
    EXPECT_EQ(window().statusText(0), u"Kanji: 8"_s);
    EXPECT_EQ(window().statusText(2), u"Liste optimiert: 0 zusammengeführt, 1 entfernt"_s);
    EXPECT_EQ(window().statusText(3), u"Doppelt behalten: 1 Kanji"_s);

    // An optimised import: 国 takes the On reading and meaning its line gives and keeps its Kun
    // (a blank column) and number (an empty item); 日 JITSU is in the set already; 犬 is new.
    writeFile(u"neu.csv"_s,
              "\xEF\xBB\xBF"
              "Kanji,On,Kun,Bedeutung\r\n"
              "国,KOKU, ,Land\r\n"
              "日,JITSU,,\r\n"
              "犬,KEN,いぬ,Hund\r\n");
    app.ui.requesters().answerNext(ui::Answer::accept(workDir() + u"neu.csv"_s));
    std::vector<std::function<void(QWidget*)>> steps;
    for (const QString& item : {u"leere Spalte -"_s, u"leere Spalte -"_s, u"Spalte 0"_s,
                                u"Spalte 1"_s, u"Spalte 2"_s, u"Spalte 3"_s}) {
        steps.push_back([item](QWidget* wizard) { dragItem(wizard, item); });
    }
    steps.push_back([](QWidget* wizard) {
        const QAbstractButton* optimise = buttonIn(wizard, u"Optimiere die importierte Liste"_s);
        ASSERT_NE(optimise, nullptr);
        EXPECT_TRUE(optimise->isChecked());
        clickIn(wizard, u"OK"_s);
    });
    play(MenuImportCsv, u"CSV Import"_s, steps);

    ASSERT_EQ(app.kanjiSet.size(), 9);
    const std::vector<const KanjiRecord*> countries = recordsOf(0x56FD);
    ASSERT_EQ(countries.size(), 1u);
    EXPECT_EQ(countries[0]->Idx1, 2);
    EXPECT_EQ(countries[0]->OnYomi, u"KOKU"_s);
    EXPECT_EQ(countries[0]->KunYomi, u"くに"_s);
    EXPECT_EQ(countries[0]->Bemerkung, u"Land"_s);
    ASSERT_EQ(recordsOf(0x65E5).size(), 2u);
    const std::vector<const KanjiRecord*> dogs = recordsOf(0x72AC);
    ASSERT_EQ(dogs.size(), 1u);
    EXPECT_EQ(dogs[0]->KunYomi, u"いぬ"_s);
    EXPECT_EQ(window().statusText(2), u"Import: 1 neu, 1 aktualisiert"_s);
    EXPECT_EQ(window().statusText(3), u"Liste optimiert: 0 zusammengeführt, 0 entfernt"_s);
    EXPECT_EQ(window().statusText(4), u"Doppelt behalten: 1 Kanji"_s);
    EXPECT_EQ(app.ui.requesters().unanswered(), 0);
}
