// Tests of the export: the dialog's rules through its widgets, and whole exports through the menu
// with the save requester answered in advance.
#include "app/kanjiset/exportdialog.h"
#include "app/kanjiset/pdfreading.h"
#include "app/shell/appfixture.h"
#include "app/state/mainwindowids.h"
#include "app/state/menuids.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStringDecoder>

#include <functional>
#include <map>

using namespace Qt::StringLiterals;

namespace {

// The open dialog as a test sees it: its widgets found by their captions. The two "mit
// Bedeutung" boxes are told apart by their order: On's comes first.
class Dialog {
public:
    explicit Dialog(QWidget* top) : top_(top) {}

    QAbstractButton* button(const QString& caption, int nth = 0) const {
        QAbstractButton* button = captioned(top_, caption, nth);
        EXPECT_NE(button, nullptr) << "no button " << caption.toStdString();
        return button;
    }
    void click(const QString& caption, int nth = 0) const {
        if (QAbstractButton* b = button(caption, nth)) {
            b->click();
        }
    }
    QSpinBox* spin(int nth) const { return top_->findChildren<QSpinBox*>().value(nth); }
    QSpinBox* first() const { return spin(0); }
    QSpinBox* last() const { return spin(1); }

private:
    QWidget* top_;
};

using Step = std::function<void(const Dialog&)>;

const QString OnMeaning = u"mit Bedeutung"_s;

struct ButtonState {
    bool checked;
    bool enabled;
};

// Checks every option and check box of the dialog against the table, by caption.
void expectStates(const Dialog& d, const std::vector<std::pair<QString, ButtonState>>& table,
                  const char* step) {
    std::map<QString, int> seen;
    for (const auto& [caption, expected] : table) {
        const QAbstractButton* b = d.button(caption, seen[caption]++);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->isChecked(), expected.checked) << step << ": " << caption.toStdString();
        EXPECT_EQ(b->isEnabled(), expected.enabled) << step << ": " << caption.toStdString();
    }
}

QString fromUtf16le(const QByteArray& bytes) {
    return QStringDecoder(QStringConverter::Utf16LE, QStringConverter::Flag::Stateless)
        .decode(bytes);
}

}  // namespace

class ExportTest : public AppFixture {
protected:
    void SetUp() override {
        std::vector<KanjiRecord> records{
            makeKanji(1, 0x4E0A, u"ジョウ-oben"_s), makeKanji(2, 0x4E0B, u"カ-unten"_s),
            makeKanji(3, 0x20B9F, u"シツ-schelten"_s), makeKanji(4, 0x5C71, u"サン-Berg"_s)};
        records[0].KunYomi = u"上*うえ ue-oben"_s;
        records[0].Genshi = u"1,2,"_s;
        records[0].Bemerkung = u"Strich über dem Boden, \"oben\""_s;
        records[1].KunYomi = u"下*した shita-unten"_s;
        writeSet(u"Export"_s, records);
        writePreferences(u"Export"_s);
        start();
    }

    // Plays one step each time the dialog waits for the user, through the menu entry or
    // directly. Fails when the dialog waits more or fewer times than there are steps.
    void play(const QString& title, const std::vector<Step>& steps,
              const std::function<void()>& open) {
        playDialog(ExportWindowId, title, stepsOn(steps), open);
    }
    std::optional<ExportChoice> runDialog(const std::vector<Step>& steps) {
        std::optional<ExportChoice> choice;
        play(u"Export csv"_s, steps, [&] { choice = runExportDialog(app, false); });
        return choice;
    }
    void exportThroughMenu(const std::vector<Step>& steps, int menu = MenuExportCsv) {
        play(menu == MenuExportCsv ? u"Export csv"_s : u"Export pdf"_s, steps,
             [&] { chooseMenu(menu); });
    }

    static void ok(const Dialog& d) { d.click(u"OK"_s); }
    static void chooseRange(const Dialog& d, int first, int last) {
        d.click(u"Spanne"_s);
        d.first()->setValue(first);
        d.last()->setValue(last);
    }

