// Tests of the open set merged with the conflict copies a sync engine leaves beside it.
#include "app/kanjiset/setsync.h"
#include "app/kanjiset/setcommands.h"
#include "app/shell/appfixture.h"
#include "core/kanjiset/setfile.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

constexpr qint32 Sun = 0x65E5, Moon = 0x6708, Fire = 0x706B, Water = 0x6C34;

class SetSync : public AppFixture {
protected:
    std::vector<KanjiRecord> fileRecords() {
        SetFileRead read = readSetFile(setPath(u"Kanji"_s));
        EXPECT_TRUE(read.has_value());
        return read ? std::move(*read) : std::vector<KanjiRecord>{};
    }
    static const KanjiRecord& recordOf(const std::vector<KanjiRecord>& records, qint32 code) {
        static const KanjiRecord none;
        for (const KanjiRecord& record : records) {
            if (record.Unicode == code) {
                return record;
            }
        }
        return none;
    }
    static std::vector<qint32> codesOf(const std::vector<KanjiRecord>& records) {
        std::vector<qint32> codes;
        for (const KanjiRecord& record : records) {
            codes.push_back(record.Unicode);
        }
        return codes;
    }
    QStringList mediaFiles() const { return QDir(mediaDir()).entryList(QDir::Files, QDir::Name); }
};

}  // namespace

// The learner loaded the set here; both machines changed it apart and the engine kept this
// machine's file beside a Dropbox copy of the laptop's. Then this machine changes and saves the
// merged set while the laptop, which got the merge, changes another kanji: the engine keeps this
// machine's save beside a Syncthing copy of the laptop's. Last, the laptop's save comes in while
// the set is open here with an edit of its own.
TEST_F(SetSync, ConflictCopiesMergeAgainstTheSetBothMachinesHadBefore) {
    const std::vector<KanjiRecord> shared{
        makeKanji(1, Sun, u"NICHI"_s), makeKanji(2, Moon, u"GETSU"_s), makeKanji(3, Fire, u"KA"_s)};
    writeSet(u"Kanji"_s, shared);
    writePreferences(u"Kanji"_s);
    start();
    app.ui.setLocalNow([] { return QDateTime(QDate(2026, 12, 8), QTime(10, 15)); });
    ASSERT_FALSE(setBasePath(app).isEmpty());
    EXPECT_FALSE(setBasePath(app).startsWith(workDir()));

    std::vector<KanjiRecord> desktop = shared;
    desktop[0].OnYomi = u"NICHI, JITSU"_s;
    desktop.push_back(makeKanji(4, Water, u"SUI"_s));
    std::vector<KanjiRecord> laptop = shared;
    laptop[0].OnYomi = u"NICHI, NI"_s;
    laptop[2].OnYomi = u"KA, KO"_s;
    laptop.erase(laptop.begin() + 1);
    writeSet(u"Kanji"_s, desktop);
    const QString dropboxCopy = u"Kanji (Laptop's conflicted copy 2026-12-08).rki"_s;
    writeFile(u"Media/"_s + dropboxCopy, writeSetFile(laptop));
    app.ui.requesters().answerNext(ui::Answer::accept());
    loadSet(app, false);

    // Each side's change taken, the moon's removal honoured, the sun both changed told and kept
    // as this machine had it; the copy set aside under a name no engine's copy has.
    EXPECT_EQ(codesOf(app.kanjiSet.records), (std::vector<qint32>{Sun, Fire, Water}));
    EXPECT_EQ(recordOf(app.kanjiSet.records, Sun).OnYomi, u"NICHI, JITSU"_s);
    EXPECT_EQ(recordOf(app.kanjiSet.records, Fire).OnYomi, u"KA, KO"_s);
    EXPECT_EQ(codesOf(fileRecords()), codesOf(app.kanjiSet.records));
    ASSERT_EQ(requestersShown(ui::RequesterKind::Message), 1);
    const QString told = app.ui.requesters().shown().back().text;
    EXPECT_TRUE(told.contains(u"日"_s)) << told.toStdString();
    EXPECT_FALSE(told.contains(u"火"_s)) << told.toStdString();
    EXPECT_TRUE(told.contains(dropboxCopy + u".merged-2026-12-08"_s)) << told.toStdString();
    EXPECT_EQ(mediaFiles(), (QStringList{dropboxCopy + u".merged-2026-12-08"_s, u"Kanji.rki"_s}));

    app.kanjiSet.records[1].Bemerkung = u"Feuer"_s;
    ASSERT_TRUE(saveSet(app));
    std::vector<KanjiRecord> laptopAfter = fileRecords();
    laptopAfter[1].Bemerkung.clear();
    laptopAfter[2].OnYomi = u"SUI, MIZU"_s;
    writeFile(u"Media/Kanji.sync-conflict-20261209-080000-ABCDEFG.rki"_s,
              writeSetFile(laptopAfter));
    loadSet(app, false);

    // Had this machine's own save been the base, the laptop's older fire would have looked like
    // its change and undone the note.
    EXPECT_EQ(recordOf(app.kanjiSet.records, Fire).Bemerkung, u"Feuer"_s);
    EXPECT_EQ(recordOf(app.kanjiSet.records, Water).OnYomi, u"SUI, MIZU"_s);
    EXPECT_EQ(requestersShown(ui::RequesterKind::Message), 1);
    EXPECT_EQ(mediaFiles().filter(u".sync-conflict-"_s).size(), 1);
    EXPECT_TRUE(mediaFiles().filter(u".sync-conflict-"_s).front().contains(u".merged-"_s));

    // While the set is open here, the engine brings the laptop's next save; saving here must not
    // write over it.
    std::vector<KanjiRecord> laptopWhileOpen = fileRecords();
    laptopWhileOpen[0].KunYomi = u"hi"_s;
    writeSet(u"Kanji"_s, laptopWhileOpen);
    app.kanjiSet.records[1].Bemerkung = u"Flamme"_s;
    ASSERT_TRUE(saveSet(app));
    EXPECT_EQ(recordOf(fileRecords(), Sun).KunYomi, u"hi"_s);
    EXPECT_EQ(recordOf(fileRecords(), Fire).Bemerkung, u"Flamme"_s);
    EXPECT_EQ(recordOf(app.kanjiSet.records, Sun).KunYomi, u"hi"_s);
    EXPECT_EQ(requestersShown(ui::RequesterKind::Message), 1);
    EXPECT_TRUE(mediaFiles().contains(u"Kanji.rki.merged-2026-12-08"_s));
}
