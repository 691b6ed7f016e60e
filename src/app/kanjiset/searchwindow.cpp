// "Suchen": finding kanji of the set by what the learner types, picks or draws.
#include "app/kanjiset/searchwindow.h"

#include "app/kanjiset/cardview.h"
#include "app/kanjiset/sketchpad.h"
#include "app/kanjiset/viewmode.h"
#include "app/state/app.h"
#include "app/state/mainwindowids.h"
#include "app/training/handwriting.h"
#include "core/kanjiset/genshilist.h"
#include "ui/tablelist.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QSpinBox>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

enum SearchControl : int {
    SearchField = 1,
    ResultList,
    RadicalLabel,
    RadicalChoice,
    StrokesLabel,
    StrokesSpin,
    DrawingLabel,
    DrawingPad,
    ClearDrawingButton,
    FoundLabel,
};

enum ResultColumn : int { KanjiColumn, ReadingsColumn, MeaningColumn, JlptColumn, PositionColumn };

constexpr QSize ClientSize{640, 430};
constexpr int PadSize = 120;
constexpr int MostStrokes = 40;
// zinnia's best guesses looked at; only those in the set are offered.
constexpr int DrawingCandidates = 30;

QString readingsOf(const KanjiRecord& record) {
    if (record.OnYomi.isEmpty() || record.KunYomi.isEmpty()) {
        return record.OnYomi + record.KunYomi;
    }
    return record.OnYomi + QStringLiteral("  ") + record.KunYomi;
}

StrokeList withoutDots(const StrokeList& strokes) {
    StrokeList drawn;
    std::copy_if(strokes.begin(), strokes.end(), std::back_inserter(drawn),
                 [](const Stroke& stroke) { return stroke.size() >= 2; });
    return drawn;
}

}  // namespace

SearchWindow::SearchWindow(App& app)
    : app_(app),
      window_(app.ui, SearchWindowId, app.texts.text(MessageText::Search), ClientSize,
              ui::WindowOptions{.resizable = false}) {
    // A tool window: it stays above the main window, and the card stays usable beside it.
    window_.top()->setWindowFlag(Qt::Tool);
    build();
}

void SearchWindow::build() {
    const TextTables& t = app_.texts;
    QLineEdit* field = window_.addTextField(SearchField, nullptr, {10, 10, 460, 30});
    field->setFont(app_.resources.kanaFont);
    field->setClearButtonEnabled(true);
    field->setAccessibleName(t.text(MessageText::Search));
    // Enter takes the kanji the list points at, as it does in the list itself.
    const ui::EventTarget fieldEvents{&app_.ui, SearchWindowId, SearchField};
    QObject::connect(field, &QLineEdit::returnPressed, field,
                     [fieldEvents] { fieldEvents.post(ui::Action::LeftDoubleClick); });

    QFont large = app_.resources.listKanjiFont;
    large.setPixelSize(36);
    ui::TableList* list = window_.addTableList(
        ResultList, nullptr, {10, 50, 460, 345},
        {{t.text(MessageText::KanjiColumn), 56, large},
         {t.text(MessageText::SearchReadingsColumn), 150, app_.resources.kanaFont},
         {t.text(MessageText::SearchMeaningColumn), 140},
         {t.text(MessageText::SearchJlptColumn), 40},
         {t.text(MessageText::SearchPositionColumn), 50}},
        ui::TableListOptions{false, false});
    list->setAccessibleName(t.text(MessageText::Search));
    // A font's files and its fallbacks are opened when a text in it is first laid out: done now,
    // the first letter typed does not wait for it.
    for (const QFont& font : {large, app_.resources.kanaFont, list->font()}) {
        QFontMetrics(font).boundingRect(u"日本語 にほんご ニホンゴ Aä"_s);
    }
    // Enter and a double click both activate a row.
    const ui::EventTarget listEvents{&app_.ui, SearchWindowId, ResultList};
    QObject::connect(list, &QAbstractItemView::activated, list, [listEvents](const QModelIndex& i) {
        listEvents.post(ui::Action::LeftDoubleClick, i.row());
    });
    window_.addLabel(FoundLabel, nullptr, {10, 400, 460, 22}, QString());

    window_.addLabel(RadicalLabel, nullptr, {485, 10, 145, 20}, t.text(MessageText::SearchRadical));
    window_.addChoice(RadicalChoice, nullptr, {485, 30, 145, 28}, {t.text(MessageText::SearchAny)})
        ->setFont(app_.resources.kanaFont);
    window_.addLabel(StrokesLabel, nullptr, {485, 68, 145, 20}, t.text(MessageText::SearchStrokes));
    QSpinBox* strokes = window_.addSpin(StrokesSpin, nullptr, {485, 88, 80, 26}, 0, MostStrokes);
    strokes->setSpecialValueText(t.text(MessageText::SearchAny));

    window_.addLabel(DrawingLabel, nullptr, {485, 130, 145, 20},
                     t.text(MessageText::SearchDrawing));
    pad_ = new SketchPad(nullptr, ui::EventTarget{&app_.ui, SearchWindowId, DrawingPad});
    pad_->setAccessibleName(t.text(MessageText::SearchDrawing));
    pad_->setParent(window_.client());
    pad_->setGeometry(485, 150, PadSize, PadSize);
    window_.addButton(ClearDrawingButton, nullptr, {485, 278, 120, 26},
                      t.text(MessageText::SearchClearDrawing));
}

