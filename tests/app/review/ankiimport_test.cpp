// Scenario tests of the Anki import through "Importiere CSV" and of the review history's export:
// a deck imported with "OK" alone, imported again, a hostile package refused, and the log
// written for FSRS.
#include "app/shell/appfixture.h"
#include "app/state/mainwindowids.h"
#include "app/state/menuids.h"
#include "app/training/dailyreview.h"
#include "core/review/ankifixture.h"
#include "core/training/reviewlog.h"
#include "ui/tablelist.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 TypeId = 77;
constexpr qint32 Hi = 0x65E5;     // 日
constexpr qint32 Tsuki = 0x6708;  // 月

AnkiFixture kanjiDeck() {
    AnkiFixture deck;
    deck.collection.noteTypes.push_back(kanjiNoteType(TypeId));
    deck.collection.notes = {
        {1,
         TypeId,
         {u"日"_s, u"ニチ<br>ジツ"_s, u"ひ"_s, u"<b>sun</b>, day"_s,
          u"日本[にほん] Japan [sound:nihon.mp3]"_s}},
        {2, TypeId, {u"月"_s, u"ゲツ"_s, u"つき"_s, u"moon"_s, u""_s}},
        {3, TypeId, {u"日本"_s, u"ニホン"_s, u""_s, u"Japan"_s, u""_s}},
    };
    deck.collection.cards = {{11, 1, 0}, {12, 1, 1}, {21, 2, 0}, {31, 3, 0}};
    deck.collection.reviews = {
        {1'700'000'000'000, 11, 3, 5000, 0}, {1'700'000'100'000, 12, 1, 8000, 0},
        {1'700'000'200'000, 12, 0, 0, 4},    {1'700'000'300'000, 31, 3, 100, 1},
        {1'700'086'400'500, 21, 4, 3000, 1},
    };
    deck.media = {{u"nihon.mp3"_s, QByteArray("ID3 nihon")}};
    return deck;
}

// The open Anki wizard as a test sees it.
class AnkiView {
public:
    explicit AnkiView(QWidget* top) : top_(top) {}
    // The choice boxes in the order they were made: note type, the five targets, the templates.
    QList<QComboBox*> choices() const { return top_->findChildren<QComboBox*>(); }
    ui::TableList* preview() const { return top_->findChild<ui::TableList*>(); }
    bool showsText(const QString& text) const {
        for (const QLabel* label : top_->findChildren<QLabel*>()) {
            if (label->text() == text && label->isVisible()) {
                return true;
            }
        }
        return false;
    }
    void click(const QString& caption) const {
        for (QPushButton* button : top_->findChildren<QPushButton*>()) {
            if (button->text() == caption) {
                button->click();
                return;
            }
        }
        ADD_FAILURE() << "no button " << caption.toStdString();
    }
    QWidget* top() const { return top_; }

private:
    QWidget* top_;
};

}  // namespace

class AnkiImport : public AppFixture {
protected:
    void SetUp() override {
        KanjiRecord hi = makeKanji(2, Hi, u"ニチ"_s);
        writeSet(u"Import"_s, {makeKanji(1, 0x4E00, u"イチ"_s), hi});
        writePreferences(u"Import"_s);
        start();
    }

    QString package(const AnkiFixture& fixture, AnkiForm form) {
        const QString path = workDir() + u"deck.apkg"_s;
        writeAnkiPackage(path, fixture, form, dir.path());
        return path;
    }

    void importWith(const QString& path, const std::function<void(const AnkiView&)>& look) {
        app.ui.requesters().answerNext(ui::Answer::accept(path));
        playDialog(
            ImportWindowId, u"Anki Import"_s,
            stepsOn(std::vector<std::function<void(const AnkiView&)>>{[&](const AnkiView& v) {
                look(v);
                v.click(u"OK"_s);
            }}),
            [&] { chooseMenu(MenuImportCsv); });
    }

