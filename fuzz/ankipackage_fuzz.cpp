// Fuzz target for the Anki import: the first byte chooses what the rest is, a whole package, a
// bare collection file, or a protobuf message and a field's markup. Nothing may crash or hang,
// a package read leaves nothing behind in the temporary folder, and what is read keeps its
// bounds.
#include "core/review/ankihistory.h"
#include "core/review/ankinotes.h"
#include "core/review/ankipackage.h"
#include "core/review/ankitext.h"
#include "core/review/ankiwire.h"

#include "fuzzinput.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>

namespace {

enum Mode : uint8_t { Package = 0, Collection = 1, Messages = 2 };

void useCollection(const AnkiCollection& collection) {
    for (const AnkiNoteType& type : collection.noteTypes) {
        require(type.fields.size() <= MaxAnkiFields);
        const AnkiFieldMap map = guessFieldMap(type.fields);
        const AnkiNoteRecords notes = ankiNoteRecords(collection, type.id, map);
        for (const KanjiRecord& record : notes.records) {
            require(isKanjiCode(record.Unicode));
        }
        std::vector<AnkiAnswerKind> kinds;
        for (const AnkiTemplate& t : type.templates) {
            kinds.push_back(guessAnswerKind(t, type.fields, map));
        }
        const std::vector<TimedAnswer> answers =
            ankiAnswers(collection, notes.codeOfNote, type.templates, kinds);
        require(answers.size() <= collection.reviews.size());
        KanjiSet set;
        const AnkiMergeOutcome outcome = addAnkiRecords(set, notes.records);
        require(outcome.added == set.size());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const QByteArray bytes = fuzzBytes(data + 1, size - 1);
    static const QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("input"));
    const QString temp = folder.filePath(QStringLiteral("temp"));
    switch (data[0] % 3) {
        case Package: {
            QFile out(file);
            require(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write(bytes);
            out.close();
            QDir().mkpath(temp);
            const AnkiResult<AnkiPackage> package = readAnkiPackage(file, temp);
            require(QDir(temp).isEmpty());
            if (package) {
                useCollection(package->collection);
                for (const AnkiMediaFile& media : package->media) {
                    require(!media.name.contains(u'/') && !media.name.contains(u'\\'));
                }
            }
            break;
        }
        case Collection: {
            QFile::remove(file);
            QFile out(file);
            require(out.open(QIODevice::WriteOnly));
            out.write(bytes);
            out.close();
            const AnkiResult<AnkiCollection> collection = readAnkiCollection(file);
            if (collection) {
                useCollection(*collection);
            }
            break;
        }
        default: {
            if (const auto version = packageVersion(bytes)) {
                require(*version >= 0 && *version <= 3);
            }
            if (const auto entries = parseMediaEntries(bytes, 1000)) {
                require(entries->size() <= 1000);
            }
            parseTemplateConfig(bytes);
            const AnkiFieldText field = cleanAnkiField(QString::fromUtf8(bytes));
            for (const AnkiFieldText::Sound& sound : field.sounds) {
                require(sound.line >= 0 && sound.line <= field.lines.size());
            }
            break;
        }
    }
    return 0;
}
