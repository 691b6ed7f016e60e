// The learner's training choices, kept beside the profile.
#include "core/training/trainingchoices.h"

#include <QList>

#include <array>
#include <cmath>
#include <set>
#include <utility>

namespace {

constexpr char Header[] = "Renkari-Training 1";
constexpr qint64 MaxBytes = 64 * 1024;
constexpr qint32 MaxRange = 1'000'000;

constexpr std::array<std::pair<TrainingScope, const char*>, 7> ScopeNames{{
    {TrainingScope::None, "none"},
    {TrainingScope::All, "all"},
    {TrainingScope::Worst, "worst"},
    {TrainingScope::Range, "range"},
    {TrainingScope::Jlpt, "jlpt"},
    {TrainingScope::Selection, "selection"},
    {TrainingScope::Due, "due"},
}};

constexpr std::array<std::pair<PrintScope, const char*>, 4> PrintScopeNames{{
    {PrintScope::Weakest, "weakest"},
    {PrintScope::LastRun, "run"},
    {PrintScope::Jlpt, "jlpt"},
    {PrintScope::Range, "range"},
}};

QByteArray flag(bool value) {
    return value ? "1" : "0";
}

QByteArray kindsText(AskedKinds kinds) {
    return flag(kinds.kanji) + flag(kinds.on) + flag(kinds.kun) + flag(kinds.meaning);
}

std::optional<bool> readFlag(const QByteArray& text) {
    if (text == "0" || text == "1") {
        return text == "1";
    }
    return std::nullopt;
}

std::optional<AskedKinds> readKinds(const QByteArray& text) {
    if (text.size() != 4 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c == '0' || c == '1'; })) {
        return std::nullopt;
    }
    return AskedKinds{text[0] == '1', text[1] == '1', text[2] == '1', text[3] == '1'};
}