    // The last message shown, or the status field the outcome fits in.
    QString outcome() {
        const auto& shown = app.ui.requesters().shown();
        return !shown.empty() && shown.back().kind == ui::RequesterKind::Message
                   ? shown.back().text
                   : window().statusText(2);
    }

    const KanjiRecord* record(qint32 code) const {
        for (const KanjiRecord& r : app.kanjiSet.records) {
            if (r.Unicode == code) {
                return &r;
            }
        }
        return nullptr;
    }
};

TEST_F(AnkiImport, DeckImportsWithOkAloneAndAgainAddsNothing) {
    importWith(package(kanjiDeck(), AnkiForm::Schema18), [&](const AnkiView& v) {
        const QList<QComboBox*> boxes = v.choices();
        ASSERT_EQ(boxes.size(), 1 + 5 + 8);
        // The fields by name, the templates by what their question shows.
        for (int target = 0; target < 5; ++target) {
            EXPECT_EQ(boxes[1 + target]->currentIndex(), target + 1);
        }
        EXPECT_EQ(boxes[6]->currentText(), u"Bedeutung"_s);
        EXPECT_EQ(boxes[7]->currentText(), u"Schreiben"_s);
        EXPECT_FALSE(boxes[8]->isVisible());
        ASSERT_EQ(v.preview()->model()->rowCount(), 3);
        EXPECT_EQ(v.preview()->model()->index(0, 4).data().toString(), u"日本 (にほん) Japan"_s);
        EXPECT_TRUE(v.showsText(u"Kein Profil: der Verlauf wird nicht übernommen"_s));
    });
    EXPECT_EQ(outcome(), u"1 übernommen, 1 ergänzt, 1 übersprungen: kein einzelnes Kanji"_s);
    ASSERT_EQ(app.kanjiSet.size(), 3);
    const KanjiRecord* hi = record(Hi);
    ASSERT_NE(hi, nullptr);
    EXPECT_EQ(hi->OnYomi, u"ニチ"_s);
    EXPECT_EQ(hi->KunYomi, u"ひ"_s);
    EXPECT_EQ(hi->Bemerkung, u"sun, day"_s);
    EXPECT_EQ(hi->Beispiel[0], u"日本 (にほん) Japan"_s);
    EXPECT_EQ(hi->SoundFile[0], u"nihon.mp3"_s);
    EXPECT_EQ(readFile(u"Media/Import/Sounds/nihon.mp3"_s), QByteArray("ID3 nihon"));
    const KanjiRecord* tsuki = record(Tsuki);
    ASSERT_NE(tsuki, nullptr);
    EXPECT_EQ(tsuki->Bemerkung, u"moon"_s);

    const std::vector<KanjiRecord> before = app.kanjiSet.records;
    importWith(package(kanjiDeck(), AnkiForm::Schema11), [](const AnkiView&) {});
    EXPECT_EQ(outcome(), u"0 übernommen, 0 ergänzt, 1 übersprungen: kein einzelnes Kanji"_s);
    expectSameRecords(app.kanjiSet.records, before);
}

