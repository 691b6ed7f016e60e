// The import wizard for Anki packages.
#include "app/review/ankiwizard.h"

#include "app/state/app.h"
#include "app/state/mainwindowids.h"
#include "core/review/ankitext.h"
#include "ui/dialog.h"
#include "ui/tablelist.h"

#include <QComboBox>
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
        w.setVisible(ProfileNote, !app_.learner.active());
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

}  // namespace

std::optional<AnkiChoice> runAnkiWizard(App& app, const AnkiPackage& package) {
    return AnkiWizard(app, package).run();
}
