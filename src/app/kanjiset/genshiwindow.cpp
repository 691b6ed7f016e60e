// The Genshi window: ticking the components of the kanji being edited.
#include "app/kanjiset/genshiwindow.h"

#include "app/shell/app.h"
#include "app/shell/cardview.h"
#include "app/shell/mainids.h"
#include "core/kanjiset/genshilist.h"
#include "ui/modal.h"

#include <set>

namespace {

enum GenshiControl : int { GenshiChecklist = 1, GenshiOkButton };

std::vector<ui::ReportColumn> columns(const TextTables& t) {
    return {{t.text(MessageText::GenshiNrColumn), 80},
            {t.text(MessageText::GenshiColumn), 70},
            {t.text(MessageText::GenshiExtraColumn), 55},
            {t.text(MessageText::GenshiMeaningColumn), 275},
            {t.text(MessageText::GenshiCountColumn), 45},
            {t.text(MessageText::GenshiShortColumn), 40},
            {t.text(MessageText::GenshiExamplesColumn), 90}};
}

}  // namespace

void openGenshiWindow(App& app) {
    KanjiRecord* record = app.kanjiSet.currentRecord();
    if (record == nullptr) {
        return;
    }
    ui::Window window(app.ui, GenshiWindowId, app.texts.text(MessageText::GenshiWindowTitle),
                      QSize(700, 620), ui::WindowOptions{false, false, true});
    window.moveTo(QPoint(216, 0));
    ui::ReportList* list = window.addReportList(GenshiChecklist, nullptr, {10, 10, 680, 580},
                                                columns(app.texts), ui::ReportListOptions{true});
    list->setFont(app.resources.genshiFont);
    window.addButton(GenshiOkButton, nullptr, {310, 595, 60, 20},
                     app.texts.text(MessageText::GenshiOk));
    for (const GenshiEntry& entry : app.genshiList) {
        list->addRow({QString::number(entry.Nr), entry.Genshi, entry.Zusatz, entry.Bedeutung,
                      QString::number(entry.Anz), entry.Kurz, entry.Beispiele});
    }
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
    ui::runModal(app.ui, window, [](const ui::Event& event) {
        const bool ends = event.kind == ui::EventKind::Close ||
                          (event.kind == ui::EventKind::Control && event.control == GenshiOkButton);
        return ends ? ui::ModalStep::Close : ui::ModalStep::Continue;
    });
    for (int row = 0; row < list->rowCount(); ++row) {
        if (list->isRowChecked(row)) {
            positions.insert(row);
        }
    }
    QString genshi;
    for (qint32 position : positions) {
        genshi += QString::number(position) + QLatin1Char(',');
    }
    record->Genshi = genshi;
    showGenshiRows(app);
}