    std::vector<ui::ShownRequester> requestersOf(ui::RequesterKind kind) {
        std::vector<ui::ShownRequester> found;
        for (const ui::ShownRequester& shown : app.ui.requesters().shown()) {
            if (shown.kind == kind) {
                found.push_back(shown);
            }
        }
        return found;
    }
};

TEST_F(ExportTest, RulesFollowEveryClick) {
    const auto states = [](bool range, bool on, bool kun, bool genshi, bool columns) {
        return std::vector<std::pair<QString, ButtonState>>{
            {u"Alle"_s, {!range, true}},
            {u"Spanne"_s, {range, true}},
            {u"Kanji"_s, {true, true}},
            {u"Unicode des Kanji"_s, {false, true}},
            {u"ON-Yomi"_s, {on, true}},
            {u"mit Bedeutung"_s, {true, on}},
            {u"Kun-Yomi"_s, {kun, true}},
            {u"mit Kanjischreibweise"_s, {true, kun}},
            {u"mit Hiragana"_s, {true, kun}},
            {u"mit Romanji"_s, {true, kun}},
            {u"mit Bedeutung"_s, {true, kun}},
            {u"Merksatz"_s, {false, true}},
            {u"Genji"_s, {genshi, true}},
            {u"je eigene Spalte"_s, {columns, genshi}},
            {u"in einer Spalte"_s, {!columns, genshi}},
        };
    };
    const auto spinsEnabled = [](const Dialog& d, bool enabled, const char* step) {
        EXPECT_EQ(d.first()->isEnabled(), enabled) << step;
        EXPECT_EQ(d.last()->isEnabled(), enabled) << step;
    };
    const std::optional<ExportChoice> choice = runDialog({
        [&](const Dialog& d) {
            expectStates(d, states(false, true, true, false, false), "start");
            spinsEnabled(d, false, "start");
            EXPECT_EQ(d.first()->value(), 1);
            EXPECT_EQ(d.last()->value(), 4);
            EXPECT_EQ(d.first()->maximum(), 4);
            EXPECT_EQ(d.last()->minimum(), 1);
            d.click(u"Spanne"_s);
        },
        [&](const Dialog& d) {
            spinsEnabled(d, true, "Spanne");
            d.click(u"ON-Yomi"_s);
        },
        [&](const Dialog& d) {
            expectStates(d, states(true, false, true, false, false), "ON-Yomi off");
            d.click(u"Kun-Yomi"_s);
        },
        [&](const Dialog& d) {
            expectStates(d, states(true, false, false, false, false), "Kun-Yomi off");
            d.click(u"Genji"_s);
        },
        [&](const Dialog& d) {
            expectStates(d, states(true, false, false, true, false), "Genji on");
            d.click(u"je eigene Spalte"_s);
        },
        [&](const Dialog& d) {
            expectStates(d, states(true, false, false, true, true), "columns");
            d.click(u"ON-Yomi"_s);
        },
        [&](const Dialog& d) {
            expectStates(d, states(true, true, false, true, true), "ON-Yomi on");
            d.click(u"Alle"_s);
        },
        [&](const Dialog& d) {
            spinsEnabled(d, false, "Alle");
            ok(d);
        },
    });
    ASSERT_TRUE(choice.has_value());
    ExportFields expected;
    expected.kunYomi = false;
    expected.genshi = expected.genshiColumns = true;
    EXPECT_EQ(choice->fields, expected);
    EXPECT_EQ(choice->positions, (std::vector<int>{0, 1, 2, 3}));
}

