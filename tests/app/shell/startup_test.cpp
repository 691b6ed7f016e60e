// Scenario tests of start-up and shutdown: the set requester, what is remembered and what is
// written back at the end of a run.
#include "app/shell/startup.h"
#include "app/shell/appfixture.h"
#include "app/state/cardids.h"
#include "app/state/mainwindowids.h"
#include "app/state/menuids.h"
#include "app/state/pictures.h"
#include "core/kanjiset/setfile.h"
#include "core/shell/preferences.h"
#include "core/training/profilefile.h"
#include "ui/widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// A run started somewhere else must not touch the directory it was started from.
class ForeignCurrentDirectory {
public:
    ForeignCurrentDirectory() : previous_(QDir::currentPath()) {
        EXPECT_TRUE(dir_.isValid());
        EXPECT_TRUE(QDir::setCurrent(dir_.path()));
    }
    ~ForeignCurrentDirectory() { QDir::setCurrent(previous_); }
    QStringList entries() const {
        return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

private:
    QString previous_;
    QTemporaryDir dir_;
};

std::vector<KanjiRecord> threeKanji() {
    return {makeKanji(1, 0x4E00, u"イチ"_s, 4), makeKanji(2, 0x4E8C, u"ニ"_s, 4),
            makeKanji(3, 0x4E09, u"サン"_s, 4)};
}

// A set that uses every stored field, with texts the writer has to escape.
std::vector<KanjiRecord> fullKanji() {
    KanjiRecord first = makeKanji(-7, 0x6F22, u"カン & ケン"_s, 2);
    first.KunYomi = u"<kara>"_s;
    first.Bemerkung = u"China\r\nzweite Zeile"_s;
    first.Genshi = u"3,17,"_s;
    first.Anim = u"28450.png"_s;
    first.Beispiel = {u"漢字"_s, u""_s, u"漢方"_s, u"\"x\""_s};
    first.SoundFile = {u"kanji.wav"_s, u""_s, u"it's.wav"_s, u""_s};
    KanjiRecord second = makeKanji(12, 0x5B57, u"ジ"_s, 1);
    second.KunYomi = u"あざ"_s;
    return {first, second};
}

// What the pictures and fields showed when they were painted while this was installed on the
// application: the window may be gone by the time it is looked at.
class PaintedCard : public QObject {
public:
    std::vector<QImage> pictures;
    QStringList fieldTexts;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            if (const auto* view = dynamic_cast<const ui::ImageView*>(watched)) {
                pictures.push_back(view->image());
            } else if (const auto* field = qobject_cast<const QLineEdit*>(watched)) {
                fieldTexts.push_back(field->text());
            }
        }
        return false;
    }
};

QStringList setFilesIn(const QString& folder) {
    return QDir(folder).entryList({u"*.rki"_s, u".rki"_s}, QDir::Files | QDir::Hidden);
}

}  // namespace

class StartUp : public AppFixture {
protected:
    // The card shows the kanji as the card itself draws it, and the first frame of its strip,
    // which is one colour in these tests.
    void expectCardPictures(qint32 code, const QColor& firstFrameColour) {
        EXPECT_EQ(control<ui::ImageView>(KanjiView)->image(),
                  renderKanjiImage(QImage(), code, app.resources.kanjiFont));
        QImage firstFrame(100, 100, QImage::Format_ARGB32_Premultiplied);
        firstFrame.fill(firstFrameColour);
        EXPECT_EQ(control<ui::ImageView>(StrokeView)->image(), firstFrame);
    }
};

TEST_F(StartUp, FreshWorkingDirectoryAsksForASetAndRemembersItsName) {
    writeSet(u"Demo"_s, threeKanji());
    const ForeignCurrentDirectory elsewhere;
    // The folder of the chosen file and everything after the first "." are ignored.
    app.ui.requesters().answerNext(ui::Answer::accept(u"/somewhere/else/Demo.old.rki"_s));

    start();

    const auto& shown = app.ui.requesters().shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, ui::RequesterKind::OpenFile);
    EXPECT_EQ(shown[0].title, u"Lade Kanjiset"_s);
    EXPECT_EQ(shown[0].text, mediaDir());
    EXPECT_EQ(app.setName, u"Demo"_s);
    EXPECT_EQ(app.kanjiSet.size(), 3);
    EXPECT_EQ(app.profile.profileName, QString());
    EXPECT_EQ(window().text(OnEditor), u"イチ"_s);
    EXPECT_EQ(app.texts.text(MainText::EditKanji), u"Kanji editieren"_s);

    window().top()->close();
    EXPECT_FALSE(pass());
    finish();

    const std::optional<QByteArray> prefs = readFile(u"Renkari.pref"_s);
    ASSERT_TRUE(prefs.has_value());
    EXPECT_EQ(*prefs,
              serializePreferences({u"Demo"_s, QString(), workDir(), workDir(), QString()}));
    EXPECT_EQ(elsewhere.entries(), QStringList());
}

