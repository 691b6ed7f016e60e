// The caption tables, their built-in German texts and the language catalogs that replace them.
#pragma once

#include "base/files.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstddef>
#include <optional>
#include <utility>

// One enumerator per entry of each table, in the order in which the table and a catalog list
// them: the position is what ties a catalog line to its caption.

enum class MainText {
    File,
    LoadSet,
    SaveSet,
    Export,
    Pdf,
    Csv,
    PrintCards,
    Quit,
    Edit,
    NewKanji,
    EditKanji,
    DeleteKanji,
    CreateProfile,
    ProfileSettings,
    DeleteProfile,
    View,
    Single,
    Groups,
    List,
    ByIndex1,
    ByIndex2,
    ByReading,
    AlreadyLearnt,
    CurrentlyLearning,
    NotLearnt,
    Statistics,
    Settings,
    TrainingSettings,
    TestSettings,
    GeneralSettings,
    Help,
    Info,
    About,
    Kanji,
    CurrentKanji,
    Genshi,
    SortOrder1,
    Jlpt,
    End,
    Learn,
    Train,
    Test,
    Mode,
    VoiceRecording,
    LastProfile,
    KunYomi,
    OnYomi,
    StatisticsPanel,
    Profile,
    EndEdit,
    Mnemonic,
    ImportCsv,
    NewSet,
    OptimiseList,
    Copy,
};
inline constexpr int MainTextCount = static_cast<int>(MainText::Copy) + 1;

enum class TrainingText {
    TrainingMode,
    ShowKanji,
    Show,
    ShowOnYomi,
    ShowKunYomi,
    ShowMeaning,
    AskFor,
    ShowPronunciation,
    AskPronunciation,
    AskMeaning,
    AskKunYomi,
    AskOnYomi,
    AskKanji,
    RangeTo,
    WhichKanji,
    Range,
    All,
    Start,
    BySortOrder1,
    Jlpt,
    Random,
    Jlpt4,
    Jlpt3,
    Jlpt2,
    Jlpt1,
    Check,
    Next,
    Order,
    Weakest,
    Absolute,
    Relative,
    Selection,
    Manual,
};

// The JLPT levels' captions from the easiest (4) to the hardest (1), as every list of levels
// shows them.
inline constexpr std::array JlptLevelCaptions{TrainingText::Jlpt4, TrainingText::Jlpt3,
                                              TrainingText::Jlpt2, TrainingText::Jlpt1};
inline constexpr int TrainingTextCount = static_cast<int>(TrainingText::Manual) + 1;

enum class ImportText {
    ColumnCount,
    RecordCount,
    Ok,
    ImportData,
    ColumnMapping,
    Comma,
    Semicolon,
    Tab,
    Space,
    OtherSeparator,
    CsvImport,
    Add,
    SourceFile,
    Import,
    Cancel,
};
inline constexpr int ImportTextCount = static_cast<int>(ImportText::Cancel) + 1;

enum class StatisticsText {
    Kanji,
    Right,
    Wrong,
    Rate,
    Ok,
    General,
    SortByKanji,
    SortByRight,
    SortByWrong,
    SortByRate,
    Partly,
    Selection,
    OnReading,
    KunReading,
    Meaning,
};
inline constexpr int StatisticsTextCount = static_cast<int>(StatisticsText::Meaning) + 1;

enum class SelectionText {
    Ok,
    Kanji,
    Right,
    Wrong,
    Rate,
    SortByKanji,
    SortByRight,
    SortByWrong,
    SortByRate,
    Sort,
    Select,
    All,
    None,
    OnlyWrongSoFar,
    Rate1To49,
    Rate50To74,
    Rate75To89,
    Rate90To99,
    Total,
    Selected,
    Cancel,
    Partly,
    Show,
    OnReading,
    KunReading,
    Meaning,
};
inline constexpr int SelectionTextCount = static_cast<int>(SelectionText::Meaning) + 1;

enum class ExportText {
    Ok,
    All,
    Range,
    From,
    To,
    Kanji,
    Selection,
    Fields,
    KanjiUnicode,
    OnYomi,
    KunYomi,
    OnYomiWithMeaning,
    KunYomiWithMeaning,
    WithHiragana,
    WithRomaji,
    WithKanjiSpelling,
    Mnemonic,
    Genshi,
    Cancel,
    OneColumnEach,
    InOneColumn,
};
inline constexpr int ExportTextCount = static_cast<int>(ExportText::InOneColumn) + 1;