TEST_F(ExportTest, RangeNeverRunsBackwards) {
    struct Case {
        const char* name;
        std::vector<std::pair<int, int>> moves;  // spin (0 first, 1 last), value
        int first;
        int last;
        std::vector<int> positions;
    };
    const Case cases[] = {
        {"two to three", {{0, 2}, {1, 3}}, 2, 3, {1, 2}},
        {"start moved past the end pushes the end", {{1, 2}, {0, 3}}, 3, 3, {2}},
        {"end moved below the start comes back to it", {{0, 3}, {1, 1}}, 3, 3, {2}},
        {"the whole set", {{1, 3}, {1, 4}}, 1, 4, {0, 1, 2, 3}},
        {"a start beyond the set is held at its end", {{1, 3}, {0, 9}}, 4, 4, {3}},
    };
    for (const Case& c : cases) {
        std::vector<Step> steps{[](const Dialog& d) { d.click(u"Spanne"_s); }};
        for (const auto& [spin, value] : c.moves) {
            steps.push_back([spin, value](const Dialog& d) { d.spin(spin)->setValue(value); });
        }
        steps.push_back([&](const Dialog& d) {
            EXPECT_EQ(d.first()->value(), c.first) << c.name;
            EXPECT_EQ(d.last()->value(), c.last) << c.name;
            ok(d);
        });
        const std::optional<ExportChoice> choice = runDialog(steps);
        ASSERT_TRUE(choice.has_value()) << c.name;
        EXPECT_EQ(choice->positions, c.positions) << c.name;
    }
}

TEST_F(ExportTest, CancelAndCloseBoxExportNothing) {
    EXPECT_FALSE(runDialog({[](const Dialog& d) { d.click(u"Abbruch"_s); }}).has_value());
    EXPECT_FALSE(runDialog({[](const Dialog&) {
                     DialogDriver::openDialog(ExportWindowId)->close();
                 }}).has_value());
    exportThroughMenu({[](const Dialog& d) { d.click(u"Abbruch"_s); }});
    EXPECT_TRUE(app.ui.requesters().shown().empty());
}

TEST_F(ExportTest, WritesTheChosenFieldsOfTheSetThroughTheMenu) {
    const QString folder = workDir() + u"ausgabe/"_s;
    ASSERT_TRUE(QDir().mkpath(folder));
    app.paths.exportPath = workDir();
    // A name without extension gets ".csv".
    app.ui.requesters().answerNext(ui::Answer::accept(folder + u"liste"_s));
    exportThroughMenu({[](const Dialog& d) { d.click(u"Unicode des Kanji"_s); },
                       [](const Dialog& d) { d.click(u"Merksatz"_s); },
                       [](const Dialog& d) { d.click(u"Genji"_s); },
                       [](const Dialog& d) { d.click(u"mit Romanji"_s); },
                       [](const Dialog& d) { d.click(OnMeaning, 0); }, ok});

    const auto saves = requestersOf(ui::RequesterKind::SaveFile);
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0].title, u"Export "_s);
    EXPECT_EQ(saves[0].text, workDir());
    EXPECT_EQ(app.paths.exportPath, folder);
    const std::optional<QByteArray> bytes = readFile(u"ausgabe/liste.csv"_s);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_FALSE(bytes->startsWith("\xFF\xFE"));
    EXPECT_EQ(fromUtf16le(*bytes),
              u"上,19978,ジョウ,上; うえ; oben,1;2;,\"Strich über dem Boden, \"\"oben\"\"\"\r\n"
              u"下,19979,カ,下; した; unten,,\r\n"
              u"𠮟,134047,シツ,,,\r\n"
              u"山,23665,サン,,,\r\n"_s);
    EXPECT_EQ(app.ui.requesters().unanswered(), 0);
}

