// Tests of starting in a working folder a sync engine shares with another machine.
#include "app/shell/appfixture.h"
#include "app/training/dailyreview.h"
#include "core/shell/preferences.h"
#include "core/training/profilefile.h"
#include "core/training/reviewlog.h"
#include "core/training/trainingchoices.h"

#include <QDir>
#include <QFile>

#include <array>

using namespace Qt::StringLiterals;

namespace {

class SyncedFolder : public AppFixture {
protected:
    // The file as the engine leaves it: written on the machine at that time.
    void writeFileAt(const QString& relativePath, const QByteArray& bytes, const QDateTime& time) {
        writeFile(relativePath, bytes);
        QFile file(workDir() + relativePath);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
    }
    QStringList filesIn(const QString& relativeFolder) const {
        return QDir(workDir() + relativeFolder).entryList(QDir::Files, QDir::Name);
    }
};

const QDateTime Morning(QDate(2026, 12, 8), QTime(8, 0));
const QDateTime Noon(QDate(2026, 12, 8), QTime(12, 0));

}  // namespace

// The laptop last chose another set, an import folder this machine lacks and more new kanji a
// day; its files came back as conflict copies of the desktop's older ones.
TEST_F(SyncedFolder, PreferencesAndChoicesSavedLastWinAndForeignFoldersFallBack) {
    const std::vector<KanjiRecord> kanji{makeKanji(1, 0x4E00, u"イチ"_s)};
    writeSet(u"Drei"_s, kanji);
    writeSet(u"Vier"_s, kanji);
    writeFileAt(u"Renkari.pref"_s,
                serializePreferences({u"Drei"_s, u"Anna"_s, workDir(), workDir(), QString()}),
                Morning);
    const QString copy = u"Renkari (conflicted copy 2026-12-08 120000).pref"_s;
    writeFileAt(copy,
                serializePreferences(
                    {u"Vier"_s, u"Anna"_s, u"/home/laptop/Downloads/"_s, workDir(), QString()}),
                Noon);
    TrainingChoices desktopChoices;
    desktopChoices.newPerDay = 5;
    TrainingChoices laptopChoices;
    laptopChoices.newPerDay = 25;
    writeFileAt(u"Media/Vier/Anna.rktrain"_s, writeTrainingChoices(desktopChoices), Morning);
    writeFileAt(u"Media/Vier/Anna (Laptop's conflicted copy 2026-12-08).rktrain"_s,
                writeTrainingChoices(laptopChoices), Noon);

    app.ui.setLocalNow([] { return Noon.addSecs(600); });
    start();

    EXPECT_EQ(app.setName, u"Vier"_s);
    EXPECT_EQ(app.paths.importPath, workDir());
    EXPECT_EQ(app.paths.exportPath, workDir());
    const std::optional<QByteArray> choices = readFile(u"Media/Vier/Anna.rktrain"_s);
    ASSERT_TRUE(choices.has_value());
    EXPECT_EQ(parseTrainingChoices(*choices).value_or(TrainingChoices{}).newPerDay, 25);
    EXPECT_EQ(filesIn({}).filter(u"conflicted copy"_s),
              QStringList{copy + u".merged-2026-12-08"_s});
    EXPECT_EQ(filesIn(u"Media/Vier"_s).filter(u"conflicted copy"_s).filter(u".merged-"_s).size(),
              1);
    EXPECT_EQ(filesIn(u"Media/Vier"_s).filter(u"conflicted copy"_s).size(), 1);
    ASSERT_TRUE(finish());
}