const KanjiSearchIndex& SearchWindow::index() {
    if (!index_ || !index_->isCurrentFor(app_.kanjiSet)) {
        index_.emplace(app_.kanjiSet, [this](qint32 code) {
            const StrokeList* strokes = app_.handwriting.referenceStrokes(code);
            return strokes != nullptr ? static_cast<int>(strokes->size()) : 0;
        });
        fillRadicals();
    }
    return *index_;
}

void SearchWindow::fillRadicals() {
    auto* choice = window_.get<QComboBox>(RadicalChoice);
    const qint32 chosen =
        window_.choice(RadicalChoice) > 0
            ? radicalChoices_[static_cast<size_t>(window_.choice(RadicalChoice) - 1)]
            : -1;
    const QSignalBlocker quiet(choice);
    while (choice->count() > 1) {
        choice->removeItem(1);
    }
    radicalChoices_ = index_->radicals();
    int again = 0;
    for (size_t i = 0; i < radicalChoices_.size(); ++i) {
        const qint32 radical = radicalChoices_[i];
        const GenshiEntry* entry = genshiEntryAt(app_.genshiList, radical);
        choice->addItem(entry != nullptr ? entry->Genshi + QStringLiteral("  ") + entry->Bedeutung
                                         : QString::number(radical + 1));
        if (radical == chosen) {
            again = static_cast<int>(i) + 1;
        }
    }
    choice->setCurrentIndex(again);
    choice->setEnabled(!radicalChoices_.empty());
}

void SearchWindow::open() {
    // The set may have changed while the window was hidden.
    searchAgain();
    window_.show();
    window_.top()->raise();
    window_.top()->activateWindow();
    auto* field = window_.get<QLineEdit>(SearchField);
    field->setFocus();
    field->selectAll();
}

void SearchWindow::search() {
    const KanjiSearchIndex& found = index();
    const int radicalChoice = window_.choice(RadicalChoice);
    KanjiSearchQuery query;
    query.text = window_.text(SearchField);
    query.radical =
        radicalChoice > 0 ? radicalChoices_[static_cast<size_t>(radicalChoice - 1)] : -1;
    query.strokes = window_.spinValue(StrokesSpin);
    showResults(found.search(query));
}

// What zinnia reads in the drawing, best first, as far as the set holds it.
void SearchWindow::readDrawing() {
    const StrokeList drawn = withoutDots(pad_->strokes());
    const KanjiRecognizer* recognizer = drawn.empty() ? nullptr : app_.handwriting.recognizer();
    if (recognizer == nullptr) {
        showResults({});
        return;
    }
    const KanjiSearchIndex& found = index();
    std::vector<int> positions;
    for (const char32_t candidate :
         recognizer->candidates(drawn, PadSize, PadSize, DrawingCandidates)) {
        for (const int position : found.positionsOf(static_cast<qint32>(candidate))) {
            positions.push_back(position);
        }
    }
    showResults(std::move(positions));
}

