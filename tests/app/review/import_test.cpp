// Scenario tests of the CSV import wizard and "Liste optimieren", driven through the wizard's
// widgets from inside its modal loop; columns are dragged by drop events on the import list.
#include "app/review/importwizard.h"
#include "app/shell/appfixture.h"
#include "app/state/mainwindowids.h"
#include "app/state/menuids.h"
#include "ui/tablelist.h"
#include "ui/widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringEncoder>

#include <functional>

using namespace Qt::StringLiterals;

// Lets failed comparisons of value lists show the values.
inline void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '"' << list.join(u'|').toStdString() << '"';
}

namespace {

// The open wizard as a test sees it: its widgets found by their captions and places.
class Wizard {
public:
    explicit Wizard(QWidget* top) : top_(top) {}

    QWidget* top() const { return top_; }

    ui::ReportList* list(const QString& caption) const {
        for (ui::ReportList* list : top_->findChildren<ui::ReportList*>()) {
            if (list->headerItem()->text(0) == caption) {
                return list;
            }
        }
        ADD_FAILURE() << "no list " << caption.toStdString();
        return nullptr;
    }
    ui::ReportList* source() const { return list(u"Quelldatei"_s); }
    ui::ReportList* import() const { return list(u"Import"_s); }
    // The file preview lies above the mapping preview.
    ui::TableList* table(bool mapping) const {
        for (ui::TableList* table : top_->findChildren<ui::TableList*>()) {
            if ((table->y() > 300) == mapping) {
                return table;
            }
        }
        ADD_FAILURE() << "no table";
        return nullptr;
    }
    ui::TableList* preview() const { return table(false); }
    ui::TableList* mapping() const { return table(true); }

    template <class T = QAbstractButton>
    T* button(const QString& caption) const {
        T* button = captioned<T>(top_, caption);
        EXPECT_NE(button, nullptr) << "no button " << caption.toStdString();
        return button;
    }
    void click(const QString& caption) const {
        if (QAbstractButton* b = button(caption)) {
            b->click();
        }
    }
    QLineEdit* otherField() const { return top_->findChild<QLineEdit*>(); }
    // The user replacing the text of the "Sonstiges" field by one typed character, or clearing
    // it when there is none.
    void typeOther(const QString& character) const {
        QLineEdit* field = otherField();
        field->selectAll();
        QKeyEvent key(QEvent::KeyPress, character.isEmpty() ? Qt::Key_Backspace : Qt::Key_unknown,
                      Qt::NoModifier, character);
        QCoreApplication::sendEvent(field, &key);
    }

    // The status field whose text starts with prefix.
    QString status(const QString& prefix) const {
        for (const QLabel* label : top_->findChildren<QLabel*>()) {
            if (label->text().startsWith(prefix)) {
                return label->text();
            }
        }
        return {};
    }

    QStringList items(ui::ReportList* list) const {
        QStringList texts;
        for (int row = 0; row < list->rowCount(); ++row) {
            texts << list->cellText(row, 0);
        }
        return texts;
    }
    static QStringList captions(ui::TableList* table) {
        QStringList texts;
        for (int column = 0; column < table->columnCount(); ++column) {
            texts << table->columnCaption(column);
        }
        return texts;
    }
    static QStringList row(ui::TableList* table, int row) {
        QStringList texts;
        for (int column = 0; column < table->columnCount(); ++column) {
            texts << table->model()->index(row, column).data().toString();
        }
        return texts;
    }

    // A drag of the source item with that caption, dropped on the import list: the source row
    // selected, its drag text carried by the drop as Qt delivers it.
    void drag(const QString& caption) const {
        ui::ReportList* from = source();
        const int row = items(from).indexOf(caption);
        ASSERT_GE(row, 0) << caption.toStdString();
        from->selectRow(row);
        dropText(from->dragText());
    }
    void dropText(const QString& text) const {
        QMimeData data;
        data.setText(text);
        QWidget* viewport = import()->viewport();
        const QPoint at(20, 40);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &enter);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &drop);
    }
    // A double right click on an item of the import list.
    void removeItem(int row) const {
        ui::ReportList* list = import();
        QWidget* viewport = list->viewport();
        const QPoint local = list->visualItemRect(list->topLevelItem(row)).center();
        const QPointF global(viewport->mapToGlobal(local));
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                        QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
            const Qt::MouseButtons held =
                type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::RightButton;
            QMouseEvent event(type, QPointF(local), global, Qt::RightButton, held, Qt::NoModifier);
            QCoreApplication::sendEvent(viewport, &event);
        }
    }

