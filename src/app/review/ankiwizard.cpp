// The import wizard for Anki packages and the import it leads to.
#include "app/review/ankiwizard.h"

#include "app/kanjiset/examplesound.h"
#include "app/kanjiset/setcommands.h"
#include "app/state/app.h"
#include "app/state/mainwindowids.h"
#include "app/training/dailyreview.h"
#include "core/review/ankihistory.h"
#include "core/review/ankinotes.h"
#include "core/review/ankitext.h"
#include "core/training/learner.h"
#include "core/training/profilerecord.h"
#include "core/training/trainingchoices.h"
#include "ui/dialog.h"
#include "ui/tablelist.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QSignalBlocker>

#include <algorithm>
#include <array>

namespace {

enum AnkiControl : int {
    NoteTypeLabel = 1,
    NoteTypeChoice,
    NotePreview,
    TargetHeading,
    TemplateHeading,
    ProfileNote,
    OkButton,
    CancelButton,
    // A label and a choice per target, then per template shown.
    FirstTargetLabel = 100,
    FirstTargetChoice = 200,
    FirstTemplateLabel = 300,
    FirstTemplateChoice = 400,
};

// Note types with more templates than this keep their guesses for the rest.
constexpr int ShownTemplates = 8;
// The main window's status fields the outcome goes to, and the width of the first.
constexpr int OutcomeField = 2;
constexpr int OutcomeFieldWidth = 240;

const QString PreviewSeparator = QStringLiteral(" / ");

int noteCount(const AnkiCollection& collection, qint64 type) {
    return static_cast<int>(
        std::count_if(collection.notes.begin(), collection.notes.end(),
                      [type](const AnkiNote& n) { return n.noteType == type; }));
}

class AnkiWizard : public ui::Dialog<AnkiChoice> {
public:
    AnkiWizard(App& app, const AnkiPackage& package)
        : Dialog(app.ui, ui::DialogShape(ImportWindowId, app.texts.text(MessageText::AnkiTitle),
                                         {848, 479}, {218, 166})
                             .answeredBy(OkButton, CancelButton)),
          app_(app),
          collection_(package.collection) {
        build();
    }

private:
    void build() {
        const TextTables& t = app_.texts;
        ui::Window& w = window();
        w.addLabel(NoteTypeLabel, nullptr, {10, 10, 90, 20}, t.text(MessageText::AnkiNoteType));
        QStringList types;
        int start = 0;
        int most = -1;
        for (size_t i = 0; i < collection_.noteTypes.size(); ++i) {
            const AnkiNoteType& type = collection_.noteTypes[i];
            const int count = noteCount(collection_, type.id);
            types.append(type.name + QStringLiteral(" (") + QString::number(count) + u')');
            if (count > most) {
                most = count;
                start = static_cast<int>(i);
            }
        }
        w.addChoice(NoteTypeChoice, nullptr, {100, 8, 300, 24}, types);
        w.setEnabled(NoteTypeChoice, types.size() > 1);
        preview_ = w.addTableList(NotePreview, nullptr, {10, 40, 830, 170}, {},
                                  {.multiSelect = false, .gridLines = true});

        const QStringList targets = t.text(MessageText::AnkiTargets).split(u'|');
        w.addLabel(TargetHeading, nullptr, {10, 225, 380, 20}, t.text(ImportText::ColumnMapping));
        for (int i = 0; i < AnkiTargetCount; ++i) {
            const int y = 250 + i * 30;
            w.addLabel(FirstTargetLabel + i, nullptr, {10, y, 110, 20}, targets.value(i));
            w.addChoice(FirstTargetChoice + i, nullptr, {120, y - 2, 260, 24}, {});
        }
        w.addLabel(TemplateHeading, nullptr, {420, 225, 420, 20},
                   t.text(MessageText::AnkiTemplates));
        const QStringList kinds = t.text(MessageText::AnkiKinds).split(u'|');
        for (int i = 0; i < ShownTemplates; ++i) {
            const int y = 250 + i * 24;
            w.addLabel(FirstTemplateLabel + i, nullptr, {420, y, 230, 20}, {});
            w.addChoice(FirstTemplateChoice + i, nullptr, {660, y - 2, 180, 22}, kinds);
        }
        // Said before "OK", so the learner can choose a profile first.
        w.addLabel(ProfileNote, nullptr, {10, 450, 600, 20}, t.text(MessageText::AnkiNoProfile));
        w.setVisible(ProfileNote, app_.profile.profileName.isEmpty());
        w.addButton(OkButton, nullptr, {770, 450, 60, 20}, t.text(ImportText::Ok));
        w.addButton(CancelButton, nullptr, {700, 450, 60, 20}, t.text(ImportText::Cancel));

        w.setChoice(NoteTypeChoice, start);
        showNoteType(start);
    }

