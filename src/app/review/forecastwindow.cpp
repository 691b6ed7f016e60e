// "Vorschau": the answers each of the next days is expected to ask and the share of kanji known now
// per JLPT level, as charts and in words; the daily review's retention and new kanji per day, the
// time a day the learner gives it and the plan recommended for that time, and fitting the memory
// model to the learner's own answers.
#include "app/review/forecastwindow.h"

#include "app/review/planworker.h"
#include "app/state/app.h"
#include "app/state/mainwindowids.h"
#include "app/training/dailyreview.h"
#include "app/training/trainingsettings.h"
#include "core/training/forecast.h"
#include "core/training/memoryoptimiser.h"
#include "core/training/retentionrecommendation.h"
#include "core/training/schedulefuzz.h"
#include "core/training/workloadsimulation.h"
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
    BudgetLabel,
    BudgetSpin,
    BudgetUnit,
    PaceLabel,
    RecommendationLabel,
    TakeButton,
};

enum BudgetUnitChoice { InAnswers, InMinutes };

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

// The durations of the answers the log knows them for; answers logged before durations were
// kept count as unknown.
std::vector<double> answerSeconds(const std::vector<ReviewEntry>& history) {
    std::vector<double> seconds;
    for (const ReviewEntry& entry : history) {
        if (entry.type == ReviewEntryType::Answer && entry.durationMs > 0) {
            seconds.push_back(entry.durationMs / 1000.0);
        }
    }
    return seconds;
}