TEST_F(StartUp, CancelledSetRequesterEndsCleanlyAndWritesNoSetFile) {
    app.ui.requesters().answerNext(ui::Answer::cancel());

    start();
    EXPECT_EQ(app.setName, QString());
    EXPECT_EQ(app.kanjiSet.size(), 0);
    EXPECT_EQ(window().statusText(0), u"Kanji: 0"_s);

    control<QAbstractButton>(EndButton)->click();
    EXPECT_FALSE(pass());
    finish();

    const std::optional<QByteArray> prefs = readFile(u"Renkari.pref"_s);
    ASSERT_TRUE(prefs.has_value());
    EXPECT_EQ(*prefs,
              serializePreferences({QString(), QString(), workDir(), workDir(), QString()}));
    EXPECT_EQ(setFilesIn(mediaDir()), QStringList());
    EXPECT_EQ(setFilesIn(workDir()), QStringList());
    // Only the set requester itself: nothing to save is no failure to tell about.
    EXPECT_EQ(app.ui.requesters().shown().size(), 1u);
}

TEST_F(StartUp, RememberedSetAndPreferencesAreWrittenBackByteIdentically) {
    writeSet(u"Jōyō"_s, fullKanji());
    writePreferences(u"Jōyō"_s);
    const std::optional<QByteArray> setBefore = readFile(u"Media/Jōyō.rki"_s);
    const std::optional<QByteArray> prefsBefore = readFile(u"Renkari.pref"_s);
    ASSERT_TRUE(setBefore && prefsBefore);

    start();
    EXPECT_TRUE(app.ui.requesters().shown().empty());
    EXPECT_EQ(app.kanjiSet.size(), 2);
    chooseMenu(MenuQuit);
    EXPECT_TRUE(app.loop.endRequested);
    finish();

    EXPECT_EQ(readFile(u"Media/Jōyō.rki"_s), setBefore);
    EXPECT_EQ(readFile(u"Renkari.pref"_s), prefsBefore);
}

TEST_F(StartUp, LoadedSetIsSortedWithTheFirstKanjiCurrent) {
    writeSet(u"Unsorted"_s, {makeKanji(30, 0x4E09), makeKanji(10, 0x4E00), makeKanji(-5, 0x5341),
                             makeKanji(20, 0x4E8C)});
    writePreferences(u"Unsorted"_s);

    start();

    std::vector<qint32> order;
    for (const KanjiRecord& record : app.kanjiSet.records) {
        order.push_back(record.Idx1);
    }
    EXPECT_EQ(order, (std::vector<qint32>{-5, 10, 20, 30}));
    EXPECT_EQ(app.kanjiSet.current, 0);
    EXPECT_EQ(app.kanjiSet.current, 0);
    EXPECT_EQ(app.kanjiSet.size(), 4);
    EXPECT_EQ(window().statusText(0), u"Kanji: 4"_s);
    EXPECT_EQ(window().statusText(1), u"Akt. Kanji: 1"_s);
    EXPECT_EQ(window().text(IndexField), u"-5"_s);
    EXPECT_EQ(control<QSpinBox>(NumberSpin)->maximum(), 4);
    EXPECT_EQ(control<QSpinBox>(NumberSpin)->value(), 1);
}

// The first card's pictures may be drawn beside the window while it is built; the learner must
// not see any difference from the pictures the card draws itself.
TEST_F(StartUp, FirstCardShowsTheKanjiAndStripFrameTheCardItselfWouldDraw) {
    std::vector<KanjiRecord> records = threeKanji();
    records[0].Anim = writeStrip(u"Drei"_s, records[0].Unicode, {Qt::red, Qt::green});
    writeSet(u"Drei"_s, records);
    writePreferences(u"Drei"_s);

    start();

    expectCardPictures(0x4E00, Qt::red);
    click(NextButton);
    click(PreviousButton);
    expectCardPictures(0x4E00, Qt::red);
}

