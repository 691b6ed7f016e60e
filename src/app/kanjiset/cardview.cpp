// The card of the current kanji, moving through the set, the stroke-order animation and the grid.
#include "app/kanjiset/cardview.h"

#include "app/kanjiset/examplesound.h"
#include "app/kanjiset/shadowing.h"
#include "app/state/app.h"
#include "app/state/cardids.h"
#include "app/state/listsids.h"
#include "app/state/pictures.h"
#include "app/training/profilecounters.h"
#include "core/kanjiset/genshilist.h"
#include "core/kanjiset/kanjisetops.h"
#include "ui/images.h"
#include "ui/window.h"

#include <QLineEdit>

namespace {

constexpr int FrameSize = StrokeFrameSize;

// An example is read from its start: a long one shows its beginning, not its end as a field
// does after its text is set, and the whole text is the field's tooltip.
void showExample(ui::Window& w, int field, const QString& text) {
    auto* line = w.get<QLineEdit>(field);
    if (line->text() != text) {
        w.setText(field, text);
        line->setCursorPosition(0);
    }
    w.setToolTip(field, text);
}

// The current kanji when it has a stroke-order strip to animate; otherwise the animation rests.
KanjiRecord* animatedRecord(App& app) {
    KanjiRecord* record = app.kanjiSet.currentRecord();
    if (record == nullptr || !hasStrokeOrder(app, *record)) {
        app.animation.animKanji = 0;
        app.animation.animState = AnimState::Idle;
        return nullptr;
    }
    return record;
}

// The record's stroke-order strip, kept from its first use; null when there is none.
const QImage* loadStrokeImage(App& app, const KanjiRecord& record) {
    const QString source = strokeStripSource(app, record);
    if (const QImage* kept = app.pictures.strip(record.Unicode, source)) {
        return kept;
    }
    QImage strip = strokeStripOf(app, record);
    if (strip.isNull()) {
        return nullptr;
    }
    app.pictures.keepStrip(record.Unicode, {source, std::move(strip)});
    return app.pictures.strip(record.Unicode, source);
}

void showFrame(App& app, const QImage& strip, int frame) {
    QImage display(FrameSize, FrameSize, QImage::Format_ARGB32_Premultiplied);
    display.fill(Qt::white);
    ui::copyRect(strip, QRect(frame * FrameSize, 0, FrameSize, FrameSize), display, QPoint(0, 0));
    app.animation.animDisplay = display;
    app.mainWindow->setImage(StrokeView, display);
}

int lastFrameIndex(const QImage& strip) {
    return strip.width() / FrameSize - 1;
}

// The card keeps the pictures of the kanji it shows and drops those of the kanji it showed
// before: stepping through a large set would otherwise pile up hundreds of megabytes of them,
// while drawing one again takes a millisecond.
void dropPicturesLeftBehind(App& app, qint32 shownNow) {
    const qint32 left = app.cardPictures.code;
    if (left != 0 && left != shownNow) {
        app.pictures.drop(left);
    }
}

void setAnimButtonsEnabled(ui::Window& w, bool enabled) {
    w.setEnabled(AnimPlayButton, enabled);
    w.setEnabled(AnimPauseButton, enabled);
    w.setEnabled(AnimStopButton, enabled);
}

void showStrokeOrder(App& app, const KanjiRecord& record) {
    ui::Window& w = *app.mainWindow;
    if (record.Unicode != 0) {
        animationFirstFrame(app);
    } else {
        // Another kanji's frame must not stay in view.
        w.setImage(StrokeView, QImage());
    }
    if (hasStrokeOrder(app, record)) {
        loadStrokeImage(app, record);
        setAnimButtonsEnabled(w, true);
    } else {
        w.setImage(StrokeView, QImage());
        setAnimButtonsEnabled(w, false);
    }
    animationTick(app);
}

}  // namespace

bool hasStrokeOrder(App& app, const KanjiRecord& record) {
    return !record.Anim.isEmpty() || (!app.animation.drawnStripWaits &&
                                      app.handwriting.referenceStrokes(record.Unicode) != nullptr);
}