private:
    QWidget* top_;
};

using Step = std::function<void(const Wizard&)>;

QByteArray utf16le(const QString& text) {
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

// A heading, quoted and unquoted fields, a comma inside quotes; UTF-8 with its mark.
const QString kKanjiFile =
    u"Nr,Kanji,Code,On,Bedeutung\r\n"
    u"1,\"日\",26085,ニチ,\"Sonne, Tag\"\r\n"
    u"2,月,26376,\"ゲツ\",Mond\r\n"
    u"3,\"木\",26408,ボク,\"Baum \"\"groß\"\"\"\r\n"_s;

}  // namespace

class ImportTest : public AppFixture {
protected:
    void SetUp() override {
        writeSet(u"Import"_s, {makeKanji(1, 0x4E00, u"イチ"_s)});
        writePreferences(u"Import"_s);
        start();
    }

    QString writeCsv(const QString& name, const QByteArray& bytes) {
        writeFile(u"csv/"_s + name, bytes);
        return workDir() + u"csv/"_s + name;
    }

    // Opens the wizard on path and plays one step each time it waits for the user; every step
    // but the last has to do something the wizard answers.
    void run(const QString& path, const std::vector<Step>& steps) {
        app.ui.requesters().answerNext(ui::Answer::accept(path));
        playDialog(ImportWindowId, u"CSV Import"_s, stepsOn(steps),
                   [&] { chooseMenu(MenuImportCsv); });
    }

    std::vector<qint32> codes() const {
        std::vector<qint32> result;
        for (const KanjiRecord& record : app.kanjiSet.records) {
            result.push_back(record.Unicode);
        }
        return result;
    }
};