// The remaining texts of the main window, the About box, the training selection, the statistics
// window and the set commands, which the caption tables above do not hold. BackupFailed and
// SaveFailed take the set file's path as %1 and the reason (one of the Reason texts) as %2;
// EndAnyway follows them when the program is ending, LoadAnyway and NewSetAnyway when another set
// is to replace the open one, and any of them SetUnnamed for a set left without a name. SetUnread
// and PreferencesSaveFailed take a path and a reason as well; ReasonNoSetFile is the reason for a
// file that was read but holds no set. ExportFailed takes the export file's path as %1 and the
// reason as %2.
enum class MessageText {
    OverviewTab,
    TrainingTab,
    ListsTab,
    KanjiColumn,
    CurrentColumn,
    OnColumn,
    KunColumn,
    MeaningColumn,
    TakeAsGenshi,
    AboutTitle,
    KanjiCount,
    Series,
    LoadSetTitle,
    SetFileFilter,
    BackupFailed,
    SaveFailed,
    EndAnyway,
    LoadAnyway,
    NewSetAnyway,
    SetUnnamed,
    SetUnread,
    ReasonNoSetFile,
    PreferencesSaveFailed,
    ReasonNoSpace,
    ReasonAccessDenied,
    ReasonNotFound,
    ReasonTooLarge,
    ReasonIsFolder,
    ReasonOther,
    ProfileBackupFailed,
    ProfileSaveFailed,
    ProfileNamePrompt,
    ProfileNameRefused,
    ProfileExists,
    ProfileFileFilter,
    DeleteProfileQuestion,
    CheckKanjiTitle,
    CheckKanjiQuestion,
    EvaluationTitle,
    EvaluationRight,
    EvaluationPartly,
    EvaluationWrong,
    EvaluationTotal,
    TrainingPosition,
    RunningScore,
    SelectionTitle,
    NewSetPrompt,
    NewSetProposal,
    SetNameRefused,
    SetExists,
    DeleteKanjiQuestion,
    KanjiPrompt,
    StrokeImageTitle,
    StrokeImageFilter,
    StrokeImageCopyFailed,
    GenshiWindowTitle,
    GenshiNrColumn,
    GenshiColumn,
    GenshiExtraColumn,
    GenshiMeaningColumn,
    GenshiCountColumn,
    GenshiShortColumn,
    GenshiExamplesColumn,
    GenshiOk,
    ExportFailed,
    PdfProgress,
    StatisticsTitle,
    SummaryHeading,
    SummaryTotal,
    SummaryTrained,
    SummaryQuota,
    SummaryUntrained,
    SummaryEachKanji,
    SummaryAlwaysRight,
    SummaryVeryOftenRight,
    SummaryMostlyRight,
    SummaryOftenRight,
    SummarySometimesRight,
    SummaryNeverRight,
    SummaryBest,
    SummaryWorst,
    // The CSV import wizard. A "|" in ImportToolTip and ImportStructure breaks the line, as a
    // catalog line cannot. ImportUnreadable takes the file's path as %1 and the reason as %2;
    // OptimiseDone the merged records as %1 and the removed ones as %2.
    ImportToolTip,
    ImportStructure,
    ImportHeadingLine,
    ImportOptimise,
    ImportFileFilter,
    ImportUnreadable,
    OptimiseDone,
    // The verdict on a kanji written on the canvas, below "Stimmt das Kanji". The candidates
    // line takes the recogniser's guesses as %1.
    HandwritingRight,
    HandwritingPartly,
    HandwritingWrong,
    HandwritingNoReference,
    HandwritingCandidates,
    HandwritingNoCandidates,
    // Reasons a file is refused, beside the ones above.
    ReasonIsLink,
    ReasonNotRegularFile,
    // A kanji chosen in a list that the set does not hold (%1 the kanji); a deleted profile's
    // name given again (%1 the name); a profile file that could not be moved (%1 where to, %2 the
    // reason).
    KanjiNotInSet,
    RestoreProfileQuestion,
    DeleteProfileFailed,
    // The CSV import wizard's encoding: the caption of its choice box, the status field naming
    // the encoding read (%1), and the line (%1) where a quote opens that is never closed.
    ImportEncodingLabel,
    ImportEncodingStatus,
    ImportOpenQuote,
    // Beside OptimiseDone: the kanji whose records disagree, kept twice, as %1. After an import:
    // the records added as %1 and the kanji updated as %2.
    OptimiseKeptTwice,
    ImportCounts,
    // The daily review: the scope "Fällig", the counts of due (%1) and new (%2) kanji, when the
    // next review falls due (%1), a damaged or unusable review log (path %1, backup or reason %2)
    // and training choices that could not be saved (path %1, reason %2).
    DueScope,
    DueCounts,
    NextReviewAt,
    ReviewLogDamaged,
    ReviewLogFailed,
    TrainingChoicesSaveFailed,
    // The forecast window: its title, the chart's two series, the summary a screen reader reads
    // (due per day as %1; per level: level %1, known %2 of %3, percent %4), the level of kanji
    // without one, the daily review's two settings, and fitting the parameters: the button, its
    // progress, the losses before (%1) and after (%2), the verdict, and a log too short (the
    // answers needed %1, those held %2).
    ForecastTitle,
    ForecastDueSeries,
    ForecastKnownSeries,
    ForecastDaysSummary,
    ForecastLevelSummary,
    ForecastNoLevel,
    RetentionLabel,
    NewPerDayLabel,
    OptimiseButton,
    OptimiseProgress,
    OptimiseOutcome,
    OptimiseKept,
    OptimiseDiscarded,
    OptimiseTooFew,
    // Below the forecast's bars: the days they stand for.
    ForecastDaysAxis,
    // Why a written kanji was not right, one line per slip: the stroke as %1 (counted from 1),
    // the stroke written in its place as %2.
    HandwritingBackwards,
    HandwritingExchanged,
    HandwritingMissing,
    HandwritingExtra,
    // The training page's choice to have each stroke judged as the pen lifts.
    LiveStrokes,
    // In the status bar when a sound cannot be played, with the reason as %1; the reason when
    // the machine has no sound output, and when it has no sound input to record from.
    SoundFailed,
    NoSoundOutput,
    NoSoundInput,
    // The recording frame's context menu entry, and why a recording could not be saved (%1).
    SaveRecording,
    RecordingNotSaved,
    // Printing: the export's choice of cards printed on both sides, the front's stroke count
    // (%1) and JLPT level (%1); "Lernkarten drucken"'s ways of choosing the kanji, its "at most",
    // and what it says when the choice holds no kanji.
    TwoSidedCards,
    CardStrokes,
    CardJlpt,
    PrintWeakest,
    PrintLastRun,
    PrintJlpt,
    PrintAtMost,
    PrintNothingChosen,
    // "Hilfe" → "Info": the short guide to learning with the program, its paragraphs separated
    // by "|" as a catalog line cannot break; the offer to take the shipped German JLPT set in
    // place of the English one a working folder still holds.
    GuideText,
    GermanSetQuestion,
    // "Bearbeiten" → "Suchen" and its window: the menu entry and title, the result list's
    // columns, the radical and stroke filters ("alle" for any), the drawing pad and its button,
    // and how many kanji were found (%1).
    Search,
    SearchReadingsColumn,
    SearchMeaningColumn,
    SearchJlptColumn,
    SearchPositionColumn,
    SearchRadical,
    SearchStrokes,
    SearchAny,
    SearchDrawing,
    SearchClearDrawing,
    SearchFound,
    // Kanji forgotten again and again: the selection dialog's button that selects them, and what
    // the statistics list says of such a kanji.
    ProblemKanji,
    ProblemKanjiMark,
    // The forecast window: the kanji expected to be known after its days (%1 of %2), the daily
    // budget with its two units and the pace minutes are counted at (%1 seconds an answer), the
    // recommended retention (%1) and new kanji per day (%2), its progress (%1 percent), and the
    // button that takes it.
    ForecastKnownAhead,
    BudgetLabel,
    BudgetAnswers,
    BudgetMinutes,
    BudgetPace,
    RecommendedPlan,
    RecommendingPlan,
    TakeRecommendation,
    // A second program started on a working folder in use; the question after a profile that
    // could not be saved at the end; a profile (path %1, reason %2) or a preference file (the
    // same) that cannot be read and is therefore left alone; a deleted profile (%1) that cannot
    // be restored because a file of that name is there (%2).
    AlreadyRunning,
    ProfileEndAnyway,
    ProfileUnreadable,
    PreferencesUnreadable,
    RestoreProfileBlocked,
    // The Anki import: the file filter beside the CSV one, the wizard's title, captions and
    // choices ("|" between the targets and between the kinds), what it says without a profile,
    // its outcome (taken %1, filled %2, skipped %3), a package refused (path %1, one of the
    // reasons after it as %2, each with the member or name as %1), and a sound not saved (name
    // %1, reason %2). Then the export of the review log for FSRS: its menu entry, requester
    // title and filter, and what it says without a profile.
    AnkiFileFilter,
    AnkiTitle,
    AnkiNoteType,
    AnkiTargets,
    AnkiNoField,
    AnkiTemplates,
    AnkiKinds,
    AnkiNoProfile,
    AnkiOutcome,
    AnkiUnreadable,
    AnkiNotZip,
    AnkiMemberNamedLikePath,
    AnkiNoCollection,
    AnkiNotSqlite,
    AnkiBadCollection,
    AnkiBadStream,
    AnkiTooLarge,
    AnkiNoRoom,
    AnkiMediaNamedLikePath,
    AnkiTooManyFields,
    AnkiNoNotes,
    AnkiSoundNotSaved,
    FsrsExportMenu,
    FsrsExportTitle,
    FsrsFileFilter,
    FsrsNoHistory,
    // After the Anki import's outcome: the answers its history brought into the log (%1); the
    // log (%1) that could not take them, and why (%2).
    AnkiAnswers,
    AnkiHistoryFailed,
    SetChangedOnBothSides,
    ConflictCopyNotMerged,
    // "Einstellungen" → "Training": its title and its choice to let a reading with a slip of
    // the keyboard be typed again, and what the training page says beside such a reading.
    TrainingOptionsTitle,
    LenientTypos,
    AlmostRight,
    // The learner's verdict on a written kanji: the three buttons.
    GradeRight,
    GradePartly,
    GradeWrong,
    // A stroke missed while writing stroke by stroke, beside the canvas: the stroke due as %1,
    // the stroke drawn in its place as %2 where it is a later one.
    LiveStrokeLater,
    LiveStrokeMissed,
    // After a run: its wrong and partly right kanji (%1 of them) asked again; after a check,
    // taking the graded question back, and turning its right answers into easy ones.
    RetrainMisses,
    UndoAnswer,
    EasyAnswer,
};
inline constexpr int MessageTextCount = static_cast<int>(MessageText::EasyAnswer) + 1;

