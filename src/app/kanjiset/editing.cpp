// Committing what was typed on the card into the kanji being edited.
#include "app/kanjiset/editing.h"

#include "app/state/app.h"
#include "app/state/cardids.h"
#include "core/kanjiset/integerrule.h"

void commitEdit(App& app) {
    KanjiRecord* record = app.kanjiSet.currentRecord();
    if (record == nullptr || !app.mainWindow) {
        return;
    }
    const ui::Window& w = *app.mainWindow;
    record->Idx1 = readInteger(w.text(IndexField));
    record->Idx2 = readInteger(w.text(JlptField));
    record->OnYomi = w.text(OnEditor);
    record->KunYomi = w.text(KunEditor);
    record->Bemerkung = w.text(NoteEditor);
    const auto* genshi = w.get<ui::ReportList>(GenshiListView);
    const int row = genshi->selectedRow();
    record->GenshiMeaning = row >= 0 ? genshi->cellText(row, 0) : QString();
    for (int i = 0; i < 4; ++i) {
        record->Beispiel[static_cast<size_t>(i)] = w.text(ExampleField1 + i);
    }
    // A kanji entered since the profile was loaded gets its record; one that has a record keeps
    // it, as a second record would split its counts.
    Profile& profile = app.profile;
    if (profile.profileRecordPending) {
        ProfileList& list = app.learner.profile();
        if (!profile.profileName.isEmpty() && record->Unicode != 0 &&
            !findProfileRecord(list, record->Unicode)) {
            addProfileRecord(list, record->Unicode);
        }
        profile.profileRecordPending = false;
    }
}