TEST_F(ImportTest, OpensOnTheChosenFileWithEveryControl) {
    const QString path = writeCsv(u"kanji.csv"_s, "\xEF\xBB\xBF" + kKanjiFile.toUtf8());
    run(path, {[&](const Wizard& w) {
            EXPECT_EQ(w.top()->pos(), QPoint(218, 166));
            EXPECT_EQ(w.top()->width(), 848);
            EXPECT_EQ(w.button(u"OK"_s)->geometry(), QRect(770, 450, 60, 20));
            EXPECT_EQ(w.button(u"Abbruch"_s)->geometry(), QRect(700, 450, 60, 20));
            EXPECT_EQ(w.preview()->geometry(), QRect(10, 30, 830, 70));
            EXPECT_EQ(w.mapping()->geometry(), QRect(10, 370, 830, 70));
            EXPECT_EQ(w.source()->geometry(), QRect(10, 160, 120, 120));
            EXPECT_EQ(w.import()->geometry(), QRect(250, 160, 120, 120));
            EXPECT_EQ(w.otherField()->geometry(), QRect(580, 110, 50, 20));
            EXPECT_EQ(w.button(u"Sonstiges"_s)->geometry(), QRect(390, 110, 180, 20));
            EXPECT_EQ(w.button(u"Optimiere die importierte Liste"_s)->geometry(),
                      QRect(620, 260, 200, 20));
            EXPECT_TRUE(w.import()->toolTip().contains(u"\ndouble right click an item"_s));
            const QPlainTextEdit* structure = w.top()->findChild<QPlainTextEdit*>();
            ASSERT_NE(structure, nullptr);
            EXPECT_TRUE(structure->isReadOnly());
            EXPECT_EQ(structure->geometry(), QRect(400, 160, 200, 180));
            EXPECT_TRUE(structure->toPlainText().startsWith(
                u"Grundstruktur für den Import\n\nIndex 1\n"_s));
            EXPECT_TRUE(structure->toPlainText().endsWith(u"\nText des Soundfiles"_s));

            for (const auto& [box, ticked] : {std::pair{u"Komma"_s, true},
                                              {u"Semikolon"_s, false},
                                              {u"Tabulator"_s, true},
                                              {u"Leerzeichen"_s, false},
                                              {u"Sonstiges"_s, false},
                                              {u"Erste Zeile ist Überschrift"_s, true},
                                              {u"Optimiere die importierte Liste"_s, true}}) {
                EXPECT_EQ(w.button<QCheckBox>(box)->isChecked(), ticked) << box.toStdString();
            }

            EXPECT_EQ(w.status(u"Anzahl Spalten"_s), u"Anzahl Spalten 5"_s);
            EXPECT_EQ(w.status(u"Anzahl Datensätze"_s), u"Anzahl Datensätze 4"_s);
            EXPECT_EQ(w.items(w.source()),
                      (QStringList{u"leere Spalte -"_s, u"lfd Nummer x"_s, u"Spalte 0"_s,
                                   u"Spalte 1"_s, u"Spalte 2"_s, u"Spalte 3"_s, u"Spalte 4"_s}));
            EXPECT_TRUE(w.items(w.import()).isEmpty());
            EXPECT_EQ(Wizard::captions(w.preview()).size(), 5);
            EXPECT_EQ(w.preview()->columnWidth(0), 162);
            ASSERT_EQ(w.preview()->rowCount(), 4);
            EXPECT_EQ(Wizard::row(w.preview(), 1),
                      (QStringList{u"1"_s, u"日"_s, u"26085"_s, u"ニチ"_s, u"Sonne, Tag"_s}));
            EXPECT_EQ(Wizard::row(w.preview(), 3).last(), u"Baum \"groß\""_s);
            // The heading line is marked as staying out.
            EXPECT_TRUE(w.preview()->rowColour(0).isValid());
            EXPECT_FALSE(w.preview()->rowColour(1).isValid());
            EXPECT_EQ(w.mapping()->columnCount(), 0);
            w.click(u"Abbruch"_s);
        }});
    EXPECT_EQ(app.paths.importPath, workDir() + u"csv/"_s);
    EXPECT_EQ(app.kanjiSet.size(), 1);
    ASSERT_EQ(app.ui.requesters().shown().size(), 1u);
    EXPECT_EQ(app.ui.requesters().shown()[0].title, u"CSV Import"_s);
}

TEST_F(ImportTest, SeparatorChangesStartTheImportOrderOver) {
    const QString path = writeCsv(u"bars.csv"_s, "a|b|c,d\r\ne|f\r\n");
    const auto importItems = [](const Wizard& w) { return w.items(w.import()); };
    run(path,
        {[&](const Wizard& w) { w.drag(u"Spalte 1"_s); },
         [&](const Wizard& w) {
             EXPECT_EQ(importItems(w), QStringList{u"Spalte 1"_s});
             EXPECT_EQ(Wizard::captions(w.mapping()), QStringList{u"Spalte 1"_s});
             EXPECT_EQ(w.mapping()->columnWidth(0), 810);
             w.click(u"Semikolon"_s);
         },
         [&](const Wizard& w) {
             EXPECT_TRUE(importItems(w).isEmpty());
             EXPECT_EQ(w.mapping()->columnCount(), 0);
             w.drag(u"Spalte 0"_s);
         },
         [&](const Wizard& w) {
             // Typing beside an unticked "Sonstiges" changes nothing.
             w.typeOther(u"|"_s);
         },
         [&](const Wizard& w) {
             EXPECT_EQ(importItems(w), QStringList{u"Spalte 0"_s});
             EXPECT_EQ(w.status(u"Anzahl Spalten"_s), u"Anzahl Spalten 2"_s);
             w.click(u"Sonstiges"_s);
         },
         [&](const Wizard& w) {
             EXPECT_TRUE(importItems(w).isEmpty());
             EXPECT_EQ(w.status(u"Anzahl Spalten"_s), u"Anzahl Spalten 4"_s);
             EXPECT_EQ(Wizard::row(w.preview(), 0), (QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s}));
             w.drag(u"Spalte 2"_s);
         },
         [&](const Wizard& w) {
             // With "Sonstiges" ticked every change of the field scans again.
             w.typeOther(QString());
         },
         [&](const Wizard& w) {
             EXPECT_TRUE(importItems(w).isEmpty());
             EXPECT_EQ(w.status(u"Anzahl Spalten"_s), u"Anzahl Spalten 2"_s);
             w.click(u"Abbruch"_s);
         }});
}

