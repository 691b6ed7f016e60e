// The export of a set: the dialog that chooses the kanji and their fields, and the CSV file.
#include "app/kanjiset/exportdialog.h"

#include "app/kanjiset/cardspdf.h"
#include "app/state/app.h"
#include "app/state/mainwindowids.h"
#include "base/files.h"

#include <QFileInfo>

#include <algorithm>
#include <array>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// In creation order, which is also the tab order.
enum ExportControl : int {
    OkButton = 1,
    AllOption,
    RangeOption,
    FirstSpin,
    LastSpin,
    FromLabel,
    ToLabel,
    KanjiBox,
    SelectionHeading,
    FieldsHeading,
    UnicodeBox,
    OnBox,
    KunBox,
    OnMeaningBox,
    KunMeaningBox,
    HiraganaBox,
    RomajiBox,
    WritingBox,
    MnemonicBox,
    GenshiBox,
    CancelButton,
    GenshiColumnsOption,
    GenshiOneColumnOption,
    TwoSidedBox,
};

constexpr std::array KunBoxes{std::pair{WritingBox, KunKanjiWriting},
                              std::pair{HiraganaBox, KunHiragana}, std::pair{RomajiBox, KunRomaji},
                              std::pair{KunMeaningBox, KunMeaning}};

QString variantName(const App& app, bool asPdf) {
    return app.texts.text(asPdf ? MainText::Pdf : MainText::Csv);
}

// The file's extension, which a catalog does not translate.
const QString CsvExtension = QStringLiteral("csv");

}  // namespace

ExportDialog::ExportDialog(App& app, bool asPdf)
    : Dialog(app.ui,
             ui::DialogShape(ExportWindowId,
                             app.texts.text(MainText::Export) + u' ' + variantName(app, asPdf),
                             {220, 500}, {238, 103})
                 .answeredBy(OkButton, CancelButton)),
      app_(app),
      asPdf_(asPdf) {
    build();
    applyRules();
}

void ExportDialog::build() {
    const TextTables& t = app_.texts;
    ui::Window& w = window();
    // The spins need a range of at least one position, even for an empty set.
    const int count = std::max(app_.kanjiSet.size(), 1);

    w.addButton(OkButton, nullptr, {160, 470, 50, 20}, t.text(ExportText::Ok));
    w.addOption(AllOption, nullptr, {20, 30, 130, 20}, t.text(ExportText::All));
    w.addOption(RangeOption, nullptr, {20, 50, 130, 20}, t.text(ExportText::Range));
    w.addSpin(FirstSpin, nullptr, {60, 80, 50, 20}, 1, count);
    w.addSpin(LastSpin, nullptr, {150, 80, 50, 20}, 1, count);
    w.addLabel(FromLabel, nullptr, {20, 80, 30, 20}, t.text(ExportText::From));
    w.addLabel(ToLabel, nullptr, {120, 80, 30, 20}, t.text(ExportText::To));
    w.addCheckBox(KanjiBox, nullptr, {20, 140, 180, 20}, t.text(ExportText::Kanji));
    w.addLabel(SelectionHeading, nullptr, {20, 10, 180, 20}, t.text(ExportText::Selection),
               Qt::AlignHCenter, true);
    w.addLabel(FieldsHeading, nullptr, {20, 120, 180, 20}, t.text(ExportText::Fields),
               Qt::AlignHCenter, true);
    w.addCheckBox(UnicodeBox, nullptr, {20, 160, 180, 20}, t.text(ExportText::KanjiUnicode));
    w.addCheckBox(OnBox, nullptr, {20, 180, 180, 20}, t.text(ExportText::OnYomi));
    w.addCheckBox(KunBox, nullptr, {20, 230, 180, 20}, t.text(ExportText::KunYomi));
    w.addCheckBox(OnMeaningBox, nullptr, {30, 200, 170, 20}, t.text(ExportText::OnYomiWithMeaning));
    w.addCheckBox(KunMeaningBox, nullptr, {30, 310, 170, 20},
                  t.text(ExportText::KunYomiWithMeaning));
    w.addCheckBox(HiraganaBox, nullptr, {30, 270, 170, 20}, t.text(ExportText::WithHiragana));
    w.addCheckBox(RomajiBox, nullptr, {30, 290, 170, 20}, t.text(ExportText::WithRomaji));
    w.addCheckBox(WritingBox, nullptr, {30, 250, 170, 20}, t.text(ExportText::WithKanjiSpelling));
    w.addCheckBox(MnemonicBox, nullptr, {20, 340, 180, 20}, t.text(ExportText::Mnemonic));
    w.addCheckBox(GenshiBox, nullptr, {20, 360, 180, 20}, t.text(ExportText::Genshi));
    w.addButton(CancelButton, nullptr, {100, 470, 50, 20}, t.text(ExportText::Cancel));
    w.addOption(GenshiColumnsOption, nullptr, {30, 380, 170, 20},
                t.text(ExportText::OneColumnEach));
    w.addOption(GenshiOneColumnOption, nullptr, {30, 400, 170, 20},
                t.text(ExportText::InOneColumn));

    w.setChecked(AllOption, true);
    w.setSpinValue(FirstSpin, 1);
    w.setSpinValue(LastSpin, count);
    for (const int box : {KanjiBox, OnBox, KunBox, OnMeaningBox, KunMeaningBox, HiraganaBox,
                          RomajiBox, WritingBox}) {
        w.setChecked(box, true);
    }
    w.setChecked(GenshiOneColumnOption, true);
    if (asPdf_) {
        w.addCheckBox(TwoSidedBox, nullptr, {10, 430, 205, 20}, t.text(MessageText::TwoSidedCards));
        w.setChecked(TwoSidedBox, true);
        // A card's back is where the learner checks what the kanji means.
        w.setChecked(MnemonicBox, true);
    }
}