    void handle(const ui::Event& event) override {
        if (event.control == NoteTypeChoice && event.item >= 0) {
            showNoteType(event.item);
        } else if (event.control >= FirstTargetChoice &&
                   event.control < FirstTargetChoice + AnkiTargetCount) {
            readMap();
            guessKinds();
        } else if (event.control >= FirstTemplateChoice &&
                   event.control < FirstTemplateChoice + ShownTemplates) {
            chosen_[static_cast<size_t>(event.control - FirstTemplateChoice)] = true;
        }
    }

    const AnkiNoteType& type() const { return collection_.noteTypes[static_cast<size_t>(type_)]; }

    // A new note type shows its fields and notes and starts with the guessed mapping.
    void showNoteType(int index) {
        if (index < 0 || index >= static_cast<int>(collection_.noteTypes.size())) {
            return;
        }
        type_ = index;
        ui::Window& w = window();
        const AnkiNoteType& shown = type();
        notes_.clear();
        for (size_t i = 0; i < collection_.notes.size(); ++i) {
            if (collection_.notes[i].noteType == shown.id) {
                notes_.push_back(i);
            }
        }
        const int columns = std::max<int>(1, static_cast<int>(shown.fields.size()));
        const int width = std::max(810 / columns, 100);
        std::vector<ui::TableColumn> captions;
        for (const QString& field : shown.fields) {
            captions.push_back({field, width});
        }
        preview_->setColumns(
            captions, {static_cast<int>(notes_.size()),
                       [this](int row, int column) {
                           const AnkiNote& note =
                               collection_.notes[notes_[static_cast<size_t>(row)]];
                           return column < note.fields.size()
                                      ? cleanAnkiField(note.fields[column]).joined(PreviewSeparator)
                                      : QString();
                       },
                       {}});

        map_ = guessFieldMap(shown.fields);
        chosen_.fill(false);
        const QStringList choices =
            QStringList{app_.texts.text(MessageText::AnkiNoField)} + shown.fields;
        for (int i = 0; i < AnkiTargetCount; ++i) {
            QComboBox* box = w.get<QComboBox>(FirstTargetChoice + i);
            const QSignalBlocker quiet(box);
            box->clear();
            box->addItems(choices);
            box->setCurrentIndex(map_[static_cast<size_t>(i)] + 1);
        }
        guessKinds();
    }

    void readMap() {
        for (int i = 0; i < AnkiTargetCount; ++i) {
            map_[static_cast<size_t>(i)] = window().choice(FirstTargetChoice + i) - 1;
        }
    }

    // The kinds follow the mapping, which field a question shows telling what it asks; a kind
    // the learner chose stays.
    void guessKinds() {
        ui::Window& w = window();
        const AnkiNoteType& shown = type();
        kinds_.clear();
        for (const AnkiTemplate& t : shown.templates) {
            kinds_.push_back(guessAnswerKind(t, shown.fields, map_));
        }
        for (int i = 0; i < ShownTemplates; ++i) {
            const bool used = i < static_cast<int>(shown.templates.size());
            w.setVisible(FirstTemplateLabel + i, used);
            w.setVisible(FirstTemplateChoice + i, used);
            if (!used) {
                continue;
            }
            w.setText(FirstTemplateLabel + i, shown.templates[static_cast<size_t>(i)].name);
            if (!chosen_[static_cast<size_t>(i)]) {
                w.setChoice(FirstTemplateChoice + i,
                            static_cast<int>(kinds_[static_cast<size_t>(i)]));
            }
        }
    }