TEST_F(ImportTest, TwelveColumnsMapColumnEleven) {
    QString line;
    for (int column = 0; column < 12; ++column) {
        line += (column > 0 ? u","_s : QString()) + u"v"_s + QString::number(column);
    }
    const QString path = writeCsv(u"wide.csv"_s, utf16le(line + u"\r\n"_s + line + u"\r\n"_s));
    run(path, {[&](const Wizard& w) {
                   EXPECT_EQ(w.items(w.source()).last(), u"Spalte 11"_s);
                   EXPECT_EQ(w.items(w.source()).size(), 14);
                   // 810 / 12 would be narrower than a column may be.
                   EXPECT_EQ(w.preview()->columnWidth(11), 100);
                   w.drag(u"Spalte 11"_s);
               },
               [&](const Wizard& w) {
                   EXPECT_EQ(Wizard::captions(w.mapping()), QStringList{u"Spalte 11"_s});
                   EXPECT_EQ(Wizard::row(w.mapping(), 0), QStringList{u"v11"_s});
                   w.click(u"Abbruch"_s);
               }});
}

TEST_F(ImportTest, TheMappingPreviewShowsTheFirstImportedLine) {
    const QString path = writeCsv(u"kanji.csv"_s, utf16le(kKanjiFile));
    const QStringList order{u"lfd Nummer x"_s, u"leere Spalte -"_s, u"Spalte 2"_s};
    run(path,
        {[&](const Wizard& w) { w.drag(order[0]); }, [&](const Wizard& w) { w.drag(order[1]); },
         [&](const Wizard& w) { w.drag(order[2]); },
         [&](const Wizard& w) {
             EXPECT_EQ(Wizard::captions(w.mapping()), order);
             EXPECT_EQ(w.mapping()->columnWidth(0), 270);
             // The set holds 一 at 1: the running number goes on from there.
             EXPECT_EQ(Wizard::row(w.mapping(), 0), (QStringList{u"2"_s, u" "_s, u"26085"_s}));
             // Text from elsewhere names no column and is not taken.
             w.dropText(u"Spalte"_s);
         },
         [&](const Wizard& w) {
             EXPECT_EQ(w.items(w.import()), order);
             w.click(u"Erste Zeile ist Überschrift"_s);
         },
         [&](const Wizard& w) {
             // Without a heading the first line is imported, and numbered first.
             EXPECT_EQ(Wizard::row(w.mapping(), 0), (QStringList{u"2"_s, u" "_s, u"Code"_s}));
             EXPECT_FALSE(w.preview()->rowColour(0).isValid());
             w.removeItem(1);
         },
         [&](const Wizard& w) {
             EXPECT_EQ(w.items(w.import()), (QStringList{order[0], order[2]}));
             EXPECT_EQ(Wizard::row(w.mapping(), 0), (QStringList{u"2"_s, u"Code"_s}));
             w.removeItem(0);
         },
         [&](const Wizard& w) { w.removeItem(0); },
         [&](const Wizard& w) {
             EXPECT_TRUE(w.items(w.import()).isEmpty());
             EXPECT_EQ(w.mapping()->columnCount(), 0);
             EXPECT_EQ(w.mapping()->rowCount(), 0);
             w.click(u"Abbruch"_s);
         }});
    EXPECT_EQ(app.kanjiSet.size(), 1);
}

