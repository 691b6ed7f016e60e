// The training selection: the learner picks the kanji to train from the profile's records, one
// by one or by quota band.
#include "app/training/selectiondialog.h"

#include "app/state/app.h"
#include "app/state/mainwindowids.h"
#include "app/state/trainingids.h"
#include "app/training/quotatable.h"
#include "core/training/quota.h"
#include "ui/dialog.h"
#include "ui/tablelist.h"

#include <array>
#include <unordered_set>
#include <utility>

namespace {

enum SelectionControl : int {
    KanjiList = 1,
    SortLabel,
    SortByKanjiOption,
    SortByRightOption,
    SortByWrongOption,
    SortByQuotaOption,
    SelectLabel,
    AllButton,
    NoneButton,
    OnlyWrongBox,
    Quota1To49Box,
    Quota50To74Box,
    Quota75To89Box,
    Quota90To99Box,
    ShowLabel,
    OnBox,
    KunBox,
    MeaningBox,
    OkButton,
    CancelButton,
    ProblemButton,
};

// Each box selects the rows of the band its position names.
constexpr std::array BandBoxes{OnlyWrongBox, Quota1To49Box, Quota50To74Box, Quota75To89Box,
                               Quota90To99Box};

const QuotaChoiceControls QuotaChoice{
    OnBox,
    KunBox,
    MeaningBox,
    {SortByKanjiOption, SortByRightOption, SortByWrongOption, SortByQuotaOption}};

enum StatusField : int { TotalField = 0, SelectedField = 1 };

class SelectionDialog : public ui::Dialog<std::vector<qint32>> {
public:
    explicit SelectionDialog(App& app)
        // The close box keeps the selection, whatever the OK button says.
        : Dialog(app.ui,
                 ui::DialogShape(SelectionWindowId, app.texts.text(MessageText::SelectionTitle),
                                 {530, 500}, {216, 0})
                     .answeredBy(OkButton, CancelButton)
                     .closing(ui::CloseBox::Accepts)),
          app_(app),
          problems_(profileProblemKanji(app)) {
        build();
        startQuotaChoice(window(), QuotaChoice);
        showSelectedCount(0);
        refill();
    }

private:
    std::vector<qint32> accepted() override { return selectedCodes(); }
    void handle(const ui::Event& event) override { handleControl(event.control); }

    void build() {
        const TextTables& t = app_.texts;
        ui::Window& w = window();
        list_ = w.addTableList(
            KanjiList, nullptr, {10, 10, 265, 450},
            quotaColumns<SelectionText>(t, {50, 50, 50, 50, 53}, app_.resources.listKanjiFont));

        w.addLabel(SortLabel, nullptr, {280, 10, 170, 20}, t.text(SelectionText::Sort),
                   Qt::AlignHCenter, true);
        addOrderOptions<SelectionText>(w, QuotaChoice, t, QPoint(280, 30));

        w.addLabel(SelectLabel, nullptr, {280, 130, 170, 20}, t.text(SelectionText::Select),
                   Qt::AlignHCenter, true);
        w.addButton(AllButton, nullptr, {280, 160, 50, 20}, t.text(SelectionText::All));
        w.addButton(NoneButton, nullptr, {350, 160, 50, 20}, t.text(SelectionText::None));
        // Beside "Alle" and "Keine", which also set the selection as a whole.
        w.addButton(ProblemButton, nullptr, {420, 160, 100, 20},
                    app_.texts.text(MessageText::ProblemKanji));
        const std::array<SelectionText, BandBoxes.size()> bandCaptions{
            SelectionText::OnlyWrongSoFar, SelectionText::Rate1To49, SelectionText::Rate50To74,
            SelectionText::Rate75To89, SelectionText::Rate90To99};
        for (size_t band = 0; band < BandBoxes.size(); ++band) {
            w.addCheckBox(BandBoxes[band], nullptr,
                          {280, 190 + 20 * static_cast<int>(band), 170, 20},
                          t.text(bandCaptions[band]));
        }

        w.addLabel(ShowLabel, nullptr, {280, 310, 170, 20}, t.text(SelectionText::Show),
                   Qt::AlignHCenter, true);
        addKindBoxes<SelectionText>(w, QuotaChoice, t, QPoint(280, 330), 170);

        w.addButton(OkButton, nullptr, {470, 450, 50, 20}, t.text(SelectionText::Ok));
        w.addButton(CancelButton, nullptr, {400, 450, 50, 20}, t.text(SelectionText::Cancel));
        w.addStatusBar({180, 350});
    }

    void handleControl(int control) {
        for (const int option : QuotaChoice.sortOptions) {
            if (control == option) {
                refill();
                return;
            }
        }
        for (size_t band = 0; band < BandBoxes.size(); ++band) {
            if (control == BandBoxes[band]) {
                list_->setCategorySelected(static_cast<int>(band),
                                           window().isChecked(BandBoxes[band]));
                recount();
                return;
            }
        }
        switch (control) {
            case OnBox:
            case KunBox:
            case MeaningBox:
                refill();
                break;
            case AllButton:
                list_->selectAll();
                recount();
                break;
            case NoneButton:
                list_->clearSelection();
                recount();
                break;
            case ProblemButton:
                list_->clearSelection();
                list_->setRowsSelected(
                    [this](const ui::TableRow& row) {
                        return problems_.contains(static_cast<qint32>(row.data));
                    },
                    true);
                recount();
                break;
            case KanjiList:
                recount();
                break;
            default:
                break;
        }
    }

    // New rows start unselected; the count and the OK button wait for the next recount, and
    // ticked band boxes are not applied again.
    void refill() {
        showQuotaRows(app_, window(), QuotaChoice, *list_);
        window().setStatusText(
            TotalField, app_.texts.text(SelectionText::Total) + QString::number(list_->rowCount()));
    }

    void recount() { showSelectedCount(static_cast<int>(list_->selectedRows().size())); }

    void showSelectedCount(int count) {
        window().setStatusText(SelectedField,
                               app_.texts.text(SelectionText::Selected) + QString::number(count));
        // One kanji alone makes no training.
        window().setEnabled(OkButton, count >= 2);
    }

    std::vector<qint32> selectedCodes() const {
        std::vector<qint32> codes;
        for (int row : list_->selectedRows()) {
            codes.push_back(static_cast<qint32>(list_->rowData(row)));
        }
        return codes;
    }

    App& app_;
    const std::unordered_set<qint32> problems_;
    ui::TableList* list_ = nullptr;
};

}  // namespace

std::optional<std::vector<qint32>> openTrainingSelection(App& app) {
    SelectionDialog dialog(app);
    return dialog.run();
}
