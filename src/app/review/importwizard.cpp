// The CSV import wizard and "Liste optimieren".
#include "app/review/importwizard.h"

#include "app/kanjiset/setcommands.h"
#include "app/state/app.h"
#include "app/state/mainwindowids.h"
#include "core/review/csvimport.h"
#include "core/review/importmerge.h"
#include "core/review/optimiselist.h"
#include "core/training/profilerecord.h"
#include "ui/dialog.h"
#include "ui/progress.h"
#include "ui/tablelist.h"
#include "ui/widgets.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <algorithm>
#include <array>
#include <iterator>
#include <limits>
#include <utility>

namespace {

enum ImportControl : int {
    DataLabel = 1,
    FilePreview,
    CommaBox,
    SemicolonBox,
    TabBox,
    SpaceBox,
    OtherBox,
    OtherField,
    SourceList,
    ImportList,
    StructureText,
    HeadingBox,
    OptimiseBox,
    MappingLabel,
    MappingPreview,
    OkButton,
    CancelButton,
    EncodingLabel,
    EncodingChoice,
};

constexpr std::array SeparatorBoxes{CommaBox, SemicolonBox, TabBox, SpaceBox, OtherBox};

enum StatusField : int { ColumnField = 0, RecordField = 1, EncodingField = 2, QuoteField = 3 };

// The status field of the main window that the outcome of "Liste optimieren" goes to; the
// profile counters it normally shows come back with the next kanji shown.
constexpr int OptimiseStatusField = 2;

// The heading line is marked in the file preview, so the user sees which line stays out.
const QColor HeadingColour(0xE0, 0xE0, 0xE0);

// Records are made in steps of this many lines, so a long import shows its progress.
constexpr int ImportStep = 2000;

QString multiLine(QString text) {
    return text.replace(u'|', u'\n');
}

// Each message in a field of its own, from OptimiseStatusField on: one field is too narrow for
// them all.
void showStatusTexts(App& app, const QStringList& texts) {
    if (app.mainWindow) {
        for (qsizetype i = 0; i < texts.size(); ++i) {
            app.mainWindow->setStatusText(OptimiseStatusField + static_cast<int>(i), texts[i]);
        }
    }
}

// The kanji kept twice are told only when there are any: it is the one outcome the learner may
// want to look at.
QStringList optimisedTexts(const TextTables& t, const kanjilist::OptimiseResult& result) {
    QStringList texts{t.text(MessageText::OptimiseDone)
                          .arg(QString::number(result.merged), QString::number(result.removed))};
    if (result.keptTwice > 0) {
        texts.append(t.text(MessageText::OptimiseKeptTwice).arg(QString::number(result.keptTwice)));
    }
    return texts;
}

// Kanji new to the set get their profile records, as a kanji entered by hand does.
void keepProfileInStep(App& app) {
    if (!app.profile.profileName.isEmpty()) {
        syncProfile(app.learner.profile(), app.kanjiSet);
    }
}

// What the wizard hands over on OK: the file's lines as records, and whether lines of kanji the
// set holds update them.
struct ImportedLines {
    std::vector<ImportedRecord> records;
    bool optimise = false;
};

class ImportWizard : public ui::Dialog<ImportedLines> {
public:
    ImportWizard(App& app, QString filePath, CsvText text)
        // The status bar lies below the wizard's own area, clear of its buttons.
        : Dialog(app.ui, ui::DialogShape(ImportWindowId, app.texts.text(ImportText::CsvImport),
                                         {848, 479 + ui::Window::StatusBarHeight}, {218, 166})
                             .answeredBy(OkButton, CancelButton)),
          app_(app),
          filePath_(std::move(filePath)),
          path_(QDir::toNativeSeparators(filePath_)),
          text_(std::move(text)) {
        build();
    }