class ForecastWindow : public ui::Dialog<std::monostate> {
public:
    explicit ForecastWindow(App& app)
        : Dialog(app.ui,
                 ui::DialogShape(ForecastWindowId, app.texts.text(MessageText::ForecastTitle),
                                 {640, 640}, {216, 0})
                     .answeredBy(OkButton)),
          app_(app),
          parameters_(app.learner.choices().parameters),
          history_(app.learner.history().value_or(std::vector<ReviewEntry>{})),
          secondsPerAnswer_(medianAnswerSeconds(answerSeconds(history_))) {
        build();
        refresh();
        recommend();
    }

private:
    std::monostate accepted() override {
        keepReviewChoices(app_, retention(), window().spinValue(NewPerDaySpin), parameters_,
                          window().spinValue(BudgetSpin), window().choice(BudgetUnit) == InMinutes);
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
            case BudgetSpin:
            case BudgetUnit:
                recommend();
                break;
            case TakeButton:
                takeRecommendation();
                break;
            default:
                break;
        }
    }

    double retention() const { return window().spinValue(RetentionSpin) / 100.0; }

    void build() {
        const TextTables& t = app_.texts;
        ui::Window& w = window();
        ui::addBarChart(w, DueChart, nullptr, {10, 10, 620, 230}, {});
        ui::addBarChart(w, KnownChart, nullptr, {10, 248, 360, 240}, {});
        QLabel* summary = w.addLabel(SummaryLabel, nullptr, {380, 248, 250, 240}, QString(),
                                     Qt::AlignLeft | Qt::AlignTop, true);
        summary->setWordWrap(true);
        summary->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        summary->setMargin(4);
        summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
        w.addLabel(RetentionLabel, nullptr, {10, 502, 180, 20},
                   t.text(MessageText::RetentionLabel));
        w.addSpin(RetentionSpin, nullptr, {195, 500, 60, 24}, 70, 99);
        w.setSpinValue(RetentionSpin, qRound(app_.learner.choices().retention * 100));
        w.addLabel(NewPerDayLabel, nullptr, {10, 532, 180, 20},
                   t.text(MessageText::NewPerDayLabel));
        w.addSpin(NewPerDaySpin, nullptr, {195, 530, 60, 24}, 0, 1000);
        w.setSpinValue(NewPerDaySpin, app_.learner.choices().newPerDay);
        w.addLabel(BudgetLabel, nullptr, {10, 562, 180, 20}, t.text(MessageText::BudgetLabel));
        w.addSpin(BudgetSpin, nullptr, {195, 560, 60, 24}, 1, 100000);
        w.setSpinValue(BudgetSpin, app_.learner.choices().budget);
        w.addChoice(BudgetUnit, nullptr, {260, 560, 100, 24},
                    {t.text(MessageText::BudgetAnswers), t.text(MessageText::BudgetMinutes)});
        w.setChoice(BudgetUnit, app_.learner.choices().budgetInMinutes ? InMinutes : InAnswers);
        w.addLabel(PaceLabel, nullptr, {365, 562, 140, 20},
                   t.text(MessageText::BudgetPace).arg(QString::number(secondsPerAnswer_)));
        w.addLabel(RecommendationLabel, nullptr, {270, 502, 255, 20}, QString());
        w.addButton(TakeButton, nullptr, {530, 500, 100, 25},
                    t.text(MessageText::TakeRecommendation));
        w.setEnabled(TakeButton, false);
        w.addButton(OptimiseButton, nullptr, {430, 600, 100, 25},
                    t.text(MessageText::OptimiseButton));
        w.addButton(OkButton, nullptr, {560, 600, 70, 25}, t.text(StatisticsText::Ok));
        const bool active = app_.learner.active();
        for (int id : {RetentionSpin, NewPerDaySpin, BudgetSpin, BudgetUnit, OptimiseButton}) {
            w.setEnabled(id, active);
        }
    }

    // Recomputed with the window's settings, so a learner sees what a retention or a number of
    // new kanji would cost.
    void refresh() {
        const TextTables& t = app_.texts;
        const qint64 now = app_.ui.localNow().toSecsSinceEpoch();
        const QTimeZone zone = app_.ui.localNow().timeZone();
        const qint64 dayStart = learnerDayStart(now, zone);
        const MemoryModel model(parameters_.value_or(DefaultMemoryParameters));
        const MemoryStates& states = currentStates(model);
        const AskedKinds asked = forecastKinds(app_);
        const Forecast known =
            forecast(app_.kanjiSet, states, model, asked, retention(), now, dayStart);
        const DueSchedule schedule = scheduleDue(states, model, retention(), dayStart);
        WorkloadOptions options;
        options.asked = asked;
        options.retention = retention();
        options.newPerDay = window().spinValue(NewPerDaySpin);
        options.now = now;
        options.dayStart = dayStart;
        options.days = ForecastDays;
        options.firstRecall = firstAnswerRecall(history_);
        options.schedule = &schedule;
        const Workload ahead = simulateWorkload(app_.kanjiSet, states, model, options);

        ui::BarChart due{t.text(MessageText::ForecastDueSeries), {}, {},
                         t.text(MessageText::ForecastDaysAxis),  0,  {}};
        QStringList perDay;
        for (int day = 0; day < ForecastDays; ++day) {
            due.categories << QDateTime::fromSecsSinceEpoch(dayStart + day * SecondsPerDay, zone)
                                  .toString(QStringLiteral("d"));
            const double answers = ahead.answersPerDay[static_cast<size_t>(day)];
            due.values.push_back(answers);
            perDay << QString::number(qRound(answers));
        }
        const QString knownAhead =
            t.text(MessageText::ForecastKnownAhead)
                .arg(QString::number(qRound(ahead.knownAtEnd)), QString::number(ahead.kanji));
        due.summary =
            t.text(MessageText::ForecastDaysSummary).arg(perDay.join(QStringLiteral(", "))) +
            QLatin1Char('\n') + knownAhead;

        ui::BarChart levelsChart{t.text(MessageText::ForecastKnownSeries), {}, {}, {}, 100, {}};
        QStringList levels{due.summary};
        for (int level : {4, 3, 2, 1, 0}) {
            const LevelKnown& figures = known.byLevel[static_cast<size_t>(level)];
            if (figures.total == 0) {
                continue;
            }
            const QString name =
                level == 0 ? t.text(MessageText::ForecastNoLevel)
                           : t.text(TrainingText::Jlpt) + QLatin1Char(' ') + QString::number(level);
            const int percent = qRound(100.0 * figures.known / figures.total);
            levelsChart.categories << name;
            levelsChart.values.push_back(percent);
            levels << t.text(MessageText::ForecastLevelSummary)
                          .arg(name, QString::number(figures.known), QString::number(figures.total),
                               QString::number(percent));
        }
        levelsChart.summary = levels.mid(1).join(QLatin1Char('\n'));
        ui::setBarChart(window(), DueChart, due);
        ui::setBarChart(window(), KnownChart, levelsChart);
        window().setText(SummaryLabel,
                         levels.front() + QStringLiteral("\n\n") + levelsChart.summary);
    }

    const MemoryStates& currentStates(const MemoryModel& model) {
        return parameters_ == app_.learner.choices().parameters ? app_.learner.states()
                                                                : replayed(model);
    }

    // The answers a day the learner gives, counted from minutes at their own pace.
    qint32 answersPerDay() const {
        const qint32 budget = window().spinValue(BudgetSpin);
        return window().choice(BudgetUnit) == InMinutes
                   ? answersInMinutes(budget, secondsPerAnswer_)
                   : budget;
    }

    // Worked out on its own thread: the label shows how far it got, and then the plan.
    void recommend() {
        if (!app_.learner.active()) {
            return;
        }
        const qint64 now = app_.ui.localNow().toSecsSinceEpoch();
        PlanRequest request;
        request.set = app_.kanjiSet;
        request.parameters = parameters_.value_or(DefaultMemoryParameters);
        request.states = currentStates(MemoryModel(request.parameters));
        request.asked = forecastKinds(app_);
        request.now = now;
        request.dayStart = learnerDayStart(now, app_.ui.localNow().timeZone());
        request.firstRecall = firstAnswerRecall(history_);
        request.answersPerDay = answersPerDay();
        recommendation_.reset();
        window().setEnabled(TakeButton, false);
        showProgress(0);
        worker_.start(
            std::move(request), window().top(), [this](int percent) { showProgress(percent); },
            [this](std::optional<Recommendation> plan) {
                recommendation_ = plan;
                window().setText(RecommendationLabel,
                                 app_.texts.text(MessageText::RecommendedPlan)
                                     .arg(QString::number(plan->retentionPercent),
                                          QString::number(plan->newPerDay)));
                window().setEnabled(TakeButton, true);
            });
    }

    void showProgress(int percent) {
        window().setText(RecommendationLabel,
                         app_.texts.text(MessageText::RecommendingPlan).arg(percent));
    }

    void takeRecommendation() {
        if (!recommendation_) {
            return;
        }
        window().setSpinValue(RetentionSpin, recommendation_->retentionPercent);
        window().setSpinValue(NewPerDaySpin, recommendation_->newPerDay);
        refresh();
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
            keepReviewChoices(app_, retention(), window().spinValue(NewPerDaySpin), parameters_,
                              window().spinValue(BudgetSpin),
                              window().choice(BudgetUnit) == InMinutes);
            refresh();
            recommend();
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
    // The log as it is when the window opens: the pace and the first answers' recall.
    std::vector<ReviewEntry> history_;
    double secondsPerAnswer_;
    MemoryStates replayed_;
    std::optional<Recommendation> recommendation_;
    // Last, so that its thread ends before anything it reports to goes.
    PlanWorker worker_;
};

}  // namespace

void openForecast(App& app) {
    ForecastWindow window(app);
    window.run();
    showDueCounts(app, trainingSettings(app).asked);
}
