// The statistics window: the profile's results kanji by kanji, coloured by quota band, and summed
// up beside them.
#include "app/review/statisticswindow.h"

#include "app/kanjiset/cardview.h"
#include "app/review/forecastwindow.h"
#include "app/state/app.h"
#include "app/state/mainwindowids.h"
#include "app/training/quotatable.h"
#include "core/training/quota.h"
#include "core/training/statisticssummary.h"
#include "ui/answerkeys.h"
#include "ui/dialog.h"
#include "ui/tablelist.h"

#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>
#include <array>
#include <utility>
#include <variant>

namespace {

enum StatisticsControl : int {
    KanjiList = 1,
    GeneralLabel,
    SummaryEditor,
    SelectionLabel,
    OnBox,
    KunBox,
    MeaningBox,
    SortByKanjiOption,
    SortByRightOption,
    SortByWrongOption,
    SortByQuotaOption,
    OkButton,
    ForecastButton,
};

const QuotaChoiceControls QuotaChoice{
    OnBox,
    KunBox,
    MeaningBox,
    {SortByKanjiOption, SortByRightOption, SortByWrongOption, SortByQuotaOption}};

// The summary sets its band counts off with one TAB, and the shortest label with two, meant to
// line them up in one column. The smallest tab distance that does so in this font and language;
// the editor's own when none does.
qreal bandTabDistance(const QFontMetrics& metrics, const TextTables& texts) {
    std::vector<int> oneTab;
    for (const MessageText label :
         {MessageText::SummaryAlwaysRight, MessageText::SummaryVeryOftenRight,
          MessageText::SummaryMostlyRight, MessageText::SummaryOftenRight,
          MessageText::SummarySometimesRight}) {
        oneTab.push_back(metrics.horizontalAdvance(texts.text(label)));
    }
    const int twoTabs = metrics.horizontalAdvance(texts.text(MessageText::SummaryNeverRight));
    const auto [narrowest, widest] = std::minmax_element(oneTab.begin(), oneTab.end());
    for (int distance = 8; distance <= 200; ++distance) {
        const int column = *widest / distance + 1;
        if (*narrowest / distance + 1 == column && twoTabs / distance + 2 == column) {
            return distance;
        }
    }
    return 80;
}

class StatisticsWindow : public ui::Dialog<std::monostate> {
public:
    explicit StatisticsWindow(App& app)
        : Dialog(app.ui,
                 ui::DialogShape(StatisticsWindowId, app.texts.text(MessageText::StatisticsTitle),
                                 {600, 400}, {216, 0})
                     .answeredBy(OkButton)),
          app_(app) {
        build();
        startQuotaChoice(window(), QuotaChoice);
        sortByCode(app_.learner.profile());
        fill();
    }

private:
    std::monostate accepted() override { return {}; }
    void handle(const ui::Event& event) override { handleControl(event.control); }

    void build() {
        const TextTables& t = app_.texts;
        ui::Window& w = window();
        // "Teilweise" is the widest caption; the counts beside it need less.
        list_ = w.addTableList(
            KanjiList, nullptr, {5, 10, 220, 380},
            quotaColumns<StatisticsText>(t, {40, 34, 52, 34, 40}, app_.resources.listKanjiFont),
            ui::TableListOptions{false, false});

        w.addLabel(GeneralLabel, nullptr, {230, 10, 350, 20}, t.text(StatisticsText::General),
                   Qt::AlignHCenter, true);
        QPlainTextEdit* summary =
            w.addEditor(SummaryEditor, nullptr, {230, 30, 350, 260}, QString(), true);
        summary->setTabStopDistance(bandTabDistance(summary->fontMetrics(), app_.texts));

        w.addLabel(SelectionLabel, nullptr, {230, 300, 120, 20}, t.text(StatisticsText::Selection),
                   Qt::AlignHCenter, true);
        addKindBoxes<StatisticsText>(w, QuotaChoice, t, QPoint(230, 320), 120);
        addOrderOptions<StatisticsText>(w, QuotaChoice, t, QPoint(360, 300));

        // Right of the last order option's text, which it would otherwise cover.
        w.addButton(ForecastButton, nullptr, {482, 370, 54, 20},
                    t.text(MessageText::ForecastTitle));
        QPushButton* ok =
            w.addButton(OkButton, nullptr, {540, 370, 50, 20}, t.text(StatisticsText::Ok));
        // Escape closes the window as "OK" does; Enter stays with the list and the boxes.
        ui::answerWithKeys(w.top(), nullptr, ok);
    }

    void handleControl(int control) {
        switch (control) {
            case KanjiList:
                showSelectedKanji();
                break;
            case ForecastButton:
                openForecast(app_);
                break;
            case OnBox:
            case KunBox:
            case MeaningBox:
            case SortByKanjiOption:
            case SortByRightOption:
            case SortByWrongOption:
            case SortByQuotaOption:
                fill();
                break;
            default:
                break;
        }
    }

    void fill() {
        const std::vector<QuotaRow> quotaRowsInOrder =
            showQuotaRows(app_, window(), QuotaChoice, *list_);
        window()
            .get<QPlainTextEdit>(SummaryEditor)
            ->setPlainText(statisticsSummary(statisticsFigures(quotaRowsInOrder),
                                             chosenKinds(window(), QuotaChoice), app_.texts));
    }

    // The code travels with the row, so kanji beyond the basic plane are found too.
    void showSelectedKanji() {
        const std::vector<int> selected = list_->selectedRows();
        if (selected.empty()) {
            return;
        }
        showKanjiByCode(app_, static_cast<qint32>(list_->rowData(selected.front())));
    }

    App& app_;
    ui::TableList* list_ = nullptr;
};

}  // namespace

void openStatistics(App& app) {
    StatisticsWindow window(app);
    window.run();
    // The training finds records by bisection, which needs the order by code.
    sortByCode(app.learner.profile());
}