void SearchWindow::showResults(std::vector<int> positions) {
    found_ = std::move(positions);
    // The rows are read as they come into view: a one-letter search may find thousands.
    ui::TableCells cells;
    cells.rowCount = static_cast<int>(found_.size());
    cells.text = [this](int row, int column) -> QString {
        const size_t at = static_cast<size_t>(found_[static_cast<size_t>(row)]);
        if (at >= app_.kanjiSet.records.size()) {
            return {};
        }
        const KanjiRecord& record = app_.kanjiSet.records[at];
        switch (column) {
            case KanjiColumn:
                return kanjiText(record.Unicode);
            case ReadingsColumn:
                return readingsOf(record);
            case MeaningColumn:
                return record.Bemerkung;
            case JlptColumn:
                return record.Idx2 > 0 ? QString::number(record.Idx2) : QString();
            case PositionColumn:
                return QString::number(record.Idx1);
            default:
                return {};
        }
    };
    auto* list = window_.get<ui::TableList>(ResultList);
    list->setCells(std::move(cells));
    if (!found_.empty()) {
        list->setCurrentIndex(list->model()->index(0, 0));
    }
    window_.setText(FoundLabel, app_.texts.text(MessageText::SearchFound).arg(found_.size()));
}

void SearchWindow::showChosen(int row) {
    if (row < 0 || static_cast<size_t>(row) >= found_.size()) {
        return;
    }
    const int position = found_[static_cast<size_t>(row)];
    if (position >= app_.kanjiSet.size()) {
        return;
    }
    const qint32 code = app_.kanjiSet.records[static_cast<size_t>(position)].Unicode;
    showPage(app_, ViewMode::Overview);
    setViewMode(app_, ViewMode::Overview);
    // Leaving editing commits the card and may sort the set anew: the kanji is found by its
    // code then.
    if (position < app_.kanjiSet.size() &&
        app_.kanjiSet.records[static_cast<size_t>(position)].Unicode == code) {
        showKanji(app_, position);
    } else {
        showKanjiByCode(app_, code);
    }
}

void SearchWindow::handle(const ui::Event& event) {
    if (event.kind == ui::EventKind::Close) {
        window_.top()->hide();
        return;
    }
    if (event.kind != ui::EventKind::Control) {
        return;
    }
    switch (event.control) {
        case SearchField:
            if (event.action == ui::Action::LeftDoubleClick) {
                const int current = window_.get<ui::TableList>(ResultList)->currentIndex().row();
                showChosen(current >= 0 ? current : 0);
                break;
            }
            pad_->clear();
            search();
            break;
        case RadicalChoice:
        case StrokesSpin:
            pad_->clear();
            search();
            break;
        case DrawingPad:
            readDrawing();
            break;
        case ClearDrawingButton:
            pad_->clear();
            search();
            break;
        case ResultList:
            if (event.action == ui::Action::LeftDoubleClick) {
                showChosen(event.item);
            }
            break;
        default:
            break;
    }
}

void SearchWindow::followSet() {
    if (window_.top()->isVisible() && !(index_ && index_->isCurrentFor(app_.kanjiSet))) {
        searchAgain();
    }
}

void SearchWindow::searchAgain() {
    if (!pad_->strokes().empty()) {
        readDrawing();
    } else {
        search();
    }
}

void openSearch(App& app) {
    if (!app.searchWindow) {
        app.searchWindow = std::make_shared<SearchWindow>(app);
    }
    app.searchWindow->open();
}

void handleSearchEvent(App& app, const ui::Event& event) {
    if (app.searchWindow) {
        app.searchWindow->handle(event);
    }
}

void followSetInSearch(App& app) {
    if (app.searchWindow) {
        app.searchWindow->followSet();
    }
}