class TextTables {
public:
    const QString& text(MainText id) const { return main_[index(id)]; }
    const QString& text(TrainingText id) const { return training_[index(id)]; }
    const QString& text(ImportText id) const { return import_[index(id)]; }
    const QString& text(StatisticsText id) const { return statistics_[index(id)]; }
    const QString& text(SelectionText id) const { return selection_[index(id)]; }
    const QString& text(ExportText id) const { return export_[index(id)]; }
    const QString& text(MessageText id) const { return messages_[index(id)]; }

    void setText(MainText id, QString text) { main_[index(id)] = std::move(text); }
    void setText(TrainingText id, QString text) { training_[index(id)] = std::move(text); }
    void setText(ImportText id, QString text) { import_[index(id)] = std::move(text); }
    void setText(StatisticsText id, QString text) { statistics_[index(id)] = std::move(text); }
    void setText(SelectionText id, QString text) { selection_[index(id)] = std::move(text); }
    void setText(ExportText id, QString text) { export_[index(id)] = std::move(text); }
    void setText(MessageText id, QString text) { messages_[index(id)] = std::move(text); }

    bool operator==(const TextTables&) const = default;

private:
    template <typename Id>
    static constexpr std::size_t index(Id id) {
        return static_cast<std::size_t>(id);
    }