QString strokeStripFolder(const App& app) {
    return app.paths.mediaDir + app.setName + QStringLiteral("/Anim/");
}

QString strokeStripPath(const App& app, const KanjiRecord& record) {
    return strokeStripFolder(app) + record.Anim;
}

QString strokeStripSource(const App& app, const KanjiRecord& record) {
    return record.Anim.isEmpty() ? QString() : strokeStripPath(app, record);
}

QImage strokeStripOf(App& app, const KanjiRecord& record) {
    if (const QImage* kept = app.pictures.strip(record.Unicode, strokeStripSource(app, record))) {
        return *kept;
    }
    if (record.Anim.isEmpty()) {
        return stripImageOf(app.handwriting.referenceStrokes(record.Unicode));
    }
    return ui::loadPng(strokeStripPath(app, record)).value_or(QImage());
}

void showGenshiRows(App& app) {
    const KanjiRecord* current = app.kanjiSet.currentRecord();
    if (current == nullptr || !app.mainWindow) {
        return;
    }
    const KanjiRecord& record = *current;
    auto* list = app.mainWindow->get<ui::ReportList>(GenshiListView);
    list->clearRows();
    for (qint32 position : genshiPositions(record.Genshi)) {
        // A position outside the list names nothing we could show.
        if (const GenshiEntry* entry = genshiEntryAt(app.genshiList, position)) {
            list->addRow({entry->Genshi + QStringLiteral("  -  ") + entry->Bedeutung});
        }
    }
}

int showKanji(App& app, int index) {
    app.animation.animState = AnimState::Idle;
    KanjiSet& set = app.kanjiSet;
    if (set.empty()) {
        clearCard(app);
        return set.current;
    }
    if (index >= 0 && index < set.size()) {
        set.current = index;
    } else if (set.current < 0) {
        set.current = 0;
    }
    KanjiRecord& record = set.records[static_cast<size_t>(set.current)];
    dropPicturesLeftBehind(app, record.Unicode);
    app.cardPictures = {set.current, record.Unicode};
    ui::Window& w = *app.mainWindow;

    w.setText(IndexField, QString::number(record.Idx1));
    w.setText(JlptField, QString::number(record.Idx2));
    if (record.Unicode != 0) {
        w.setImage(KanjiView, app.pictures.kanji(record.Unicode, app.resources.kanjiFont));
        w.setText(UnicodeField, QString::number(record.Unicode));
    } else {
        w.setImage(KanjiView, QImage());
        w.setText(UnicodeField, QString());
    }
    showStrokeOrder(app, record);

    w.setText(OnEditor, record.OnYomi);
    w.setText(KunEditor, record.KunYomi);
    w.setText(NoteEditor, record.Bemerkung);
    showGenshiRows(app);
    for (int i = 0; i < 4; ++i) {
        showExample(w, ExampleField1 + i, record.Beispiel[static_cast<size_t>(i)]);
    }
    enableSoundButtons(app);
    shadowingFollowsCard(app);

    w.setSpinValue(NumberSpin, set.current + 1);
    w.setStatusText(1, app.texts.text(MainText::CurrentKanji) + QString::number(set.current + 1));
    showProfileCounters(app);
    return set.current;
}

int stepKanji(App& app, int n) {
    const int from = app.kanjiSet.current >= 0 ? app.kanjiSet.current : 0;
    return showKanji(app, stepFrom(app.kanjiSet, from, n));
}

bool findKanjiByCode(App& app, qint32 code) {
    const int found = findByCode(app.kanjiSet, code);
    if (found < 0 || app.kanjiSet.records[static_cast<size_t>(found)].Unicode != code) {
        return false;
    }
    app.kanjiSet.current = found;
    return true;
}

void showKanjiByCode(App& app, qint32 code) {
    if (findKanjiByCode(app, code)) {
        showKanji(app, app.kanjiSet.current);
    } else if (app.mainWindow) {
        // Another kanji in its place would read as the one asked for.
        app.mainWindow->setStatusText(
            2, app.texts.text(MessageText::KanjiNotInSet).arg(kanjiText(code)));
    }
}

