// "Vorschau": the kanji falling due on each of the next days and the share of kanji known now per
// JLPT level, as charts and in words; the daily review's retention and new kanji per day, and
// fitting the memory model to the learner's own answers.
#include "app/review/forecastwindow.h"

#include "app/state/app.h"
#include "app/state/mainwindowids.h"
#include "app/training/dailyreview.h"
#include "app/training/trainingsettings.h"
#include "core/training/forecast.h"
#include "core/training/memoryoptimiser.h"
#include "ui/barchart.h"
#include "ui/dialog.h"
#include "ui/progress.h"

#include <QDateTime>
#include <QLabel>

#include <algorithm>
#include <array>
#include <variant>

namespace {

enum ForecastControl : int {
    DueChart = 1,
    KnownChart,
    SummaryLabel,
    RetentionLabel,
    RetentionSpin,
    NewPerDayLabel,
    NewPerDaySpin,
    OptimiseButton,
    OkButton,
};

// The forecast is for what the training page asks; with nothing ticked, for every kind.
AskedKinds forecastKinds(const App& app) {
    const AskedKinds asked = trainingSettings(app).asked;
    return asked.count() > 0 ? asked : AskedKinds{true, true, true, true};
}

qint32 answersIn(const std::vector<ReviewEntry>& entries) {
    return static_cast<qint32>(std::count_if(entries.begin(), entries.end(), [](const auto& e) {
        return e.type == ReviewEntryType::Answer;
    }));
}

class ForecastWindow : public ui::Dialog<std::monostate> {
public:
    explicit ForecastWindow(App& app)
        : Dialog(app.ui,
                 ui::DialogShape(ForecastWindowId, app.texts.text(MessageText::ForecastTitle),
                                 {640, 560}, {216, 0})
                     .answeredBy(OkButton)),
          app_(app),
          parameters_(app.learner.choices().parameters) {
        build();
        refresh();
    }

private:
    std::monostate accepted() override {
        keepReviewChoices(app_, retention(), window().spinValue(NewPerDaySpin), parameters_);
        return {};
    }

    void handle(const ui::Event& event) override {
        switch (event.control) {
            case RetentionSpin:
            case NewPerDaySpin:
                refresh();
                break;
            case OptimiseButton:
                optimise();
                break;
            default:
                break;
        }
    }

    double retention() const { return window().spinValue(RetentionSpin) / 100.0; }

    void build() {
        const TextTables& t = app_.texts;
        ui::Window& w = window();
        ui::addBarChart(w, DueChart, nullptr, {10, 10, 620, 250}, {});
        ui::addBarChart(w, KnownChart, nullptr, {10, 270, 300, 200}, {});
        QLabel* summary = w.addLabel(SummaryLabel, nullptr, {320, 270, 310, 200}, QString(),
                                     Qt::AlignLeft | Qt::AlignTop, true);
        summary->setWordWrap(true);
        summary->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        summary->setMargin(4);
        summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
        w.addLabel(RetentionLabel, nullptr, {10, 482, 180, 20},
                   t.text(MessageText::RetentionLabel));
        w.addSpin(RetentionSpin, nullptr, {195, 480, 60, 24}, 70, 99);
        w.setSpinValue(RetentionSpin, qRound(app_.learner.choices().retention * 100));
        w.addLabel(NewPerDayLabel, nullptr, {10, 512, 180, 20},
                   t.text(MessageText::NewPerDayLabel));
        w.addSpin(NewPerDaySpin, nullptr, {195, 510, 60, 24}, 0, 1000);
        w.setSpinValue(NewPerDaySpin, app_.learner.choices().newPerDay);
        w.addButton(OptimiseButton, nullptr, {430, 510, 100, 25},
                    t.text(MessageText::OptimiseButton));
        w.addButton(OkButton, nullptr, {560, 510, 70, 25}, t.text(StatisticsText::Ok));
        const bool active = app_.learner.active();
        for (int id : {RetentionSpin, NewPerDaySpin, OptimiseButton}) {
            w.setEnabled(id, active);
        }
    }