std::optional<qint32> readInteger(const QByteArray& text, qint32 low, qint32 high) {
    bool ok = false;
    const qint32 value = text.toInt(&ok);
    if (!ok || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> readNumber(const QByteArray& text, double low, double high) {
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::optional<TrainingRange> readRange(const QByteArray& text) {
    const QList<QByteArray> bounds = text.split(' ');
    if (bounds.size() != 2) {
        return std::nullopt;
    }
    const auto start = readInteger(bounds[0], 1, MaxRange);
    const auto end = readInteger(bounds[1], 1, MaxRange);
    if (!start || !end) {
        return std::nullopt;
    }
    return TrainingRange{*start, *end};
}

std::optional<PrintScope> readPrintScope(const QByteArray& text) {
    for (const auto& [scope, name] : PrintScopeNames) {
        if (text == name) {
            return scope;
        }
    }
    return std::nullopt;
}

std::optional<MemoryParameters> readParameters(const QByteArray& text) {
    const QList<QByteArray> numbers = text.split(' ');
    MemoryParameters parameters{};
    if (numbers.size() != qsizetype(parameters.size())) {
        return std::nullopt;
    }
    for (size_t i = 0; i < parameters.size(); ++i) {
        const auto value =
            readNumber(numbers[qsizetype(i)], MemoryParameterLow[i], MemoryParameterHigh[i]);
        if (!value) {
            return std::nullopt;
        }
        parameters[i] = *value;
    }
    return parameters;
}

// Takes one key's value into the choices; false when the value is not one the key takes.
bool readValue(TrainingChoices& choices, const QByteArray& key, const QByteArray& value) {
    TrainingSettings& settings = choices.settings;
    const auto take = [](auto parsed, auto& into) {
        if (parsed) {
            into = *parsed;
        }
        return parsed.has_value();
    };
    if (key == "manual") {
        return take(readFlag(value), settings.manual);
    }
    if (key == "random") {
        return take(readFlag(value), settings.randomOrder);
    }
    if (key == "worstRelative") {
        return take(readFlag(value), settings.worstRelative);
    }
    if (key == "scope") {
        for (const auto& [scope, name] : ScopeNames) {
            if (value == name) {
                settings.scope = scope;
                return true;
            }
        }
        return false;
    }
    if (key == "range") {
        return take(readRange(value), settings.range);
    }
    if (key == "jlpt") {
        return take(readInteger(value, 0, 4), settings.jlptLevel);
    }
    if (key == "shown") {
        return take(readKinds(value), settings.shown);
    }
    if (key == "asked") {
        return take(readKinds(value), settings.asked);
    }
    if (key == "retention") {
        return take(readNumber(value, 0.5, 0.99), choices.retention);
    }
    if (key == "newPerDay") {
        return take(readInteger(value, 0, 1000), choices.newPerDay);
    }
    if (key == "budget") {
        return take(readInteger(value, 1, 100000), choices.budget);
    }
    if (key == "budgetUnit") {
        choices.budgetInMinutes = value == "minutes";
        return value == "minutes" || value == "answers";
    }
    if (key == "lenientTypos") {
        return take(readFlag(value), choices.lenientTypos);
    }
    if (key == "parameters") {
        const auto parameters = readParameters(value);
        choices.parameters = parameters;
        return parameters.has_value();
    }
    // Each printing key may come alone; the others keep their defaults.
    const auto print = [&choices]() -> PrintChoice& {
        return choices.print ? *choices.print : choices.print.emplace();
    };
    if (key == "print") {
        return take(readPrintScope(value), print().scope);
    }
    if (key == "printJlpt") {
        return take(readInteger(value, 1, 4), print().jlptLevel);
    }
    if (key == "printRange") {
        return take(readRange(value), print().range);
    }
    if (key == "printMax") {
        return take(readInteger(value, 1, MaxRange), print().atMost);
    }
    // A key of a later version.
    return true;
}

FileError damaged(qsizetype line) {
    return FileError{FileErrorKind::Malformed, QStringLiteral("line %1").arg(line)};
}

}  // namespace

QByteArray writeTrainingChoices(const TrainingChoices& choices) {
    const TrainingSettings& settings = choices.settings;
    QByteArray scope = "none";
    for (const auto& [value, name] : ScopeNames) {
        if (value == settings.scope) {
            scope = name;
        }
    }
    QByteArray out = QByteArray(Header) + '\n';
    const auto line = [&out](const char* key, const QByteArray& value) {
        out += key;
        out += '=';
        out += value;
        out += '\n';
    };
    line("manual", flag(settings.manual));
    line("scope", scope);
    line("range",
         QByteArray::number(settings.range.start) + ' ' + QByteArray::number(settings.range.end));
    line("worstRelative", flag(settings.worstRelative));
    line("jlpt", QByteArray::number(settings.jlptLevel));
    line("random", flag(settings.randomOrder));
    line("shown", kindsText(settings.shown));
    line("asked", kindsText(settings.asked));
    line("retention", QByteArray::number(choices.retention, 'g', 17));
    line("newPerDay", QByteArray::number(choices.newPerDay));
    // Written once the learner set them, so files without them read as before.
    const TrainingChoices defaults;
    if (choices.budget != defaults.budget || choices.budgetInMinutes) {
        line("budget", QByteArray::number(choices.budget));
        line("budgetUnit", choices.budgetInMinutes ? "minutes" : "answers");
    }
    // Written only when on, so that a learner who never chose it keeps the file as it was.
    if (choices.lenientTypos) {
        line("lenientTypos", flag(true));
    }
    if (const std::optional<PrintChoice>& print = choices.print) {
        for (const auto& [value, name] : PrintScopeNames) {
            if (value == print->scope) {
                line("print", name);
            }
        }
        line("printJlpt", QByteArray::number(print->jlptLevel));
        line("printRange",
             QByteArray::number(print->range.start) + ' ' + QByteArray::number(print->range.end));
        line("printMax", QByteArray::number(print->atMost));
    }
    if (choices.parameters) {
        QByteArray numbers;
        for (double value : *choices.parameters) {
            numbers += (numbers.isEmpty() ? "" : " ") + QByteArray::number(value, 'g', 17);
        }
        line("parameters", numbers);
    }
    return out;
}

FileResult<TrainingChoices> parseTrainingChoices(const QByteArray& bytes) {
    if (bytes.size() > MaxBytes) {
        return unexpected(FileError{FileErrorKind::TooLarge, {}});
    }
    const QList<QByteArray> lines = bytes.split('\n');
    if (lines.isEmpty() || lines.front() != Header) {
        return unexpected(damaged(1));
    }
    TrainingChoices choices;
    std::set<QByteArray> seen;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        if (line.isEmpty()) {
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0) {
            return unexpected(damaged(i + 1));
        }
        const QByteArray key = line.left(equals);
        if (!seen.insert(key).second || !readValue(choices, key, line.mid(equals + 1))) {
            return unexpected(damaged(i + 1));
        }
    }
    return choices;
}

FileResult<TrainingChoices> readTrainingChoices(const QString& path) {
    FileResult<QByteArray> bytes = readWholeFile(path, MaxBytes);
    if (!bytes) {
        return unexpected(bytes.error());
    }
    return parseTrainingChoices(*bytes);
}

FileResult<void> saveTrainingChoices(const QString& path, const TrainingChoices& choices) {
    return saveFileAtomically(path, writeTrainingChoices(choices));
}
