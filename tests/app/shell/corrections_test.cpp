// Scenario tests of saving the set when things go wrong: failing disks, killed saves, set files
// that could not be read, and kanji beyond the Basic Multilingual Plane.
#include "app/kanjiset/setcommands.h"
#include "app/shell/appfixture.h"
#include "app/state/cardids.h"
#include "app/state/mainwindowids.h"
#include "app/state/menuids.h"
#include "app/state/pictures.h"
#include "base/files.h"
#include "core/kanjiset/setfile.h"
#include "ui/clipboard.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QMenu>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

using namespace Qt::StringLiterals;

namespace {

constexpr char32_t BeyondBmpKanji = 0x20B9F;

std::vector<KanjiRecord> smallSet() {
    KanjiRecord first = makeKanji(1, 0x6C34, u"スイ"_s, 4);
    first.Bemerkung = u"Wasser"_s;
    return {first, makeKanji(2, 0x706B, u"カ"_s, 4)};
}

// Everything in the folder, hidden files included.
QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// The set is saved through its menu entry, as the user chooses it.
void triggerSaveSetEntry(const App& app) {
    QMenu* file = app.mainWindow->menuBarMenu(0);
    ASSERT_NE(file, nullptr);
    for (QAction* action : file->actions()) {
        if (action->text() == app.texts.text(MainText::SaveSet)) {
            action->trigger();
            return;
        }
    }
    FAIL() << "no entry " << app.texts.text(MainText::SaveSet).toStdString();
}

}  // namespace

class SaveFailure : public AppFixture {
protected:
    void SetUp() override {
        writeSet(u"Demo"_s, smallSet());
        writePreferences(u"Demo"_s);
        before = readFile(u"Media/Demo.rki"_s);
        ASSERT_TRUE(before.has_value());
        start();
        // A change that the failed save must not lose: it stays in memory.
        app.kanjiSet.records[0].Bemerkung = QString(20000, u'x');
    }

    // The message names the file and says why it could not be saved.
    void expectToldAboutTheSetFile(MessageText reason) {
        const auto& shown = app.ui.requesters().shown();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].kind, ui::RequesterKind::Message);
        EXPECT_TRUE(shown[0].text.contains(setPath(u"Demo"_s))) << shown[0].text.toStdString();
        EXPECT_TRUE(shown[0].text.contains(app.texts.text(reason))) << shown[0].text.toStdString();
        EXPECT_EQ(app.kanjiSet.records[0].Bemerkung.size(), 20000);
    }

    void makeTheSetFileAFolder() {
        ASSERT_TRUE(QFile::remove(setPath(u"Demo"_s)));
        ASSERT_TRUE(QDir(mediaDir()).mkdir(u"Demo.rki"_s));
    }

    std::optional<QByteArray> before;
};

TEST_F(SaveFailure, ReadOnlyMediaFolderKeepsThePreviousFileAndTellsTheUser) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "running as root, where folder permissions do not stop writes; "
                        "FullDiskKeepsThePreviousFileAndTellsTheUser covers the failed write";
    }
    ASSERT_TRUE(QFile::setPermissions(mediaDir(), QFile::ReadOwner | QFile::ExeOwner));
    chooseMenu(MenuSaveSet);
    QFile::setPermissions(mediaDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    expectToldAboutTheSetFile(MessageText::ReasonAccessDenied);
    EXPECT_EQ(readFile(u"Media/Demo.rki"_s), before);
    EXPECT_EQ(entriesOf(mediaDir()), QStringList{u"Demo.rki"_s});
}

TEST_F(SaveFailure, FullDiskKeepsThePreviousFileAndTellsTheUser) {
    {
        const FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.active());
        chooseMenu(MenuSaveSet);
    }

    expectToldAboutTheSetFile(MessageText::ReasonNoSpace);
    EXPECT_EQ(readFile(u"Media/Demo.rki"_s), before);
    EXPECT_EQ(entriesOf(mediaDir()), QStringList{u"Demo.rki"_s});

    // With room again the same save goes through.
    chooseMenu(MenuSaveSet);
    EXPECT_EQ(app.ui.requesters().shown().size(), 1u);
    const std::optional<QByteArray> after = readFile(u"Media/Demo.rki"_s);
    ASSERT_TRUE(after.has_value());
    const auto reread = parseSetFile(*after);
    ASSERT_TRUE(reread.has_value());
    EXPECT_EQ(reread->at(0).Bemerkung.size(), 20000);
}

TEST_F(SaveFailure, TargetThatIsAFolderIsReportedByName) {
    makeTheSetFileAFolder();
    chooseMenu(MenuSaveSet);

    expectToldAboutTheSetFile(MessageText::ReasonIsFolder);
    EXPECT_TRUE(QFileInfo(setPath(u"Demo"_s)).isDir());
}