    // Runs until "OK", "Abbruch" or the close box.
    std::optional<ImportedLines> start() {
        scan();
        refreshMapping();
        return run();
    }

private:
    void build() {
        const TextTables& t = app_.texts;
        ui::Window& w = window();

        w.addLabel(DataLabel, nullptr, {10, 10, 230, 20}, t.text(ImportText::ImportData));
        preview_ = w.addTableList(FilePreview, nullptr, {10, 30, 830, 70}, {},
                                  {.multiSelect = false, .gridLines = true});

        w.addCheckBox(CommaBox, nullptr, {10, 110, 180, 20}, t.text(ImportText::Comma));
        w.addCheckBox(SemicolonBox, nullptr, {10, 130, 180, 20}, t.text(ImportText::Semicolon));
        w.addCheckBox(TabBox, nullptr, {200, 110, 180, 20}, t.text(ImportText::Tab));
        w.addCheckBox(SpaceBox, nullptr, {200, 130, 180, 20}, t.text(ImportText::Space));
        w.addCheckBox(OtherBox, nullptr, {390, 110, 180, 20}, t.text(ImportText::OtherSeparator));
        w.addTextField(OtherField, nullptr, {580, 110, 50, 20});
        const CsvSeparators start;
        w.setChecked(CommaBox, start.comma);
        w.setChecked(SemicolonBox, start.semicolon);
        w.setChecked(TabBox, start.tab);
        w.setChecked(SpaceBox, start.space);
        w.setChecked(OtherBox, start.other);
        // Beside the separators: both say how the file's text is read.
        w.addLabel(EncodingLabel, nullptr, {645, 110, 75, 20},
                   app_.texts.text(MessageText::ImportEncodingLabel));
        QStringList encodings;
        for (const CsvEncoding encoding : CsvEncodings) {
            encodings.append(csvEncodingName(encoding));
        }
        w.addChoice(EncodingChoice, nullptr, {720, 108, 120, 24}, encodings);

        source_ = w.addReportList(SourceList, nullptr, {10, 160, 120, 120},
                                  {{t.text(ImportText::SourceFile), 115}}, {.dragText = true});
        import_ = w.addReportList(ImportList, nullptr, {250, 160, 120, 120},
                                  {{t.text(ImportText::Import), 115}}, {.acceptDrops = true});
        w.setToolTip(ImportList, multiLine(t.text(MessageText::ImportToolTip)));
        w.addEditor(StructureText, nullptr, {400, 160, 200, 180},
                    multiLine(t.text(MessageText::ImportStructure)), true);

        w.addCheckBox(HeadingBox, nullptr, {620, 235, 220, 20},
                      t.text(MessageText::ImportHeadingLine));
        w.setChecked(HeadingBox, true);
        w.addCheckBox(OptimiseBox, nullptr, {620, 260, 200, 20},
                      t.text(MessageText::ImportOptimise));
        w.setChecked(OptimiseBox, true);

        w.addLabel(MappingLabel, nullptr, {10, 350, 230, 20}, t.text(ImportText::ColumnMapping));
        mapping_ = w.addTableList(MappingPreview, nullptr, {10, 370, 830, 70}, {},
                                  {.multiSelect = false, .gridLines = true});

        w.addButton(OkButton, nullptr, {770, 450, 60, 20}, t.text(ImportText::Ok));
        w.addButton(CancelButton, nullptr, {700, 450, 60, 20}, t.text(ImportText::Cancel));

        w.addStatusBar({120, 160, 160, 408});
        w.setStatusText(ColumnField, t.text(ImportText::ColumnCount));
        w.setStatusText(RecordField, t.text(ImportText::RecordCount));
    }

    void handle(const ui::Event& event) override {
        if (std::find(SeparatorBoxes.begin(), SeparatorBoxes.end(), event.control) !=
            SeparatorBoxes.end()) {
            scan();
            refreshMapping();
            return;
        }
        switch (event.control) {
            case OtherField:
                if (window().isChecked(OtherBox)) {
                    scan();
                    refreshMapping();
                }
                break;
            case HeadingBox:
                markHeading();
                refreshMapping();
                break;
            case EncodingChoice:
                readAgain(event.item);
                break;
            case ImportList:
                if (event.action == ui::Action::Drop) {
                    drop(event.text);
                } else if (event.action == ui::Action::RightDoubleClick) {
                    removeSelectedItem();
                }
                break;
            default:
                break;
        }
    }

    CsvSeparators separators() const {
        return {window().isChecked(CommaBox), window().isChecked(SemicolonBox),
                window().isChecked(TabBox),   window().isChecked(SpaceBox),
                window().isChecked(OtherBox), window().text(OtherField)};
    }

