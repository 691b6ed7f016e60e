// The libraries loaded when first needed: found in the build as the installed program finds them,
// and missing ones cost the learner the sound and the bars, never the program or the figures.
#include "app/review/forecastwindow.h"
#include "app/shell/appfixture.h"
#include "app/state/cardids.h"
#include "app/state/mainwindowids.h"

#include <QBarCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Points the program at another module folder for as long as it lives.
class ModuleFolder {
public:
    explicit ModuleFolder(const QString& folder)
        : previous_(qgetenv("RENKARI_MODULE_DIR")),
          wasSet_(qEnvironmentVariableIsSet("RENKARI_MODULE_DIR")) {
        qputenv("RENKARI_MODULE_DIR", folder.toLocal8Bit());
    }
    ~ModuleFolder() {
        if (wasSet_) {
            qputenv("RENKARI_MODULE_DIR", previous_);
        } else {
            qunsetenv("RENKARI_MODULE_DIR");
        }
    }

private:
    QByteArray previous_;
    bool wasSet_;
};

// What the forecast window showed: how many chart views, and the texts of its labels.
struct ForecastSeen {
    int chartViews = 0;
    QStringList labels;
};

}  // namespace

class Modules : public AppFixture {
protected:
    void SetUp() override {
        KanjiRecord sun = makeKanji(1, 0x65E5, u"ニチ"_s, 4);
        sun.Beispiel = {u"日本 (にほん) Japan"_s, u"日曜日 (にちようび) Sunday"_s, QString(),
                        QString()};
        sun.SoundFile = {u"nihon.wav"_s, QString(), QString(), QString()};
        writeSet(u"Klang"_s, {sun, makeKanji(2, 0x6708, u"ゲツ"_s, 4)});
        writePreferences(u"Klang"_s);
        writeFile(u"Media/Klang/Sounds/nihon.wav"_s, "RIFF");
        start();
    }

    ForecastSeen openForecastWindow() {
        ForecastSeen seen;
        playDialog(ForecastWindowId, u"Vorschau"_s, {[&seen](QWidget* dialog) {
                       for (const QWidget* widget : dialog->findChildren<QWidget*>()) {
                           if (widget->inherits("QChartView")) {
                               ++seen.chartViews;
                           }
                       }
                       for (const QLabel* label : dialog->findChildren<QLabel*>()) {
                           seen.labels << label->text();
                       }
                       for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
                           if (button->text() == u"OK"_s) {
                               button->click();
                           }
                       }
                   }},
                   [this] { openForecast(app); });
        return seen;
    }
};

TEST_F(Modules, WithoutThemSoundFailsQuietlyAndChartsShowTheirFiguresInWords) {
    // Built beside the suites, the chart module is found and draws the bars.
    EXPECT_EQ(openForecastWindow().chartViews, 2);

    QTemporaryDir empty;
    const ModuleFolder missing(empty.path());
    // The file's example: the status bar says there is no sound output, as on a machine without.
    click(SoundButton1);
    EXPECT_EQ(window().statusText(2), u"Kein Ton: keine Tonausgabe"_s);
    // The reading's example and speaking along need the voice: the reason names its module.
    window().setStatusText(2, QString());
    click(SoundButton2);
    EXPECT_TRUE(window().statusText(2).startsWith(u"Kein Ton: "_s));
    EXPECT_TRUE(window().statusText(2).contains(u"renkari_speech"_s))
        << window().statusText(2).toStdString();
    window().setStatusText(2, QString());
    click(RecordStartButton);
    EXPECT_TRUE(window().statusText(2).contains(u"renkari_speech"_s))
        << window().statusText(2).toStdString();
    EXPECT_FALSE(window().isEnabled(RecordStopButton));
    EXPECT_TRUE(app.ui.requesters().shown().empty()) << "no requester interrupts the learner";

    // The forecast keeps its figures: each chart's place holds its title and summary.
    const ForecastSeen seen = openForecastWindow();
    EXPECT_EQ(seen.chartViews, 0);
    const auto inChartsPlace = [&seen](const QString& start) {
        return std::count_if(seen.labels.begin(), seen.labels.end(),
                             [&start](const QString& text) { return text.startsWith(start); });
    };
    EXPECT_EQ(
        inChartsPlace(
            u"Erwartete Antworten:\nErwartete Antworten an den nächsten 30 Tagen, ab heute: "_s),
        1)
        << seen.labels.join(u" | "_s).toStdString();

    click(NextButton);
    EXPECT_EQ(app.kanjiSet.current, 1);
}

TEST_F(Modules, EveryCategoryLabelOfTheForecastReadsWhole) {
    // A kanji of every level, the longest names among them.
    for (int level : {3, 2, 1, 0}) {
        app.kanjiSet.records.push_back(
            makeKanji(int(app.kanjiSet.records.size()) + 1, 0x706B + level, u"カ"_s, level));
    }
    QStringList checked;
    QStringList cut;
    playDialog(ForecastWindowId, u"Vorschau"_s, {[&](QWidget* dialog) {
                   // Drawn once, so that the charts have laid out their plots.
                   (void)dialog->grab();
                   for (const QChartView* view : dialog->findChildren<QChartView*>()) {
                       const QChart* chart = view->chart();
                       for (QAbstractAxis* axis : chart->axes(Qt::Horizontal)) {
                           auto* categories = qobject_cast<QBarCategoryAxis*>(axis);
                           if (categories == nullptr || !categories->labelsVisible()) {
                               continue;
                           }
                           const double slot = chart->plotArea().width() / categories->count();
                           const QFontMetrics metrics(categories->labelsFont());
                           for (const QString& label : categories->categories()) {
                               checked << label;
                               if (metrics.horizontalAdvance(label) > slot) {
                                   cut << label + u" ("_s +
                                              QString::number(metrics.horizontalAdvance(label)) +
                                              u" > "_s + QString::number(slot) + u")"_s;
                               }
                           }
                       }
                   }
                   for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
                       if (button->text() == u"OK"_s) {
                           button->click();
                       }
                   }
               }},
               [this] { openForecast(app); });
    EXPECT_TRUE(checked.contains(u"ohne JLPT"_s)) << checked.join(u", "_s).toStdString();
    EXPECT_TRUE(checked.contains(u"JLPT 1"_s)) << checked.join(u", "_s).toStdString();
    EXPECT_TRUE(cut.isEmpty()) << cut.join(u", "_s).toStdString();
}
