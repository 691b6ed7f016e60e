// The learner's training choices, kept beside the profile: the training page's settings, the
// daily review's retention and new kanji per day, the memory parameters fitted to the learner's
// log, and what "Lernkarten drucken" printed last.
//
// The file, <profile>.rktrain, is UTF-8 text with LF line ends: the first line is
// "Renkari-Training 1", then one "key=value" a line, each key at most once:
//   manual=0|1            random=0|1           worstRelative=0|1
//   scope=none|all|worst|range|jlpt|selection|due
//   range=<start> <end>   (1 to 1000000)       jlpt=0..4
//   shown=<four 0|1>      asked=<four 0|1>     (kanji, On, Kun, meaning)
//   retention=<0.5 to 0.99>                    newPerDay=<0 to 1000>
//   budget=<1 to 100000>  budgetUnit=answers|minutes   (absent: 50 answers)
//   parameters=<21 numbers w0..w20, each within FSRS's bounds>   (absent: the defaults)
//   lenientTypos=0|1      (absent: 0)
//   print=weakest|run|jlpt|range               printJlpt=1..4
//   printRange=<start> <end>   (1 to 1000000)  printMax=<1 to 1000000>
//                              (all four absent: nothing printed yet; any absent: its default)
// Keys a later version adds are passed over; a known key with a bad value, a missing header or
// a file beyond 64 KiB makes the file damaged.
#pragma once

#include "base/files.h"
#include "core/training/memorymodel.h"
#include "core/training/practicechoice.h"
#include "core/training/trainingsession.h"

#include <QByteArray>
#include <QString>

#include <optional>

inline constexpr char TrainingChoicesSuffix[] = ".rktrain";
inline constexpr char ReviewLogSuffix[] = ".rklog";

struct TrainingChoices {
    TrainingSettings settings;
    double retention = 0.9;
    qint32 newPerDay = 10;
    // What the learner gives the daily review a day: answers, or minutes at their own pace.
    qint32 budget = 50;
    bool budgetInMinutes = false;
    // Parameters fitted to the learner's log, kept only when they predicted it better.
    std::optional<MemoryParameters> parameters;
    std::optional<PrintChoice> print;
    // "Tippfehler nachsichtig": a reading with a slip of the keyboard may be typed again once.
    bool lenientTypos = false;
};

QByteArray writeTrainingChoices(const TrainingChoices& choices);
// The choices a file's bytes hold; a damaged file is Malformed, its text naming the line, and
// the caller takes TrainingChoices{} instead.
FileResult<TrainingChoices> parseTrainingChoices(const QByteArray& bytes);
FileResult<TrainingChoices> readTrainingChoices(const QString& path);
// Written whole with the crash-safe save helper.
FileResult<void> saveTrainingChoices(const QString& path, const TrainingChoices& choices);