    bool headingLine() const { return window().isChecked(HeadingBox); }

    // The learner's choice of encoding reads the file again, as it may have changed on the disk
    // since; a file that can no longer be read keeps the text read before.
    void readAgain(int choice) {
        if (choice < 0 || choice >= static_cast<int>(std::size(CsvEncodings))) {
            return;
        }
        FileResult<CsvText> text = readCsvText(filePath_, CsvEncodings[choice]);
        if (!text) {
            app_.ui.requesters().message(window().top(), app_.texts.text(ImportText::CsvImport),
                                         app_.texts.text(MessageText::ImportUnreadable)
                                             .arg(path_, fileErrorText(app_.texts, text.error())));
            showEncoding();
            return;
        }
        text_ = std::move(*text);
        scan();
        refreshMapping();
    }

    void showEncoding() {
        const auto at = std::find(std::begin(CsvEncodings), std::end(CsvEncodings), text_.encoding);
        window().setChoice(EncodingChoice, static_cast<int>(at - std::begin(CsvEncodings)));
        window().setStatusText(EncodingField, app_.texts.text(MessageText::ImportEncodingStatus)
                                                  .arg(csvEncodingName(text_.encoding)));
    }

    // Every scan starts the mapping over: the source items change with the columns.
    void scan() {
        // The rows of the last scan go first: a large file's rows twice would double the peak.
        preview_->setColumns({});
        scan_ = CsvScan{};
        std::optional<CsvScan> scanned = scanCsvText(text_.text, separators().characters());
        if (!scanned) {
            // Only a file near the bounds gets here, with separators that split it into too many
            // values; it is shown as empty rather than half.
            app_.ui.requesters().message(
                window().top(), app_.texts.text(ImportText::CsvImport),
                app_.texts.text(MessageText::ImportUnreadable)
                    .arg(path_, app_.texts.text(MessageText::ReasonTooLarge)));
            scanned = CsvScan{};
        }
        scan_ = std::move(*scanned);

        const int columns = scan_.columnCount();
        const int width = std::max(810 / columns, 100);
        std::vector<ui::TableColumn> previewColumns;
        previewColumns.reserve(static_cast<size_t>(columns));
        const QStringList captions = sourceItemCaptions(columns);
        for (int column = 0; column < columns; ++column) {
            previewColumns.push_back({captions[column + 2], width});
        }
        preview_->setColumns(previewColumns, previewCells());

        source_->clearRows();
        for (const QString& caption : captions) {
            source_->addRow({caption});
        }
        sourceCaptions_ = captions;
        import_->clearRows();
        order_.clear();

        window().setStatusText(ColumnField, app_.texts.text(ImportText::ColumnCount) + u' ' +
                                                QString::number(columns));
        window().setStatusText(RecordField, app_.texts.text(ImportText::RecordCount) + u' ' +
                                                QString::number(scan_.rows.size()));
        showEncoding();
        window().setStatusText(
            QuoteField, scan_.openQuoteLine > 0
                            ? app_.texts.text(MessageText::ImportOpenQuote).arg(scan_.openQuoteLine)
                            : QString());
    }

    // The preview asks for the rows it shows: the scan keeps them far more compactly than a
    // list of strings per row would.
    ui::TableCells previewCells() const {
        return {static_cast<int>(scan_.rows.size()),
                [this](int row, int column) { return scan_.rows.value(row, column).toString(); },
                [this](int row) { return row == 0 && headingLine() ? HeadingColour : QColor(); }};
    }

    void markHeading() { preview_->setCells(previewCells()); }

    // Only items of the source list are taken: text dragged in from another program names no
    // column.
    void drop(const QString& text) {
        if (!sourceCaptions_.contains(text)) {
            return;
        }
        import_->addRow({text});
        order_.push_back(mappingCode(text));
        refreshMapping();
    }

    void removeSelectedItem() {
        const int row = import_->selectedRow();
        if (row < 0 || row >= static_cast<int>(order_.size())) {
            return;
        }
        delete import_->takeTopLevelItem(row);
        order_.erase(order_.begin() + row);
        refreshMapping();
    }