void showStripThatWaited(App& app) {
    if (!app.animation.drawnStripWaits) {
        return;
    }
    app.animation.drawnStripWaits = false;
    const KanjiRecord* record = app.kanjiSet.currentRecord();
    if (record != nullptr && record->Anim.isEmpty() && app.mainWindow) {
        showStrokeOrder(app, *record);
    }
}

void clearCard(App& app) {
    app.cardPictures = {};
    app.animation.animState = AnimState::Idle;
    app.animation.animKanji = 0;
    if (!app.mainWindow) {
        return;
    }
    ui::Window& w = *app.mainWindow;
    for (int field : {IndexField, JlptField, UnicodeField, OnEditor, KunEditor, NoteEditor}) {
        w.setText(field, QString());
    }
    for (int field : {ExampleField1, ExampleField2, ExampleField3, ExampleField4}) {
        showExample(w, field, QString());
    }
    w.setImage(KanjiView, QImage());
    w.setImage(StrokeView, QImage());
    setAnimButtonsEnabled(w, false);
    for (int i = 0; i < 4; ++i) {
        w.setEnabled(SoundButton1 + i, false);
    }
    shadowingFollowsCard(app);
    w.get<ui::ReportList>(GenshiListView)->clearRows();
    w.setSpinValue(NumberSpin, 0);
    w.setStatusText(1, app.texts.text(MainText::CurrentKanji) + QString::number(0));
}

void animationFirstFrame(App& app) {
    KanjiRecord* record = animatedRecord(app);
    if (record == nullptr) {
        return;
    }
    if (const QImage* strip = loadStrokeImage(app, *record)) {
        showFrame(app, *strip, 0);
    } else {
        app.mainWindow->setImage(StrokeView, QImage());
    }
    if (app.animation.animState == AnimState::Stopping) {
        app.animation.animFrame = 0;
        app.animation.animState = AnimState::Idle;
    }
}

void animationTick(App& app) {
    KanjiRecord* record = animatedRecord(app);
    if (record == nullptr) {
        return;
    }
    Animation& anim = app.animation;
    const qint64 now = app.ui.ticks();
    if (!(now - anim.animLastTick > anim.animFrameDelay || anim.animState == AnimState::Stopping)) {
        return;
    }
    anim.animLastTick = now;
    if (anim.animKanji != record->Unicode) {
        anim.animFrame = 0;
        anim.animKanji = record->Unicode;
    }
    const QImage* strip = loadStrokeImage(app, *record);
    if (strip != nullptr &&
        (anim.animState == AnimState::Stopping || anim.animState == AnimState::Playing)) {
        if (anim.animState == AnimState::Stopping) {
            anim.animFrame = 0;
        }
        anim.animFrame = anim.animFrame >= lastFrameIndex(*strip) ? 0 : anim.animFrame + 1;
        showFrame(app, *strip, anim.animFrame);
    }
    if (anim.animState == AnimState::Stopping) {
        anim.animFrame = 0;
        anim.animState = AnimState::Idle;
    }
}

void fillGrid(App& app) {
    if (!app.mainWindow) {
        return;
    }
    auto* grid = app.mainWindow->get<ui::ImageGrid>(GridCells);
    const int count = app.kanjiSet.size();
    // One row more than the full rows, also when the last row is full.
    grid->setRowCount(count / grid->columns() + 1);
    std::vector<bool> hidden(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        hidden[static_cast<size_t>(i)] = app.kanjiSet.records[static_cast<size_t>(i)].Unicode == 0;
    }
    // Rendering every kanji of a large set up front would cost seconds and hundreds of
    // megabytes; cells are drawn as they scroll into view, from the card's picture if the
    // kanji already has one.
    grid->setCells(count, std::move(hidden), [&app](int cell) {
        if (cell < 0 || cell >= app.kanjiSet.size()) {
            return QImage();
        }
        const qint32 code = app.kanjiSet.records[static_cast<size_t>(cell)].Unicode;
        if (const QImage* drawn = app.pictures.drawnKanji(code)) {
            return *drawn;
        }
        return renderKanjiImage(QImage(), code, app.resources.kanjiFont);
    });
}