// A large set's first kanji may be shown while the rest of the set is still being read, its
// pictures drawn by the reading worker for a set read in one pass and by the window for one read
// in halves; once the set is there, the card and the set are what a start that waited for the
// whole set gives.
class LargeSetStart : public StartUp, public testing::WithParamInterface<int> {};

TEST_P(LargeSetStart, OpensAtItsFirstKanjiWithItsPictures) {
    const int count = GetParam();
    std::vector<KanjiRecord> records;
    for (int i = 0; i < count; ++i) {
        records.push_back(makeKanji(i + 1, 0x4E00 + i, u"オン"_s, 1 + i % 4));
    }
    records[0].Anim = writeStrip(u"Gross"_s, records[0].Unicode, {Qt::blue, Qt::green});
    writeSet(u"Gross"_s, records);
    writePreferences(u"Gross"_s);
    const bool inHalves = QFileInfo(setPath(u"Gross"_s)).size() >= SetFileHalvesFrom;
    EXPECT_EQ(inHalves, count > 5000);

    start();

    EXPECT_EQ(app.kanjiSet.size(), count);
    EXPECT_EQ(window().statusText(0), u"Kanji: "_s + QString::number(count));
    EXPECT_EQ(window().text(IndexField), u"1"_s);
    expectCardPictures(0x4E00, Qt::blue);
    click(LastButton);
    EXPECT_EQ(window().text(IndexField), QString::number(count));
}

INSTANTIATE_TEST_SUITE_P(OnePassAndHalves, LargeSetStart, testing::Values(3000, 9000));

// The remembered profile is read while the set is still being read; it must meet the set as a
// profile chosen from the menu does, damage included.
TEST_F(StartUp, RememberedProfileMeetsTheSetAndADamagedFileIsKeptAtTheEnd) {
    writeSet(u"Drei"_s, threeKanji());
    ProfileRecord first{0x4E00, {}, {}, {}, {}};
    first.KindOn.Right = 3;
    first.KindOn.Wrong = 1;
    const QByteArray whole = writeProfileFile({first, ProfileRecord{0x4E8C, {}, {}, {}, {}}});
    const QByteArray cut = whole.left(whole.size() - 10);
    writeFile(u"Media/Drei/Lerner.rkpr"_s, cut);
    writeFile(u"Renkari.pref"_s,
              serializePreferences({u"Drei"_s, u"Lerner"_s, workDir(), workDir(), QString()}));

    start();

    EXPECT_EQ(window().text(ProfileField), u"Lerner"_s);
    EXPECT_TRUE(app.profile.fileDamaged);
    EXPECT_EQ(app.learner.profile().size(), 3);
    EXPECT_TRUE(window().statusText(4).contains(u"3-0-1"_s))
        << window().statusText(4).toStdString();
    ASSERT_TRUE(finish());
    EXPECT_EQ(readFile(u"Media/Drei/Lerner.rkpr.bak"_s), cut);
}

TEST_F(StartUp, QuitAfterStartDrawsTheFirstKanjiAndLeavesEveryFileAsItWas) {
    writeSet(u"Jōyō"_s, fullKanji());
    writePreferences(u"Jōyō"_s);
    const std::optional<QByteArray> setBefore = readFile(u"Media/Jōyō.rki"_s);
    const std::optional<QByteArray> prefsBefore = readFile(u"Renkari.pref"_s);
    ASSERT_TRUE(setBefore && prefsBefore);
    PaintedCard painted;
    qApp->installEventFilter(&painted);

    initialiseApp(app, workDir());
    EXPECT_EQ(runRenkari(app, true), 0);
    qApp->removeEventFilter(&painted);

    const QImage kanji =
        renderKanjiImage(QImage(), fullKanji().front().Unicode, app.resources.kanjiFont);
    EXPECT_TRUE(std::find(painted.pictures.begin(), painted.pictures.end(), kanji) !=
                painted.pictures.end());
    EXPECT_TRUE(painted.fieldTexts.contains(u"-7"_s));
    // The program ends as it would after its loop: the window closed, the set freed.
    EXPECT_EQ(app.mainWindow, nullptr);
    EXPECT_TRUE(app.kanjiSet.empty());
    EXPECT_EQ(readFile(u"Media/Jōyō.rki"_s), setBefore);
    EXPECT_EQ(readFile(u"Renkari.pref"_s), prefsBefore);
    EXPECT_EQ(QDir(mediaDir()).entryList(QDir::Files), QStringList{u"Jōyō.rki"_s});
}