TEST_F(ExportTest, RangeAndAnExistingFileReplaced) {
    writeFile(u"alt.csv"_s, "old contents");
    app.ui.requesters().answerNext(ui::Answer::accept(workDir() + u"alt.csv"_s));
    exportThroughMenu({[](const Dialog& d) { d.click(u"Spanne"_s); },
                       [](const Dialog& d) { d.first()->setValue(2); },
                       [](const Dialog& d) { d.last()->setValue(3); },
                       [](const Dialog& d) { d.click(u"Kanji"_s); },
                       [](const Dialog& d) { d.click(u"ON-Yomi"_s); },
                       [](const Dialog& d) { d.click(u"Kun-Yomi"_s); },
                       [](const Dialog& d) { d.click(u"Unicode des Kanji"_s); }, ok});
    EXPECT_EQ(readFile(u"alt.csv"_s), QByteArray(",\0"
                                                 "1\0"
                                                 "9\0"
                                                 "9\0"
                                                 "7\0"
                                                 "9\0\r\0\n\0"
                                                 ",\0"
                                                 "1\0"
                                                 "3\0"
                                                 "4\0"
                                                 "0\0"
                                                 "4\0"
                                                 "7\0\r\0\n\0",
                                                 34));
}

TEST_F(ExportTest, CancelledSaveRequesterWritesNothing) {
    const QString before = app.paths.exportPath;
    app.ui.requesters().answerNext(ui::Answer::cancel());
    exportThroughMenu({ok});
    EXPECT_EQ(requestersOf(ui::RequesterKind::SaveFile).size(), 1u);
    EXPECT_EQ(app.paths.exportPath, before);
    EXPECT_TRUE(requestersOf(ui::RequesterKind::Message).empty());
}

TEST_F(ExportTest, UnwritableTargetIsReportedByName) {
    // A folder where the file should go, and a folder that does not exist.
    ASSERT_TRUE(QDir().mkpath(workDir() + u"belegt.csv"_s));
    const QString targets[] = {workDir() + u"belegt.csv"_s, workDir() + u"fehlt/liste.csv"_s};
    for (const QString& target : targets) {
        app.ui.requesters().answerNext(ui::Answer::accept(target));
        exportThroughMenu({ok});
    }
    const auto messages = requestersOf(ui::RequesterKind::Message);
    ASSERT_EQ(messages.size(), 2u);
    for (size_t i = 0; i < messages.size(); ++i) {
        EXPECT_EQ(messages[i].title, u"Export "_s);
        EXPECT_TRUE(messages[i].text.contains(targets[i])) << messages[i].text.toStdString();
        EXPECT_TRUE(messages[i].text.startsWith(u"Die Datei "_s)) << messages[i].text.toStdString();
    }
    EXPECT_TRUE(QFileInfo(targets[0]).isDir());
    EXPECT_FALSE(QFileInfo::exists(targets[1]));
}

TEST_F(ExportTest, EmptySetWritesAnEmptyFile) {
    app.kanjiSet.records.clear();
    app.kanjiSet.current = -1;
    for (const bool range : {false, true}) {
        const QString name = range ? u"spanne.csv"_s : u"alle.csv"_s;
        app.ui.requesters().answerNext(ui::Answer::accept(workDir() + name));
        std::vector<Step> steps{ok};
        if (range) {
            steps.insert(steps.begin(), [](const Dialog& d) { d.click(u"Spanne"_s); });
        }
        play(u"Export csv"_s, steps, [&] { exportSet(app, false); });
        EXPECT_EQ(readFile(name), QByteArray()) << name.toStdString();
    }
}