// The learner's way: a file with a heading line dragged into place and imported, then the same
// file once more, whose lines the records of the first import hold already.
TEST_F(ImportTest, AFileImportedTwiceIsFoldedIntoTheSet) {
    const QString path = writeCsv(u"kanji.csv"_s, "\xEF\xBB\xBF" + kKanjiFile.toUtf8());
    const QStringList order{u"Spalte 0"_s, u"leere Spalte -"_s, u"Spalte 1"_s,
                            u"Spalte 3"_s, u"leere Spalte -"_s, u"Spalte 4"_s};
    std::vector<Step> steps;
    for (const QString& item : order) {
        steps.push_back([item](const Wizard& w) { w.drag(item); });
    }
    steps.push_back([&](const Wizard& w) {
        EXPECT_EQ(Wizard::row(w.mapping(), 0),
                  (QStringList{u"1"_s, u" "_s, u"日"_s, u"ニチ"_s, u" "_s, u"Sonne, Tag"_s}));
        // A picture for a person to compare with the intended layout.
        const QString folder = QStringLiteral(RENKARI_BINARY_DIR "/screenshots/");
        QDir().mkpath(folder);
        EXPECT_TRUE(w.top()->grab().save(folder + u"import.png"_s));
        w.click(u"OK"_s);
    });
    run(path, steps);

    ASSERT_EQ(codes(), (std::vector<qint32>{0x4E00, 0x65E5, 0x6708, 0x6728}));
    const KanjiRecord& sun = app.kanjiSet.records[1];
    EXPECT_EQ(sun.Idx1, 1);
    EXPECT_EQ(sun.Idx2, 0);
    EXPECT_EQ(sun.OnYomi, u"ニチ"_s);
    EXPECT_EQ(sun.KunYomi, u" "_s);
    EXPECT_EQ(sun.Bemerkung, u"Sonne, Tag"_s);
    EXPECT_EQ(app.kanjiSet.records[3].Bemerkung, u"Baum \"groß\""_s);
    EXPECT_EQ(app.kanjiSet.size(), 4);
    EXPECT_EQ(window().statusText(0), u"Kanji: 4"_s);

    steps.back() = [](const Wizard& w) { w.click(u"OK"_s); };
    run(path, steps);
    EXPECT_EQ(codes(), (std::vector<qint32>{0x4E00, 0x65E5, 0x6708, 0x6728}));
    EXPECT_EQ(window().statusText(2), u"Import: 0 neu, 0 aktualisiert"_s);
    EXPECT_EQ(window().statusText(3), u"Liste optimiert: 0 zusammengeführt, 0 entfernt"_s);
    EXPECT_EQ(app.ui.requesters().unanswered(), 0);
}