TEST_F(SaveFailure, EndingWithAnUnsavableSetAsksAndStaysOpenOnNo) {
    makeTheSetFileAFolder();
    chooseMenu(MenuQuit);
    app.ui.requesters().answerNext(ui::Answer::cancel());
    EXPECT_FALSE(finish());

    const auto& shown = app.ui.requesters().shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, ui::RequesterKind::YesNo);
    EXPECT_EQ(shown[0].preselected, ui::YesNoDefault::No);
    EXPECT_TRUE(shown[0].text.contains(setPath(u"Demo"_s)));
    EXPECT_TRUE(shown[0].text.contains(app.texts.text(MessageText::ReasonIsFolder)));
    EXPECT_TRUE(shown[0].text.endsWith(app.texts.text(MessageText::EndAnyway)));
    // The program goes on with the set in memory, and the learner can make room.
    ASSERT_TRUE(app.mainWindow != nullptr);
    EXPECT_TRUE(pass());
    EXPECT_EQ(app.kanjiSet.records[0].Bemerkung.size(), 20000);
    ASSERT_TRUE(QDir(mediaDir()).rmdir(u"Demo.rki"_s));

    click(EndButton);
    EXPECT_TRUE(finish());
    const std::optional<QByteArray> saved = readFile(u"Media/Demo.rki"_s);
    ASSERT_TRUE(saved.has_value());
    const auto reread = parseSetFile(*saved);
    ASSERT_TRUE(reread.has_value());
    EXPECT_EQ(reread->at(0).Bemerkung.size(), 20000);
    EXPECT_EQ(shown.size(), 1u);
}

TEST_F(SaveFailure, EndingAnywayLeavesTheFolderAsItWas) {
    makeTheSetFileAFolder();
    chooseMenu(MenuQuit);
    app.ui.requesters().answerNext(ui::Answer::accept());
    EXPECT_TRUE(finish());
    EXPECT_EQ(app.mainWindow, nullptr);
    EXPECT_TRUE(QFileInfo(setPath(u"Demo"_s)).isDir());
}

using KilledSave = AppFixture;

TEST_F(KilledSave, KillBeforeCommitLeavesThePreviousFileWhole) {
    writeSet(u"Demo"_s, smallSet());
    writePreferences(u"Demo"_s);
    const std::optional<QByteArray> before = readFile(u"Media/Demo.rki"_s);
    ASSERT_TRUE(before.has_value());
    std::vector<KanjiRecord> large;
    for (int i = 0; i < 8000; ++i) {
        large.push_back(makeKanji(i, 0x4E00 + i % 0x5000, QString(40, u'ア')));
    }
    const QByteArray replacement = writeSetFile(large);

    // The temporary file of a save in progress, as the save helper names it.
    const QString temporary = mediaDir() + u".Demo.rki"_s + QLatin1String(SaveMarker) + u"k1LLed"_s;
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        // The steps of a whole-file save, cut off by a kill after the data went out and
        // before the file took the target's place.
        const int fd =
            ::open(QFile::encodeName(temporary).constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd < 0 ||
            ::write(fd, replacement.constData(), size_t(replacement.size())) !=
                ssize_t(replacement.size()) ||
            ::fsync(fd) != 0) {
            _exit(1);
        }
        kill(getpid(), SIGKILL);
        _exit(2);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "child ended with " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), SIGKILL);

    EXPECT_EQ(readFile(u"Media/Demo.rki"_s), before);
    // The next run reads the previous set as if nothing had happened, and its first save
    // removes what the killed one left.
    start();
    EXPECT_FALSE(app.setFileUnreadable);
    EXPECT_EQ(app.kanjiSet.size(), 2);
    EXPECT_TRUE(QFileInfo::exists(temporary));
    chooseMenu(MenuSaveSet);
    EXPECT_TRUE(app.ui.requesters().shown().empty());
    EXPECT_EQ(entriesOf(mediaDir()), QStringList{u"Demo.rki"_s});
}

// A set file that exists but cannot be read, in the forms it comes in.
class UnreadableSetFile : public AppFixture, public testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        const QByteArray content(GetParam());
        original = content == "truncated" ? writeSetFile(smallSet()).left(301) : content;
        writeFile(u"Media/Broken.rki"_s, original);
        writePreferences(u"Broken"_s);
        start();
    }

    // The file was named with the reason when it failed to load, and nothing was said after.
    void expectToldOnceAtLoad() {
        const auto& shown = app.ui.requesters().shown();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].kind, ui::RequesterKind::Message);
        EXPECT_TRUE(shown[0].text.contains(setPath(u"Broken"_s))) << shown[0].text.toStdString();
        EXPECT_TRUE(shown[0].text.contains(app.texts.text(MessageText::ReasonNoSetFile)))
            << shown[0].text.toStdString();
    }

    QByteArray original;
};