TEST_F(StartUp, MissingRememberedSetIsToldAndNotCreatedEmpty) {
    writePreferences(u"Gone"_s);

    start();

    const auto& shown = app.ui.requesters().shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, ui::RequesterKind::Message);
    EXPECT_TRUE(shown[0].text.contains(setPath(u"Gone"_s))) << shown[0].text.toStdString();
    EXPECT_TRUE(shown[0].text.contains(app.texts.text(MessageText::ReasonNotFound)));
    EXPECT_EQ(app.setName, u"Gone"_s);
    EXPECT_EQ(app.kanjiSet.size(), 0);
    EXPECT_FALSE(app.setFileUnreadable);
    chooseMenu(MenuSaveSet);
    EXPECT_TRUE(finish());
    EXPECT_FALSE(QFileInfo::exists(setPath(u"Gone"_s)));
    EXPECT_EQ(shown.size(), 1u);
}

TEST_F(StartUp, LoadSetMenuCancelledKeepsTheSetAndChosenReplacesIt) {
    writeSet(u"Erstes"_s, threeKanji());
    writeSet(u"Zweites"_s, fullKanji());
    writePreferences(u"Erstes"_s);
    start();
    click(LastButton);
    ASSERT_EQ(app.kanjiSet.current, 2);

    app.ui.requesters().answerNext(ui::Answer::cancel());
    chooseMenu(MenuLoadSet);
    EXPECT_EQ(app.setName, u"Erstes"_s);
    EXPECT_EQ(app.kanjiSet.size(), 3);
    // A cancelled choice still starts over at the first kanji.
    EXPECT_EQ(app.kanjiSet.current, 0);
    EXPECT_EQ(window().text(OnEditor), u"イチ"_s);

    app.ui.requesters().answerNext(ui::Answer::accept(setPath(u"Zweites"_s)));
    chooseMenu(MenuLoadSet);
    EXPECT_EQ(app.setName, u"Zweites"_s);
    EXPECT_EQ(app.kanjiSet.size(), 2);
    EXPECT_EQ(window().text(IndexField), u"-7"_s);
    EXPECT_EQ(window().statusText(0), u"Kanji: 2"_s);

    chooseMenu(MenuQuit);
    finish();
    const std::optional<QByteArray> prefs = readFile(u"Renkari.pref"_s);
    ASSERT_TRUE(prefs.has_value());
    EXPECT_EQ(parsePreferences(*prefs, {}).LastSet, u"Zweites"_s);
    EXPECT_EQ(readFile(u"Media/Zweites.rki"_s), std::optional(writeSetFile(fullKanji())));
}

TEST_F(StartUp, RememberedSetOutsideTheMediaFolderIsNeitherReadNorWritten) {
    writeFile(u"Fremd/evil.rki"_s, writeSetFile(threeKanji()));
    writePreferences(u"../Fremd/evil"_s);
    const std::optional<QByteArray> outside = readFile(u"Fremd/evil.rki"_s);
    const std::optional<QByteArray> prefs = readFile(u"Renkari.pref"_s);
    app.ui.requesters().answerNext(ui::Answer::cancel());

    start();
    const auto& shown = app.ui.requesters().shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, ui::RequesterKind::OpenFile);
    EXPECT_EQ(app.setName, QString());
    EXPECT_EQ(app.kanjiSet.size(), 0);
    control<QAbstractButton>(EndButton)->click();
    EXPECT_FALSE(pass());
    finish();

    // Nothing outside was touched, and the preference stays for the user to mend.
    EXPECT_EQ(readFile(u"Fremd/evil.rki"_s), outside);
    EXPECT_EQ(QDir(workDir() + u"Fremd"_s).entryList(QDir::Files), QStringList{u"evil.rki"_s});
    EXPECT_EQ(readFile(u"Renkari.pref"_s), prefs);
}

TEST_F(StartUp, RefusedRememberedSetIsForgottenOnceAnotherSetIsChosen) {
    writeSet(u"Demo"_s, threeKanji());
    writePreferences(u"Unter\\Ordner"_s);
    app.ui.requesters().answerNext(ui::Answer::accept(setPath(u"Demo"_s)));

    start();
    EXPECT_EQ(app.setName, u"Demo"_s);
    EXPECT_EQ(app.kanjiSet.size(), 3);
    finish();

    EXPECT_EQ(readFile(u"Renkari.pref"_s),
              serializePreferences({u"Demo"_s, QString(), workDir(), workDir(), QString()}));
}