void ExportDialog::applyRules() {
    ui::Window& w = window();
    const bool range = !w.isChecked(AllOption);
    w.setEnabled(FirstSpin, range);
    w.setEnabled(LastSpin, range);
    w.setEnabled(OnMeaningBox, w.isChecked(OnBox));
    for (const auto& [box, part] : KunBoxes) {
        w.setEnabled(box, w.isChecked(KunBox));
    }
    w.setEnabled(GenshiColumnsOption, w.isChecked(GenshiBox));
    w.setEnabled(GenshiOneColumnOption, w.isChecked(GenshiBox));
    // The range never runs backwards: the end follows a start moved past it, and at the end of
    // the set the start gives way instead. Moving the end by one more only suffices for the
    // spin's arrows; a typed end far below the start is raised to the start at once.
    const int first = w.spinValue(FirstSpin);
    const int last = w.spinValue(LastSpin);
    if (first > last) {
        if (last >= app_.kanjiSet.size()) {
            w.setSpinValue(FirstSpin, last - 1);
        } else {
            w.setSpinValue(LastSpin, first);
        }
    }
}

ExportChoice ExportDialog::accepted() {
    const ui::Window& w = window();
    ExportChoice choice;
    ExportFields& f = choice.fields;
    f.kanji = w.isChecked(KanjiBox);
    f.unicode = w.isChecked(UnicodeBox);
    f.onYomi = w.isChecked(OnBox);
    f.onWithMeaning = w.isChecked(OnMeaningBox);
    f.kunYomi = w.isChecked(KunBox);
    f.kunMask = 0;
    for (const auto& [box, part] : KunBoxes) {
        if (w.isChecked(box)) {
            f.kunMask |= part;
        }
    }
    f.genshi = w.isChecked(GenshiBox);
    f.genshiColumns = w.isChecked(GenshiColumnsOption);
    f.mnemonic = w.isChecked(MnemonicBox);
    choice.twoSided = asPdf_ && w.isChecked(TwoSidedBox);

    // Positions count from 1; the set may hold fewer records than the spins allow.
    const int size = app_.kanjiSet.size();
    int first = 1;
    int last = size;
    if (w.isChecked(RangeOption)) {
        first = std::max(w.spinValue(FirstSpin), 1);
        last = std::min(w.spinValue(LastSpin), size);
    }
    for (int position = first; position <= last; ++position) {
        choice.positions.push_back(position - 1);
    }
    return choice;
}

std::optional<ExportChoice> runExportDialog(App& app, bool asPdf) {
    ExportDialog dialog(app, asPdf);
    return dialog.run();
}

void exportSet(App& app, bool asPdf) {
    const std::optional<ExportChoice> choice = runExportDialog(app, asPdf);
    if (!choice) {
        return;
    }
    if (asPdf) {
        const ExportFields& f = choice->fields;
        writeCardsPdf(app, choice->positions,
                      CardFields{f.unicode, f.onYomi, f.kunYomi, f.mnemonic, f.genshi, f.kunMask,
                                 choice->twoSided});
        return;
    }
    const QString& extension = CsvExtension;
    const QString title = app.texts.text(MainText::Export) + u' ';
    std::optional<QString> chosen =
        app.ui.requesters().saveFile(dialogParent(app), title, app.paths.exportPath,
                                     extension + u" (*."_s + extension + u")|*."_s + extension);
    if (!chosen || chosen->isEmpty()) {
        return;
    }
    QString path = *chosen;
    const QFileInfo file(path);
    if (file.suffix().isEmpty()) {
        path += u'.' + extension;
    }
    app.paths.exportPath = file.absolutePath() + u'/';
    const QByteArray bytes = exportFile(app.kanjiSet.records, choice->positions, choice->fields);
    if (const auto saved = saveFileAtomically(path, bytes); !saved) {
        app.ui.requesters().message(dialogParent(app), title,
                                    app.texts.text(MessageText::ExportFailed)
                                        .arg(path, fileErrorText(app.texts, saved.error())));
    }
}
