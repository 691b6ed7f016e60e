// A scenario through the window with files that are not what they seem: a set that is a link to
// a file elsewhere, a profile and a stroke-order strip that are pipes, and an Anim naming a
// picture outside the set's folder; and a deleted profile brought back whole or not at all.
#include "app/shell/appfixture.h"
#include "app/state/cardids.h"
#include "app/state/menuids.h"
#include "app/training/profilecommands.h"
#include "core/kanjiset/setfile.h"
#include "core/shell/preferences.h"
#include "core/training/profilefile.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

using FilesAndFaults = AppFixture;

TEST_F(FilesAndFaults, LinksPipesAndForeignPathsNeitherBlockTheStartNorLeadOutside) {
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    // A picture outside the working folder, and the same picture as the third kanji's strip.
    const QString good = writeStrip(u"Demo"_s, 0x5C71, {Qt::red, Qt::green});
    const QString outside = elsewhere.filePath(u"fremd.png"_s);
    ASSERT_TRUE(QFile::copy(mediaDir() + u"Demo/Anim/"_s + good, outside));
    // The first kanji's strip and the profile are pipes no one writes to.
    const QString pipedStrip = u"27700.png"_s;
    ASSERT_EQ(
        mkfifo(QFile::encodeName(mediaDir() + u"Demo/Anim/"_s + pipedStrip).constData(), 0600), 0);
    ASSERT_EQ(mkfifo(QFile::encodeName(mediaDir() + u"Demo/Ich.rkpr"_s).constData(), 0600), 0);

    std::vector<KanjiRecord> records{makeKanji(1, 0x6C34, u"スイ"_s), makeKanji(2, 0x706B, u"カ"_s),
                                     makeKanji(3, 0x5C71, u"サン"_s)};
    records[0].Anim = pipedStrip;
    records[1].Anim = QDir(mediaDir() + u"Demo/Anim"_s).relativeFilePath(outside);
    ASSERT_TRUE(records[1].Anim.startsWith(u"../"_s));
    records[2].Anim = good;
    // The set lives elsewhere; the working folder holds a link to it.
    const QString realSet = elsewhere.filePath(u"Demo.rki"_s);
    const QByteArray setBytes = writeSetFile(records);
    {
        QFile file(realSet);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(setBytes), setBytes.size());
    }
    ASSERT_TRUE(QFile::link(realSet, setPath(u"Demo"_s)));
    writeFile(u"Renkari.pref"_s,
              serializePreferences({u"Demo"_s, u"Ich"_s, workDir(), workDir(), QString()}));

    // Neither pipe holds up the start; the set is read through its link.
    start();
    settle();
    ASSERT_EQ(app.kanjiSet.size(), 3);
    EXPECT_FALSE(app.setFileUnreadable);

    // The profile that is a pipe is named with the reason at once, not used, and never saved
    // over.
    const QString pipedProfile = mediaDir() + u"Demo/Ich.rkpr"_s;
    ASSERT_EQ(app.ui.requesters().shown().size(), 1u);
    const ui::ShownRequester told = app.ui.requesters().shown()[0];
    EXPECT_EQ(told.kind, ui::RequesterKind::Message);
    EXPECT_TRUE(told.text.contains(pipedProfile)) << told.text.toStdString();
    EXPECT_TRUE(told.text.contains(app.texts.text(MessageText::ReasonNotRegularFile)))
        << told.text.toStdString();
    EXPECT_TRUE(app.learner.profile().empty());
    EXPECT_TRUE(saveProfile(app));
    struct stat profileStat {};
    ASSERT_EQ(lstat(QFile::encodeName(pipedProfile).constData(), &profileStat), 0);
    EXPECT_TRUE(S_ISFIFO(profileStat.st_mode));
    EXPECT_EQ(app.kanjiSet.records[0].Anim, pipedStrip);
    EXPECT_TRUE(control<ui::ImageView>(StrokeView)->image().isNull());

    // The Anim leading out of the set's folder counts as none: no strip, nothing to play.
    click(NextButton);
    EXPECT_EQ(app.kanjiSet.current, 1);
    EXPECT_EQ(app.kanjiSet.records[1].Anim, QString());
    EXPECT_FALSE(control<QAbstractButton>(AnimPlayButton)->isEnabled());
    EXPECT_TRUE(control<ui::ImageView>(StrokeView)->image().isNull());
    click(NextButton);
    EXPECT_TRUE(control<QAbstractButton>(AnimPlayButton)->isEnabled());
    EXPECT_EQ(centreColour(control<ui::ImageView>(StrokeView)->image()), QColor(Qt::red));

    // Saving would write through the link: refused by name, the edit stays in memory.
    app.kanjiSet.records[2].Bemerkung = u"Berg"_s;
    chooseMenu(MenuSaveSet);
    const auto& shown = app.ui.requesters().shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].kind, ui::RequesterKind::Message);
    EXPECT_TRUE(shown[1].text.contains(setPath(u"Demo"_s))) << shown[1].text.toStdString();
    EXPECT_TRUE(shown[1].text.contains(app.texts.text(MessageText::ReasonIsLink)))
        << shown[1].text.toStdString();
    EXPECT_EQ(app.kanjiSet.records[2].Bemerkung, u"Berg"_s);
    EXPECT_TRUE(QFileInfo(setPath(u"Demo"_s)).isSymLink());
    QFile kept(realSet);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), setBytes);
    EXPECT_EQ(QDir(elsewhere.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              (QStringList{u"Demo.rki"_s, u"fremd.png"_s}));
}

