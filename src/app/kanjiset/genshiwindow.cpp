// The Genshi window: ticking the components of the kanji being edited.
#include "app/kanjiset/genshiwindow.h"

#include "app/kanjiset/cardview.h"
#include "app/state/app.h"
#include "app/state/mainwindowids.h"
#include "core/kanjiset/genshilist.h"
#include "ui/dialog.h"

#include <set>

namespace {

enum GenshiControl : int { GenshiChecklist = 1, GenshiOkButton };

// The components and examples in the Genshi font, large enough to tell their strokes apart; the
// German words in the interface font, narrow enough for the longest short name to fit.
std::vector<ui::ReportColumn> columns(const App& app) {
    const TextTables& t = app.texts;
    const QFont& genshi = app.resources.genshiFont;
    return {{t.text(MessageText::GenshiNrColumn), 80},
            {t.text(MessageText::GenshiColumn), 70, genshi},
            {t.text(MessageText::GenshiExtraColumn), 55, genshi},
            {t.text(MessageText::GenshiMeaningColumn), 240},
            {t.text(MessageText::GenshiCountColumn), 45},
            {t.text(MessageText::GenshiShortColumn), 75},
            {t.text(MessageText::GenshiExamplesColumn), 90, genshi}};
}

// Answers with the rows ticked, top to bottom.
class GenshiWindow : public ui::Dialog<std::vector<qint32>> {
public:
    explicit GenshiWindow(App& app)
        : Dialog(app.ui,
                 ui::DialogShape(GenshiWindowId, app.texts.text(MessageText::GenshiWindowTitle),
                                 {700, 620}, {216, 0})
                     .answeredBy(GenshiOkButton)
                     .closing(ui::CloseBox::Accepts)
                     .framed(ui::Frame::FixedPlain)) {
        ui::Window& w = window();
        list_ = w.addReportList(GenshiChecklist, nullptr, {10, 10, 680, 580}, columns(app),
                                ui::ReportListOptions{true});
        w.addButton(GenshiOkButton, nullptr, {310, 595, 60, 20},
                    app.texts.text(MessageText::GenshiOk));
        for (const GenshiEntry& entry : app.genshiList) {
            list_->addRow({QString::number(entry.Nr), entry.Genshi, entry.Zusatz, entry.Bedeutung,
                           QString::number(entry.Anz), entry.Kurz, entry.Beispiele});
        }
    }

    ui::ReportList& list() { return *list_; }

private:
    std::vector<qint32> accepted() override {
        std::vector<qint32> rows;
        for (int row = 0; row < list_->rowCount(); ++row) {
            if (list_->isRowChecked(row)) {
                rows.push_back(row);
            }
        }
        return rows;
    }

    ui::ReportList* list_ = nullptr;
};

}  // namespace

void openGenshiWindow(App& app) {
    KanjiRecord* record = app.kanjiSet.currentRecord();
    if (record == nullptr) {
        return;
    }
    GenshiWindow window(app);
    ui::ReportList* list = &window.list();
    // Positions the list does not hold (it may be missing or an older, shorter one) cannot be
    // ticked here, but they are the kanji's all the same and are kept.
    std::set<qint32> positions;
    for (qint32 position : genshiPositions(record->Genshi)) {
        if (position >= 0 && position < list->rowCount()) {
            list->setRowChecked(position, true);
        } else {
            positions.insert(position);
        }
    }
    const std::optional<std::vector<qint32>> ticked = window.run();
    if (!ticked) {
        return;
    }
    positions.insert(ticked->begin(), ticked->end());
    QString genshi;
    for (qint32 position : positions) {
        genshi += QString::number(position) + QLatin1Char(',');
    }
    record->Genshi = genshi;
    showGenshiRows(app);
}