TEST_P(UnreadableSetFile, IsNeitherOverwrittenBySaveNorAtExit) {
    EXPECT_TRUE(app.setFileUnreadable);
    EXPECT_EQ(app.kanjiSet.size(), 0);
    EXPECT_EQ(app.setName, u"Broken"_s);

    triggerSaveSetEntry(app);
    pass();
    EXPECT_EQ(readFile(u"Media/Broken.rki"_s), original);

    chooseMenu(MenuQuit);
    finish();
    EXPECT_EQ(readFile(u"Media/Broken.rki"_s), original);
    EXPECT_EQ(entriesOf(mediaDir()), QStringList{u"Broken.rki"_s});
    expectToldOnceAtLoad();
}

TEST_P(UnreadableSetFile, BuildingASetUnderItsNameKeepsTheOriginalAsBackup) {
    // What adding kanji on the card leaves behind.
    app.kanjiSet.records = smallSet();
    app.kanjiSet.current = 0;
    refreshSet(app);

    chooseMenu(MenuSaveSet);
    EXPECT_EQ(readFile(u"Media/Broken.rki.bak"_s), original);
    EXPECT_EQ(readFile(u"Media/Broken.rki"_s), writeSetFile(app.kanjiSet.records));

    // Later saves replace the now readable set and leave the backup alone.
    app.kanjiSet.records[1].OnYomi = u"ヒ"_s;
    chooseMenu(MenuQuit);
    finish();
    EXPECT_EQ(readFile(u"Media/Broken.rki.bak"_s), original);
    const std::optional<QByteArray> saved = readFile(u"Media/Broken.rki"_s);
    ASSERT_TRUE(saved.has_value());
    const auto reread = parseSetFile(*saved);
    ASSERT_TRUE(reread.has_value());
    EXPECT_EQ(reread->at(1).OnYomi, u"ヒ"_s);
    expectToldOnceAtLoad();
}

INSTANTIATE_TEST_SUITE_P(Forms, UnreadableSetFile,
                         testing::Values("", "not a set <Renkari>", "truncated"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             const std::string name(info.param);
                             return name.empty()          ? std::string("Empty")
                                    : name == "truncated" ? std::string("Truncated")
                                                          : std::string("NotWellFormed");
                         });

using TooLargeSetFile = AppFixture;

TEST_F(TooLargeSetFile, ThatCannotBeBackedUpIsNotReplaced) {
    // Larger than anything the program reads whole; sparse, so it costs no disk space.
    const qint64 size = (qint64(1) << 30) + 1;
    {
        QFile huge(setPath(u"Huge"_s));
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
        ASSERT_TRUE(huge.resize(size));
    }
    writePreferences(u"Huge"_s);
    start();
    EXPECT_TRUE(app.setFileUnreadable);

    app.kanjiSet.records = smallSet();
    app.kanjiSet.current = 0;
    refreshSet(app);
    chooseMenu(MenuSaveSet);

    EXPECT_EQ(QFileInfo(setPath(u"Huge"_s)).size(), size);
    // Told once when it could not be loaded, once when it could not be kept.
    const auto& shown = app.ui.requesters().shown();
    ASSERT_EQ(shown.size(), 2u);
    for (const ui::ShownRequester& message : shown) {
        EXPECT_TRUE(message.text.contains(setPath(u"Huge"_s))) << message.text.toStdString();
        EXPECT_TRUE(message.text.contains(app.texts.text(MessageText::ReasonTooLarge)))
            << message.text.toStdString();
    }
    EXPECT_EQ(app.kanjiSet.size(), 2);
}

using BeyondBmp = AppFixture;

TEST_F(BeyondBmp, KanjiKeepsItsCodeThroughLoadRenderClipboardAndSave) {
    std::vector<KanjiRecord> records = smallSet();
    records.insert(records.begin(), makeKanji(0, static_cast<qint32>(BeyondBmpKanji), u"シツ"_s));
    writeSet(u"Rare"_s, records);
    writePreferences(u"Rare"_s);
    const std::optional<QByteArray> before = readFile(u"Media/Rare.rki"_s);

    start();
    ASSERT_EQ(app.kanjiSet.current, 0);
    EXPECT_EQ(app.kanjiSet.records[0].Unicode, static_cast<qint32>(BeyondBmpKanji));
    EXPECT_EQ(window().text(UnicodeField), QString::number(BeyondBmpKanji));

    // The picture on the card is more than the white it starts from.
    const QImage shown = control<ui::ImageView>(KanjiView)->image();
    const QImage blank = renderKanjiImage(QImage(), 0, app.resources.kanjiFont);
    ASSERT_EQ(shown.size(), blank.size());
    int inked = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            inked += shown.pixel(x, y) != blank.pixel(x, y) ? 1 : 0;
        }
    }
    EXPECT_GT(inked, 200);

    ui::setClipboardText(u"vorher"_s);
    click(CopyButton);
    const QString copied = ui::clipboardText();
    ASSERT_EQ(copied.size(), 2);
    EXPECT_EQ(copied.at(0).unicode(), 0xD842);
    EXPECT_EQ(copied.at(1).unicode(), 0xDF9F);

    triggerSaveSetEntry(app);
    pass();
    EXPECT_EQ(readFile(u"Media/Rare.rki"_s), before);
}