TEST_F(FilesAndFaults, DeletedProfileComesBackWholeOrNotAtAllAndEachDeletionIsKept) {
    writeSet(u"Demo"_s, {makeKanji(1, 0x6C34, u"スイ"_s), makeKanji(2, 0x706B, u"カ"_s)});
    writePreferences(u"Demo"_s);
    // What "Profil löschen" left of Anna: her profile and the backup of a damaged one.
    const QByteArray profile = writeProfileFile({ProfileRecord{0x6C34, {3, 0, 1}, {}, {}, {}}});
    writeFile(u"Media/Demo/Anna.rkpr.deleted"_s, profile);
    writeFile(u"Media/Demo/Anna.rkpr.bak.deleted"_s, "older profile");
    // A backup of that name came back meanwhile, from a second computer.
    writeFile(u"Media/Demo/Anna.rkpr.bak"_s, "another backup");
    start();
    const auto createAnna = [this](bool restore) {
        app.ui.requesters().answerNext(ui::Answer::accept(u"Anna"_s));
        app.ui.requesters().answerNext(restore ? ui::Answer::accept() : ui::Answer::cancel());
        chooseMenu(MenuCreateProfile);
    };

    // Yes to bringing her back: the name in the way is told and nothing moves.
    createAnna(true);
    const auto& shown = app.ui.requesters().shown();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[2].kind, ui::RequesterKind::Message);
    EXPECT_EQ(shown[2].text, app.texts.text(MessageText::RestoreProfileBlocked)
                                 .arg(u"Anna"_s, mediaDir() + u"Demo/Anna.rkpr.bak"_s));
    EXPECT_EQ(app.profile.profileName, QString());
    EXPECT_EQ(readFile(u"Media/Demo/Anna.rkpr.deleted"_s), profile);
    EXPECT_EQ(readFile(u"Media/Demo/Anna.rkpr.bak.deleted"_s), QByteArray("older profile"));
    EXPECT_EQ(readFile(u"Media/Demo/Anna.rkpr.bak"_s), QByteArray("another backup"));
    EXPECT_FALSE(QFileInfo::exists(mediaDir() + u"Demo/Anna.rkpr"_s));

    // With the way clear, all of her comes back.
    ASSERT_TRUE(QFile::remove(mediaDir() + u"Demo/Anna.rkpr.bak"_s));
    createAnna(true);
    EXPECT_EQ(app.profile.profileName, u"Anna"_s);
    EXPECT_EQ(readFile(u"Media/Demo/Anna.rkpr"_s), profile);
    EXPECT_EQ(readFile(u"Media/Demo/Anna.rkpr.bak"_s), QByteArray("older profile"));
    EXPECT_FALSE(QFileInfo::exists(mediaDir() + u"Demo/Anna.rkpr.deleted"_s));
    EXPECT_FALSE(QFileInfo::exists(mediaDir() + u"Demo/Anna.rkpr.bak.deleted"_s));

    // Deleted, then chosen again by her file name (a fresh profile) and deleted once more: the
    // first deletion's files are kept beside the second's.
    app.ui.requesters().answerNext(ui::Answer::accept());
    chooseMenu(MenuDeleteProfile);
    const std::optional<QByteArray> firstDeleted = readFile(u"Media/Demo/Anna.rkpr.deleted"_s);
    ASSERT_TRUE(firstDeleted.has_value());
    app.ui.requesters().answerNext(ui::Answer::accept(u"Anna.rkpr"_s));
    chooseMenu(MenuChooseProfile);
    ASSERT_EQ(app.profile.profileName, u"Anna"_s);
    ASSERT_TRUE(saveProfile(app));
    const std::optional<QByteArray> fresh = readFile(u"Media/Demo/Anna.rkpr"_s);
    app.ui.requesters().answerNext(ui::Answer::accept());
    chooseMenu(MenuDeleteProfile);
    EXPECT_EQ(readFile(u"Media/Demo/Anna.rkpr.deleted-2"_s), firstDeleted);
    EXPECT_EQ(readFile(u"Media/Demo/Anna.rkpr.bak.deleted-2"_s), QByteArray("older profile"));
    EXPECT_EQ(readFile(u"Media/Demo/Anna.rkpr.deleted"_s), fresh);
    EXPECT_FALSE(QFileInfo::exists(mediaDir() + u"Demo/Anna.rkpr"_s));
}