TEST_F(ExportTest, PdfVariantWritesTwoSidedCardsAfterTheSameDialogOrTheOneSidedSheet) {
    app.ui.requesters().answerNext(ui::Answer::accept(workDir() + u"Karten.pdf"_s));
    exportThroughMenu({[](const Dialog& d) {
                          const QAbstractButton* twoSided =
                              d.button(u"Vorder- und Rückseiten (beidseitig)"_s);
                          ASSERT_NE(twoSided, nullptr);
                          EXPECT_TRUE(twoSided->isChecked());
                          // The back says what the kanji means.
                          EXPECT_TRUE(d.button(u"Merksatz"_s)->isChecked());
                          ok(d);
                      }},
                      MenuExportPdf);
    EXPECT_TRUE(requestersOf(ui::RequesterKind::Message).empty());
    EXPECT_EQ(QDir(workDir()).entryList({u"*.csv"_s}, QDir::Files), QStringList());
    const auto pdf = readFile(u"Karten.pdf"_s);
    ASSERT_TRUE(pdf.has_value());
    EXPECT_TRUE(pdf->startsWith("%PDF"));
    // Four cards: their fronts, then their backs.
    EXPECT_EQ(pageCount(*pdf), 2);
    const std::optional<QStringList> pages = textPages(workDir() + u"Karten.pdf"_s);
    ASSERT_TRUE(pages.has_value()) << "scripts/setup installs poppler-utils";
    ASSERT_EQ(pages->size(), 2);
    EXPECT_TRUE(pages->at(1).simplified().contains(u"Strich über dem Boden"_s))
        << pages->at(1).toStdString();
    EXPECT_FALSE(pages->at(0).contains(u"Strich über dem Boden"_s));

    app.ui.requesters().answerNext(ui::Answer::accept(workDir() + u"Bogen.pdf"_s));
    exportThroughMenu(
        {[](const Dialog& d) { d.click(u"Vorder- und Rückseiten (beidseitig)"_s); }, ok},
        MenuExportPdf);
    const auto sheet = readFile(u"Bogen.pdf"_s);
    ASSERT_TRUE(sheet.has_value());
    EXPECT_EQ(pageCount(*sheet), 1);
}

TEST_F(ExportTest, DialogLayout) {
    ExportDialog dialog(app, false);
    ui::Window& w = dialog.window();
    EXPECT_EQ(w.top()->windowTitle(), u"Export csv"_s);
    EXPECT_EQ(w.client()->size(), QSize(220, 500));
    // Every control in creation order with its caption and place.
    const std::vector<std::pair<QString, QRect>> controls{
        {u"OK"_s, {160, 470, 50, 20}},
        {u"Alle"_s, {20, 30, 130, 20}},
        {u"Spanne"_s, {20, 50, 130, 20}},
        {QString(), {60, 80, 50, 20}},
        {QString(), {150, 80, 50, 20}},
        {u"von"_s, {20, 80, 30, 20}},
        {u"bis"_s, {120, 80, 30, 20}},
        {u"Kanji"_s, {20, 140, 180, 20}},
        {u"Auswahl"_s, {20, 10, 180, 20}},
        {u"Angaben"_s, {20, 120, 180, 20}},
        {u"Unicode des Kanji"_s, {20, 160, 180, 20}},
        {u"ON-Yomi"_s, {20, 180, 180, 20}},
        {u"Kun-Yomi"_s, {20, 230, 180, 20}},
        {u"mit Bedeutung"_s, {30, 200, 170, 20}},
        {u"mit Bedeutung"_s, {30, 310, 170, 20}},
        {u"mit Hiragana"_s, {30, 270, 170, 20}},
        {u"mit Romanji"_s, {30, 290, 170, 20}},
        {u"mit Kanjischreibweise"_s, {30, 250, 170, 20}},
        {u"Merksatz"_s, {20, 340, 180, 20}},
        {u"Genji"_s, {20, 360, 180, 20}},
        {u"Abbruch"_s, {100, 470, 50, 20}},
        {u"je eigene Spalte"_s, {30, 380, 170, 20}},
        {u"in einer Spalte"_s, {30, 400, 170, 20}},
    };
    for (int id = 1; id <= static_cast<int>(controls.size()); ++id) {
        const auto& [caption, rect] = controls[static_cast<size_t>(id - 1)];
        EXPECT_EQ(w.placeInClient(id), rect) << "control " << id - 1;
        EXPECT_EQ(w.text(id), caption) << "control " << id - 1;
    }
    EXPECT_EQ(w.control(static_cast<int>(controls.size()) + 1), nullptr);

    w.show();
    const QString path = QDir::tempPath() + u"/export.png"_s;
    ASSERT_TRUE(w.saveScreenshot(path));
    EXPECT_EQ(QImage(path).size(), QSize(220, 500));
}