// A Japanese spreadsheet's CSV: Shift_JIS without a mark, a quote left open in its last line.
// The wizard names the encoding it took and the line of the open quote; another encoding chosen
// reads the file again in that one; chosen back, the file imports with the right kanji.
TEST_F(ImportTest, AShiftJisFileIsReadInTheEncodingTheLearnerChooses) {
    const QString text = u"Kanji,Code,On\r\n日,26085,ニチ\r\n本,26412,\"ホン\r\n"_s;
    QStringEncoder shiftJis("Shift_JIS");
    ASSERT_TRUE(shiftJis.isValid());
    const QString path = writeCsv(u"japanisch.csv"_s, shiftJis.encode(text));
    const auto choice = [](const Wizard& w) { return w.top()->findChild<QComboBox*>(); };
    const auto choose = [&](const Wizard& w, const QString& name) {
        const int index = choice(w)->findText(name);
        ASSERT_GE(index, 0) << name.toStdString();
        choice(w)->setCurrentIndex(index);
    };
    const QStringList firstLine{u"日"_s, u"26085"_s, u"ニチ"_s};
    std::vector<Step> steps{
        [&](const Wizard& w) {
            ASSERT_NE(choice(w), nullptr);
            EXPECT_EQ(choice(w)->currentText(), u"Shift_JIS"_s);
            EXPECT_EQ(w.status(u"Zeichensatz:"_s), u"Zeichensatz: Shift_JIS"_s);
            EXPECT_EQ(w.status(u"Zeile"_s), u"Zeile 3: Anführungszeichen nicht geschlossen"_s);
            EXPECT_EQ(Wizard::row(w.preview(), 1), firstLine);
            EXPECT_EQ(Wizard::row(w.preview(), 2), (QStringList{u"本"_s, u"26412"_s, u"ホン"_s}));
            // The choice box sits clear of every other control of the wizard.
            for (const QWidget* other :
                 choice(w)->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (other != choice(w) && other->isVisible()) {
                    EXPECT_FALSE(other->geometry().intersects(choice(w)->geometry()))
                        << other->metaObject()->className();
                }
            }
            choose(w, u"EUC-JP"_s);
        },
        [&](const Wizard& w) {
            EXPECT_EQ(w.status(u"Zeichensatz:"_s), u"Zeichensatz: EUC-JP"_s);
            EXPECT_NE(Wizard::row(w.preview(), 1), firstLine);
            // The file changes on the disk meanwhile; the next choice reads what is there now.
            writeCsv(u"japanisch.csv"_s, shiftJis.encode(text + u"山,23665,サン\r\n"_s));
            choose(w, u"Shift_JIS"_s);
        },
        [&](const Wizard& w) {
            EXPECT_EQ(w.status(u"Zeichensatz:"_s), u"Zeichensatz: Shift_JIS"_s);
            EXPECT_EQ(w.status(u"Anzahl Datensätze"_s), u"Anzahl Datensätze 4"_s);
            EXPECT_EQ(Wizard::row(w.preview(), 1), firstLine);
            w.drag(u"lfd Nummer x"_s);
        },
        [](const Wizard& w) { w.drag(u"leere Spalte -"_s); },
        [](const Wizard& w) { w.drag(u"Spalte 0"_s); },
        [](const Wizard& w) { w.drag(u"Spalte 2"_s); },
        [](const Wizard& w) { w.click(u"Optimiere die importierte Liste"_s); },
        [](const Wizard& w) { w.click(u"OK"_s); },
    };
    run(path, steps);

    ASSERT_EQ(codes(), (std::vector<qint32>{0x4E00, 0x65E5, 0x672C, 0x5C71}));
    EXPECT_EQ(app.kanjiSet.records[1].OnYomi, u"ニチ"_s);
    EXPECT_EQ(app.kanjiSet.records[2].OnYomi, u"ホン"_s);
    EXPECT_EQ(app.kanjiSet.records[3].OnYomi, u"サン"_s);
}

TEST_F(ImportTest, WithoutImportItemsEachLineBecomesAnEmptyRecord) {
    const QString path = writeCsv(u"plain.csv"_s, "a\nb\nc\n");
    run(path, {[&](const Wizard& w) {
                   w.click(u"Erste Zeile ist Überschrift"_s);
                   w.click(u"Optimiere die importierte Liste"_s);
               },
               [&](const Wizard& w) { w.click(u"OK"_s); }});
    ASSERT_EQ(app.kanjiSet.size(), 4);
    EXPECT_EQ(codes(), (std::vector<qint32>{0, 0, 0, 0x4E00}));
    EXPECT_TRUE(app.kanjiSet.records[0].OnYomi.isEmpty());

    chooseMenu(MenuOptimiseList);
    EXPECT_EQ(codes(), std::vector<qint32>{0x4E00});
    EXPECT_EQ(window().statusText(0), u"Kanji: 1"_s);
    EXPECT_EQ(window().statusText(2), u"Liste optimiert: 0 zusammengeführt, 3 entfernt"_s);
}

TEST_F(ImportTest, AFileThatCannotBeReadIsNamedInAMessage) {
    const QString missing = workDir() + u"csv/fehlt.csv"_s;
    app.ui.requesters().answerNext(ui::Answer::accept(missing));
    chooseMenu(MenuImportCsv);
    EXPECT_EQ(DialogDriver::openDialog(ImportWindowId), nullptr);
    const auto& shown = app.ui.requesters().shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].kind, ui::RequesterKind::Message);
    EXPECT_TRUE(shown[1].text.contains(QDir::toNativeSeparators(missing)));
    EXPECT_TRUE(shown[1].text.contains(u"Nicht gefunden"_s));

    // A cancelled requester opens nothing and says nothing.
    app.ui.requesters().answerNext(ui::Answer::cancel());
    chooseMenu(MenuImportCsv);
    EXPECT_EQ(app.ui.requesters().shown().size(), 3u);
    EXPECT_EQ(app.kanjiSet.size(), 1);
}