    friend TextTables builtInTexts();
    friend std::optional<TextTables> parseCatalog(const QByteArray& bytes);

    std::array<QString, MainTextCount> main_;
    std::array<QString, TrainingTextCount> training_;
    std::array<QString, ImportTextCount> import_;
    std::array<QString, StatisticsTextCount> statistics_;
    std::array<QString, SelectionTextCount> selection_;
    std::array<QString, ExportTextCount> export_;
    std::array<QString, MessageTextCount> messages_;
};

TextTables builtInTexts();

// A catalog is UTF-8 text whose first line is exactly "Catalog", followed by one line per text:
// the tables in the order Main, Training, Import, Statistics, Selection, Export and Message,
// each in full. Lines end with CR, LF or CR LF and every line is taken whole, blanks included. A
// catalog that ends early keeps the built-in text for each entry it lacks; so a catalog written
// before the Message table existed, which ends after the Export table, keeps the German
// messages. nullopt when the header is wrong.
std::optional<TextTables> parseCatalog(const QByteArray& bytes);

// Chooses the tables for language: the file language + ".catalog" in the folder "catalog" of
// workDir, matched exactly and case-sensitively among the folder's files. When there is no such
// file, or it cannot be read or is no catalog, the built-in texts are used and language is
// cleared, so that the preference file does not keep naming a catalog that is not in use.
TextTables fillTextTables(const QString& workDir, QString& language);

// Why a file could not be read or written, in words of the tables.
QString fileErrorText(const TextTables& texts, const FileError& error);