// With a profile in use the deck's answers come into the log at their times, with their grades
// and durations, the counters are rebuilt and the memory knows the kanji; the same deck again
// brings no answer twice.
TEST_F(AnkiImport, HistoryComesIntoTheProfileOnce) {
    app.ui.requesters().answerNext(ui::Answer::accept(u"Lerner"_s));
    chooseMenu(MenuCreateProfile);
    const QString path = package(kanjiDeck(), AnkiForm::Schema18);
    importWith(path, [](const AnkiView& v) {
        EXPECT_FALSE(v.showsText(u"Kein Profil: der Verlauf wird nicht übernommen"_s));
    });
    EXPECT_EQ(outcome(),
              u"1 übernommen, 1 ergänzt, 1 übersprungen: kein einzelnes Kanji; "
              u"3 Antworten übernommen"_s);
    const std::vector<ReviewEntry> expected{
        answerEntry(1'700'000'000, Hi, AnswerKind::Meaning, Grade::Right, 5000),
        answerEntry(1'700'000'100, Hi, AnswerKind::Kanji, Grade::Wrong, 8000),
        answerEntry(1'700'086'400, Tsuki, AnswerKind::Meaning, Grade::Easy, 3000),
    };
    const QString log = mediaDir() + u"Import/Lerner.rklog"_s;
    const auto answersIn = [&] {
        std::vector<ReviewEntry> answers;
        const FileResult<std::vector<ReviewEntry>> history = readReviewHistory(log);
        EXPECT_TRUE(history);
        for (const ReviewEntry& entry : history.value_or({})) {
            if (entry.type == ReviewEntryType::Answer) {
                answers.push_back(entry);
            }
        }
        return answers;
    };
    EXPECT_EQ(answersIn(), expected);
    const ProfileList& profile = app.learner.profile();
    const ProfileRecord& hi = profile.records[size_t(profileIndexOf(profile, Hi))];
    EXPECT_EQ(hi.KindMeaning.Right, 1);
    EXPECT_EQ(hi.KindKanji.Wrong, 1);
    const ProfileRecord& tsuki = profile.records[size_t(profileIndexOf(profile, Tsuki))];
    EXPECT_EQ(tsuki.KindMeaning.Right, 1);
    EXPECT_NE(app.learner.states().find(Tsuki, AnswerKind::Meaning), nullptr);

    importWith(path, [](const AnkiView&) {});
    EXPECT_EQ(outcome(),
              u"0 übernommen, 0 ergänzt, 1 übersprungen: kein einzelnes Kanji; "
              u"0 Antworten übernommen"_s);
    EXPECT_EQ(answersIn(), expected);
    EXPECT_EQ(profile.records[size_t(profileIndexOf(profile, Hi))].KindMeaning.Right, 1);
}

TEST_F(AnkiImport, HostilePackageIsRefusedWithItsReason) {
    AnkiFixture deck = kanjiDeck();
    deck.media = {{u"../../Renkari.pref"_s, QByteArray("overwritten")}};
    const QString path = package(deck, AnkiForm::Schema11);
    const std::vector<KanjiRecord> before = app.kanjiSet.records;
    app.ui.requesters().answerNext(ui::Answer::accept(path));
    chooseMenu(MenuImportCsv);
    const auto& shown = app.ui.requesters().shown();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().text,
              u"Das Anki-Paket "_s + QDir::toNativeSeparators(path) +
                  u" kann nicht importiert werden: eine Mediendatei heißt wie ein Pfad: "
                  u"../../Renkari.pref."_s);
    expectSameRecords(app.kanjiSet.records, before);
    EXPECT_FALSE(QFileInfo::exists(workDir() + u"Media/Import/Sounds"_s));
}

TEST_F(AnkiImport, ReviewHistoryExportsForFsrs) {
    app.ui.requesters().answerNext(ui::Answer::accept(u"Lerner"_s));
    chooseMenu(MenuCreateProfile);
    ASSERT_TRUE(startReviewLog(mediaDir() + u"Import/Lerner.rklog"_s,
                               {answerEntry(1000, Hi, AnswerKind::On, Grade::Wrong),
                                answerEntry(2000, Hi, AnswerKind::On, Grade::Right)}));
    app.ui.requesters().answerNext(ui::Answer::accept(workDir() + u"verlauf"_s));
    chooseMenu(MenuExportHistory);
    const QByteArray card = QByteArray::number(qint64(Hi) * 4);
    EXPECT_EQ(readFile(u"verlauf.csv"_s),
              "card_id,review_time,review_rating,review_state,review_duration\n" + card +
                  ",1000000,1,1,0\n" + card + ",2000000,3,3,0\n");
}