// A working folder that still holds the English JLPT set the program shipped before is offered
// the German one at start: Yes replaces the file, the set is read again and the profile, keyed by
// kanji, still meets it; the question is not asked again.
TEST_F(StartUp, TheShippedEnglishJlptSetIsOfferedTheGermanOne) {
    std::vector<KanjiRecord> english = threeKanji();
    std::vector<KanjiRecord> german = threeKanji();
    for (size_t i = 0; i < english.size(); ++i) {
        english[i].Bemerkung = u"number %1"_s.arg(i + 1);
        german[i].Bemerkung = u"Zahl %1; number %1"_s.arg(i + 1);
    }
    writeSet(u"JLPT"_s, english);
    const std::optional<QByteArray> shippedEnglish = readFile(u"Media/JLPT.rki"_s);
    ASSERT_TRUE(shippedEnglish.has_value());
    const QByteArray germanSet = writeSetFile(german);
    writeFile(u"Media/Shipped/JLPT.rki"_s, germanSet);
    writeFile(u"Media/Shipped/JLPT-english.sha256"_s,
              QCryptographicHash::hash(*shippedEnglish, QCryptographicHash::Sha256).toHex() +
                  "  JLPT.rki\n");
    ProfileRecord first{0x4E00, {}, {}, {}, {}};
    first.KindOn.Right = 3;
    first.KindOn.Wrong = 1;
    writeFile(u"Media/JLPT/Lerner.rkpr"_s, writeProfileFile({first}));
    writeFile(u"Renkari.pref"_s,
              serializePreferences({u"JLPT"_s, u"Lerner"_s, workDir(), workDir(), QString()}));

    app.ui.requesters().answerNext(ui::Answer::accept());
    start();

    const auto& shown = app.ui.requesters().shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, ui::RequesterKind::YesNo);
    EXPECT_TRUE(shown[0].text.startsWith(u"Die deutsche Fassung des JLPT-Sets übernehmen?"_s));
    EXPECT_EQ(readFile(u"Media/JLPT.rki"_s), germanSet);
    ASSERT_EQ(app.kanjiSet.size(), 3);
    EXPECT_EQ(app.kanjiSet.records[0].Bemerkung, u"Zahl 1; number 1"_s);
    EXPECT_EQ(window().text(NoteEditor), u"Zahl 1; number 1"_s);
    EXPECT_EQ(app.profile.profileName, u"Lerner"_s);
    EXPECT_TRUE(window().statusText(4).contains(u"3-0-1"_s))
        << window().statusText(4).toStdString();
    EXPECT_TRUE(QFileInfo::exists(mediaDir() + u"Shipped/JLPT.offered"_s));
    ASSERT_TRUE(finish());
}

// A JLPT set the learner changed is never the shipped one: nothing is asked, nothing replaced.
TEST_F(StartUp, AnEditedJlptSetIsNotOfferedTheGermanOne) {
    writeSet(u"JLPT"_s, threeKanji());
    const std::optional<QByteArray> shippedEnglish = readFile(u"Media/JLPT.rki"_s);
    ASSERT_TRUE(shippedEnglish.has_value());
    writeFile(u"Media/Shipped/JLPT.rki"_s, writeSetFile({makeKanji(1, 0x65E5, u"ニチ"_s, 4)}));
    writeFile(u"Media/Shipped/JLPT-english.sha256"_s,
              QCryptographicHash::hash(*shippedEnglish, QCryptographicHash::Sha256).toHex() +
                  "  JLPT.rki\n");
    std::vector<KanjiRecord> edited = threeKanji();
    edited[1].Bemerkung = u"meine Notiz"_s;
    writeSet(u"JLPT"_s, edited);
    const std::optional<QByteArray> learners = readFile(u"Media/JLPT.rki"_s);
    writePreferences(u"JLPT"_s);

    start();

    EXPECT_TRUE(app.ui.requesters().shown().empty());
    EXPECT_EQ(readFile(u"Media/JLPT.rki"_s), learners);
    EXPECT_EQ(app.kanjiSet.records[1].Bemerkung, u"meine Notiz"_s);
    EXPECT_FALSE(QFileInfo::exists(mediaDir() + u"Shipped/JLPT.offered"_s));
}