    AnkiChoice accepted() override {
        readMap();
        AnkiChoice choice{type().id, map_, kinds_};
        for (int i = 0; i < std::min<int>(ShownTemplates, static_cast<int>(kinds_.size())); ++i) {
            const int kind = window().choice(FirstTemplateChoice + i);
            if (kind >= 0 && kind < AnkiAnswerKindCount) {
                choice.kinds[static_cast<size_t>(i)] = static_cast<AnkiAnswerKind>(kind);
            }
        }
        return choice;
    }

    App& app_;
    const AnkiCollection& collection_;
    int type_ = 0;
    std::vector<size_t> notes_;
    AnkiFieldMap map_{};
    std::vector<AnkiAnswerKind> kinds_;
    // The template choices the learner made, which no new guess replaces.
    std::array<bool, ShownTemplates> chosen_{};
    ui::TableList* preview_ = nullptr;
};

QString reasonText(const TextTables& t, const AnkiError& error) {
    const auto with = [&](MessageText id) { return t.text(id).arg(error.detail); };
    switch (error.problem) {
        case AnkiProblem::File:
            return fileErrorText(t, error.file);
        case AnkiProblem::NotZip:
            return t.text(MessageText::AnkiNotZip);
        case AnkiProblem::MemberNamedLikePath:
            return with(MessageText::AnkiMemberNamedLikePath);
        case AnkiProblem::NoCollection:
            return with(MessageText::AnkiNoCollection);
        case AnkiProblem::NotSqlite:
            return with(MessageText::AnkiNotSqlite);
        case AnkiProblem::BadCollection:
            return with(MessageText::AnkiBadCollection);
        case AnkiProblem::BadStream:
            return with(MessageText::AnkiBadStream);
        case AnkiProblem::TooLarge:
            return with(MessageText::AnkiTooLarge);
        case AnkiProblem::NoRoom:
            return with(MessageText::AnkiNoRoom) +
                   (error.file.kind == FileErrorKind::NoSpace
                        ? QString()
                        : QStringLiteral(": ") + fileErrorText(t, error.file));
        case AnkiProblem::MediaNamedLikePath:
            return with(MessageText::AnkiMediaNamedLikePath);
        case AnkiProblem::TooManyFields:
            return with(MessageText::AnkiTooManyFields);
    }
    return t.text(MessageText::ReasonOther);
}

void tell(App& app, const QString& path, const QString& reason) {
    app.ui.requesters().message(
        dialogParent(app), app.texts.text(MessageText::AnkiTitle),
        app.texts.text(MessageText::AnkiUnreadable).arg(QDir::toNativeSeparators(path), reason));
}

// The sounds the new examples name, from the package into the set's Sounds folder; a file of
// that name already there is kept, as it may be the learner's own recording.
void copySounds(App& app, const AnkiPackage& package, const QStringList& names) {
    const QString folder = soundsFolder(app);
    for (const QString& name : names) {
        const AnkiMediaFile* media = package.mediaNamed(name);
        if (media == nullptr || QFileInfo::exists(folder + name)) {
            continue;
        }
        const AnkiResult<QByteArray> bytes = readAnkiMedia(package, *media);
        if (!bytes) {
            continue;
        }
        QDir().mkpath(folder);
        if (const FileResult<void> saved = saveFileAtomically(folder + name, *bytes); !saved) {
            app.ui.requesters().message(dialogParent(app), app.texts.text(MessageText::AnkiTitle),
                                        app.texts.text(MessageText::AnkiSoundNotSaved)
                                            .arg(name, fileErrorText(app.texts, saved.error())));
            return;
        }
    }
}

// The deck's answers go into the profile's log through the learner's merge, which leaves out
// what the log holds already and rebuilds the counters and the memory from it. The daily review
// lets go of the log first and reads it anew when next needed. The answers the log did not hold
// before, or nothing when the log could not take them (the learner is told why).
std::optional<qint32> takeHistory(App& app, std::vector<ReviewEntry> batch) {
    closeLearnerMemory(app);
    const QString logPath = learnerFilePath(app, ReviewLogSuffix);
    LoadedLearner loaded = Learner::load({logPath, learnerFilePath(app, TrainingChoicesSuffix)},
                                         app.profile.profileList, app.ui.localNow().timeZone());
    for (const LearnerProblem& problem : loaded.report.problems) {
        if (problem.kind == LearnerProblem::Kind::LogDamaged) {
            app.ui.requesters().message(
                dialogParent(app), app.texts.text(MessageText::AnkiTitle),
                app.texts.text(MessageText::ReviewLogDamaged).arg(problem.path, problem.backup));
        }
    }
    const FileResult<MergeOutcome> merged = loaded.learner.merge(std::move(batch));
    if (merged) {
        app.profile.profileList = loaded.learner.profile();
    }
    openLearnerMemory(app);
    if (!merged) {
        app.ui.requesters().message(dialogParent(app), app.texts.text(MessageText::AnkiTitle),
                                    app.texts.text(MessageText::ReviewLogFailed)
                                        .arg(logPath, fileErrorText(app.texts, merged.error())));
        return std::nullopt;
    }
    return merged->added;
}

void tellOutcome(App& app, const QString& text) {
    if (!app.mainWindow) {
        return;
    }
    const QFontMetrics metrics(app.mainWindow->top()->font());
    if (metrics.horizontalAdvance(text) + 8 <= OutcomeFieldWidth) {
        app.mainWindow->setStatusText(OutcomeField, text);
        return;
    }
    app.mainWindow->setStatusText(OutcomeField, {});
    app.ui.requesters().message(dialogParent(app), app.texts.text(MessageText::AnkiTitle), text);
}

}  // namespace