    // Recomputed with the window's settings, so a learner sees what a retention would cost.
    void refresh() {
        const TextTables& t = app_.texts;
        const qint64 now = app_.ui.localNow().toSecsSinceEpoch();
        const QTimeZone zone = app_.ui.localNow().timeZone();
        const qint64 dayStart = learnerDayStart(now, zone);
        const MemoryModel model(parameters_.value_or(DefaultMemoryParameters));
        const MemoryStates& states = parameters_ == app_.learner.choices().parameters
                                         ? app_.learner.states()
                                         : replayed(model);
        const Forecast ahead =
            forecast(app_.kanjiSet, states, model, forecastKinds(app_), retention(), now, dayStart);

        ui::BarChart due{t.text(MessageText::ForecastDueSeries), {}, {},
                         t.text(MessageText::ForecastDaysAxis),  0,  {}};
        QStringList perDay;
        for (int day = 0; day < ForecastDays; ++day) {
            due.categories << QDateTime::fromSecsSinceEpoch(dayStart + day * SecondsPerDay, zone)
                                  .toString(QStringLiteral("d"));
            due.values.push_back(ahead.duePerDay[static_cast<size_t>(day)]);
            perDay << QString::number(ahead.duePerDay[static_cast<size_t>(day)]);
        }
        due.summary =
            t.text(MessageText::ForecastDaysSummary).arg(perDay.join(QStringLiteral(", ")));

        ui::BarChart known{t.text(MessageText::ForecastKnownSeries), {}, {}, {}, 100, {}};
        QStringList levels{due.summary};
        for (int level : {4, 3, 2, 1, 0}) {
            const LevelKnown& figures = ahead.byLevel[static_cast<size_t>(level)];
            if (figures.total == 0) {
                continue;
            }
            const QString name =
                level == 0 ? t.text(MessageText::ForecastNoLevel)
                           : t.text(TrainingText::Jlpt) + QLatin1Char(' ') + QString::number(level);
            const int percent = qRound(100.0 * figures.known / figures.total);
            known.categories << name;
            known.values.push_back(percent);
            levels << t.text(MessageText::ForecastLevelSummary)
                          .arg(name, QString::number(figures.known), QString::number(figures.total),
                               QString::number(percent));
        }
        known.summary = levels.mid(1).join(QLatin1Char('\n'));
        ui::setBarChart(window(), DueChart, due);
        ui::setBarChart(window(), KnownChart, known);
        window().setText(SummaryLabel, levels.join(QStringLiteral("\n\n")));
    }

    const MemoryStates& replayed(const MemoryModel& model) {
        // A log that cannot be read now shows the memory as it was replayed.
        replayed_ = app_.learner.statesWith(model.parameters()).value_or(app_.learner.states());
        return replayed_;
    }

    void optimise() {
        const TextTables& t = app_.texts;
        const std::vector<ReviewEntry> history =
            app_.learner.history().value_or(std::vector<ReviewEntry>{});
        const qint32 answers = answersIn(history);
        if (answers < MinOptimiseAnswers) {
            app_.ui.requesters().message(
                window().top(), t.text(MessageText::OptimiseButton),
                t.text(MessageText::OptimiseTooFew)
                    .arg(QString::number(MinOptimiseAnswers), QString::number(answers)));
            return;
        }
        const auto fitted = [&] {
            ui::Progress progress(window().top(), t.text(MessageText::OptimiseProgress), 100);
            return optimiseParameters(history, parameters_.value_or(DefaultMemoryParameters),
                                      [&progress](int done, int total) {
                                          progress.setValue(done * 100 / std::max(1, total));
                                          return true;
                                      });
        }();
        if (!fitted) {
            return;
        }
        if (fitted->better) {
            parameters_ = fitted->parameters;
            keepReviewChoices(app_, retention(), window().spinValue(NewPerDaySpin), parameters_);
            refresh();
        }
        app_.ui.requesters().message(window().top(), t.text(MessageText::OptimiseButton),
                                     t.text(MessageText::OptimiseOutcome)
                                             .arg(QString::number(fitted->lossBefore, 'f', 4),
                                                  QString::number(fitted->lossAfter, 'f', 4)) +
                                         QLatin1Char('\n') +
                                         t.text(fitted->better ? MessageText::OptimiseKept
                                                               : MessageText::OptimiseDiscarded));
    }

    App& app_;
    std::optional<MemoryParameters> parameters_;
    MemoryStates replayed_;
};

}  // namespace

void openForecast(App& app) {
    ForecastWindow window(app);
    window.run();
    showDueCounts(app, trainingSettings(app).asked);
}