    // The first imported line, as the import will map it.
    void refreshMapping() {
        if (order_.empty()) {
            mapping_->setColumns({});
            return;
        }
        const int width = std::max(810 / static_cast<int>(order_.size()), 80);
        std::vector<ui::TableColumn> columns;
        for (int item = 0; item < import_->rowCount(); ++item) {
            columns.push_back({import_->cellText(item, 0), width});
        }
        const QStringList sample = scan_.rows.row(firstImportedRow(scan_.rows, headingLine()));
        mapping_->setColumns(
            columns, {{mapImportLine(sample, order_, nextRunningNumber(app_.kanjiSet)), {}, 0, 0}});
    }

    // The records are made while the wizard still shows, under its progress bar.
    ImportedLines accepted() override {
        const qsizetype first = firstImportedRow(scan_.rows, headingLine());
        const size_t lineCount = static_cast<size_t>(scan_.rows.size() - first);
        ImportedLines lines{{}, window().isChecked(OptimiseBox)};
        // Numbered on from the set's last position: the new kanji come after the set's own.
        const qint32 firstNumber = nextRunningNumber(app_.kanjiSet);
        std::vector<ImportedRecord>& records = lines.records;
        records.reserve(lineCount);
        ui::Progress progress(window().top(), app_.texts.text(ImportText::CsvImport),
                              static_cast<int>(lineCount));
        for (size_t done = 0; done < lineCount; done += ImportStep) {
            const size_t count = std::min<size_t>(ImportStep, lineCount - done);
            // Strings for one step at a time: the scan keeps the lines compactly.
            const std::vector<QStringList> rows =
                scan_.rows.rows(first + static_cast<qsizetype>(done), count);
            const qint32 stepFirst = static_cast<qint32>(std::min<qint64>(
                qint64(firstNumber) + qint64(done), std::numeric_limits<qint32>::max()));
            std::vector<ImportedRecord> step = importMappedRecords(rows, order_, stepFirst);
            std::move(step.begin(), step.end(), std::back_inserter(records));
            progress.setValue(static_cast<int>(done + count));
        }
        return lines;
    }

    App& app_;
    QString filePath_;
    // As the user reads it in messages.
    QString path_;
    CsvText text_;
    CsvScan scan_;
    QStringList sourceCaptions_;
    std::vector<MappingCode> order_;
    ui::TableList* preview_ = nullptr;
    ui::TableList* mapping_ = nullptr;
    ui::ReportList* source_ = nullptr;
    ui::ReportList* import_ = nullptr;
};

}  // namespace

void importCsv(App& app) {
    const QString title = app.texts.text(ImportText::CsvImport);
    const std::optional<QString> chosen =
        app.ui.requesters().openFile(dialogParent(app), title, app.paths.importPath,
                                     app.texts.text(MessageText::ImportFileFilter));
    if (!chosen || chosen->isEmpty()) {
        return;
    }
    app.paths.importPath = QFileInfo(*chosen).absolutePath() + u'/';
    FileResult<CsvText> text = readCsvText(*chosen);
    if (!text) {
        // An empty wizard would look like an empty file.
        app.ui.requesters().message(
            dialogParent(app), title,
            app.texts.text(MessageText::ImportUnreadable)
                .arg(QDir::toNativeSeparators(*chosen), fileErrorText(app.texts, text.error())));
        return;
    }
    std::optional<ImportedLines> lines = ImportWizard(app, *chosen, std::move(*text)).start();
    if (!lines) {
        return;
    }
    const bool optimise = lines->optimise;
    const ImportOutcome outcome = addImported(app.kanjiSet, std::move(lines->records), optimise);
    keepProfileInStep(app);
    refreshSet(app);
    const TextTables& t = app.texts;
    QStringList texts{t.text(MessageText::ImportCounts)
                          .arg(QString::number(outcome.added), QString::number(outcome.updated))};
    if (optimise) {
        texts += optimisedTexts(t, outcome.optimised);
    }
    showStatusTexts(app, texts);
}

void optimiseList(App& app) {
    const kanjilist::OptimiseResult result = optimiseList(app.kanjiSet);
    // Blank records may have gone, and with them the profile record of code 0.
    keepProfileInStep(app);
    refreshSet(app);
    showStatusTexts(app, optimisedTexts(app.texts, result));
}