std::optional<AnkiChoice> runAnkiWizard(App& app, const AnkiPackage& package) {
    return AnkiWizard(app, package).run();
}

void importAnkiPackage(App& app, const QString& path) {
    const AnkiResult<AnkiPackage> package = readAnkiPackage(path, QDir::tempPath());
    if (!package) {
        tell(app, path, reasonText(app.texts, package.error()));
        return;
    }
    if (package->collection.notes.empty() || package->collection.noteTypes.empty()) {
        tell(app, path, app.texts.text(MessageText::AnkiNoNotes));
        return;
    }
    const std::optional<AnkiChoice> choice = runAnkiWizard(app, *package);
    if (!choice) {
        return;
    }
    AnkiNoteRecords notes = ankiNoteRecords(package->collection, choice->noteType, choice->map);
    const int skipped = notes.skipped;
    const QHash<qint64, qint32> codeOfNote = std::move(notes.codeOfNote);
    const AnkiMergeOutcome outcome = addAnkiRecords(app.kanjiSet, std::move(notes.records));
    copySounds(app, *package, outcome.sounds);
    QString text = app.texts.text(MessageText::AnkiOutcome)
                       .arg(QString::number(outcome.added), QString::number(outcome.filled),
                            QString::number(skipped));
    const bool withProfile = !app.profile.profileName.isEmpty() && !app.profile.onHold;
    if (withProfile) {
        // The new kanji get their records first, so the history finds them.
        syncProfile(app.profile.profileList, app.kanjiSet);
        const AnkiNoteType* type = nullptr;
        for (const AnkiNoteType& t : package->collection.noteTypes) {
            type = t.id == choice->noteType ? &t : type;
        }
        const std::vector<TimedAnswer> answers =
            type ? ankiAnswers(package->collection, codeOfNote, type->templates, choice->kinds)
                 : std::vector<TimedAnswer>{};
        std::vector<ReviewEntry> batch;
        batch.reserve(answers.size());
        for (const TimedAnswer& answer : answers) {
            batch.push_back(reviewEntryOf(answer));
        }
        if (const std::optional<qint32> taken = takeHistory(app, std::move(batch))) {
            text += QStringLiteral("; ") +
                    app.texts.text(MessageText::AnkiAnswers).arg(QString::number(*taken));
        }
    }
    refreshSet(app);
    tellOutcome(app, text);
}