TEST_F(ImportTest, OptimiseListMergesTheRecordsOfOneKanji) {
    KanjiRecord later = makeKanji(0, 0x4E00);
    later.KunYomi = u"ひと"_s;
    app.kanjiSet.records.push_back(later);
    app.kanjiSet.records.push_back(makeKanji(6, 0));
    app.kanjiSet.records.push_back(makeKanji(7, 0x4E8C, u"ニ"_s));
    chooseMenu(MenuOptimiseList);
    ASSERT_EQ(codes(), (std::vector<qint32>{0x4E00, 0x4E8C}));
    EXPECT_EQ(app.kanjiSet.records[0].OnYomi, u"イチ"_s);
    EXPECT_EQ(app.kanjiSet.records[0].KunYomi, u"ひと"_s);
    EXPECT_EQ(window().statusText(0), u"Kanji: 2"_s);
    EXPECT_EQ(window().statusText(2), u"Liste optimiert: 1 zusammengeführt, 1 entfernt"_s);
}

// New kanji are numbered on from the set's last position, whether the running number is mapped
// to Index 1 or Index 1 is not mapped at all; a kanji the set holds keeps its place. Into an
// empty set the numbers start at 1.
TEST_F(ImportTest, NewKanjiAreNumberedAfterTheSetsLastPosition) {
    app.kanjiSet.records = {makeKanji(1, 0x65E5, u"ニチ"_s), makeKanji(2, 0x4E00, u"イチ"_s),
                            makeKanji(3, 0x56FD, u"コク"_s), makeKanji(4, 0x4F1A, u"カイ"_s)};
    app.kanjiSet.current = 3;
    const auto importWith = [&](const QString& path, const QStringList& order) {
        std::vector<Step> steps;
        for (const QString& item : order) {
            steps.push_back([item](const Wizard& w) { w.drag(item); });
        }
        steps.push_back([](const Wizard& w) { w.click(u"OK"_s); });
        run(path, steps);
    };
    const auto numbers = [&] {
        std::vector<std::pair<qint32, qint32>> result;
        for (const KanjiRecord& record : app.kanjiSet.records) {
            result.emplace_back(record.Unicode, record.Idx1);
        }
        return result;
    };
    using Numbers = std::vector<std::pair<qint32, qint32>>;

    // Lines 5, 6 and 7; the first is 日, which the set holds at 1.
    const QString kanjiFile = writeCsv(u"kanji.csv"_s, "\xEF\xBB\xBF" + kKanjiFile.toUtf8());
    importWith(kanjiFile, {u"lfd Nummer x"_s, u"leere Spalte -"_s, u"Spalte 1"_s});
    EXPECT_EQ(
        numbers(),
        (Numbers{{0x65E5, 1}, {0x4E00, 2}, {0x56FD, 3}, {0x4F1A, 4}, {0x6708, 6}, {0x6728, 7}}));

    // Index 1 not mapped: the running number all the same.
    const QString more = writeCsv(u"more.csv"_s, "Kanji\r\n山\r\n川\r\n");
    importWith(more, {u"leere Spalte -"_s, u"leere Spalte -"_s, u"Spalte 0"_s});
    EXPECT_EQ(numbers(), (Numbers{{0x65E5, 1},
                                  {0x4E00, 2},
                                  {0x56FD, 3},
                                  {0x4F1A, 4},
                                  {0x6708, 6},
                                  {0x6728, 7},
                                  {0x5C71, 8},
                                  {0x5DDD, 9}}));

    app.kanjiSet.records.clear();
    app.kanjiSet.current = -1;
    importWith(more, {u"lfd Nummer x"_s, u"leere Spalte -"_s, u"Spalte 0"_s});
    EXPECT_EQ(numbers(), (Numbers{{0x5C71, 1}, {0x5DDD, 2}}));
}
