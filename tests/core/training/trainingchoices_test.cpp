// Tests of the learner's training choices file: kept across a restart, and damaged ones.
#include "core/training/trainingchoices.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TrainingChoices everyChoiceSet() {
    TrainingChoices choices;
    TrainingSettings& settings = choices.settings;
    settings.manual = true;
    settings.scope = TrainingScope::Due;
    settings.range = TrainingRange{12, 340};
    settings.worstRelative = true;
    settings.jlptLevel = 2;
    settings.randomOrder = true;
    settings.shown = AskedKinds{true, false, true, false};
    settings.asked = AskedKinds{false, true, false, true};
    choices.retention = 0.87;
    choices.newPerDay = 25;
    MemoryParameters fitted = DefaultMemoryParameters;
    fitted[0] = 0.1234567890123;
    fitted[20] = 0.5;
    choices.parameters = fitted;
    return choices;
}

void expectSame(const TrainingChoices& read, const TrainingChoices& written) {
    const TrainingSettings& a = read.settings;
    const TrainingSettings& b = written.settings;
    EXPECT_EQ(a.manual, b.manual);
    EXPECT_EQ(a.scope, b.scope);
    EXPECT_EQ(a.range, b.range);
    EXPECT_EQ(a.worstRelative, b.worstRelative);
    EXPECT_EQ(a.jlptLevel, b.jlptLevel);
    EXPECT_EQ(a.randomOrder, b.randomOrder);
    for (AnswerKind kind : AllAnswerKinds) {
        EXPECT_EQ(asksKind(a.shown, kind), asksKind(b.shown, kind));
        EXPECT_EQ(asksKind(a.asked, kind), asksKind(b.asked, kind));
    }
    EXPECT_EQ(read.retention, written.retention);
    EXPECT_EQ(read.newPerDay, written.newPerDay);
    EXPECT_EQ(read.parameters, written.parameters);
}

TEST(TrainingChoices, AreKeptAcrossARestart) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Lerner.rktrain"));
    const TrainingChoices written = everyChoiceSet();
    ASSERT_TRUE(saveTrainingChoices(path, written).has_value());
    auto read = readTrainingChoices(path);
    ASSERT_TRUE(read.has_value());
    expectSame(*read, written);
    EXPECT_EQ(read->budget, 50) << "absent: 50 answers";
    EXPECT_FALSE(read->budgetInMinutes);

    // The daily budget once set.
    TrainingChoices budgeted = written;
    budgeted.budget = 20;
    budgeted.budgetInMinutes = true;
    const auto again = parseTrainingChoices(writeTrainingChoices(budgeted));
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(again->budget, 20);
    EXPECT_TRUE(again->budgetInMinutes);

    // Without fitted parameters the defaults hold; a later version's key is passed over.
    TrainingChoices plain;
    plain.settings.scope = TrainingScope::Worst;
    auto back = parseTrainingChoices(writeTrainingChoices(plain) + "chart=bars\n");
    ASSERT_TRUE(back.has_value());
    expectSame(*back, plain);
    EXPECT_FALSE(back->parameters.has_value());

    auto missing = readTrainingChoices(dir.filePath(QStringLiteral("Neu.rktrain")));
    ASSERT_FALSE(missing.has_value());
    EXPECT_EQ(missing.error().kind, FileErrorKind::NotFound);
}

TEST(TrainingChoices, WhatWasPrintedLastIsKeptAndEachOfItsKeysMayComeAlone) {
    TrainingChoices written;
    written.print = PrintChoice{PrintScope::Range, 2, TrainingRange{30, 70}, 25};
    auto read = parseTrainingChoices(writeTrainingChoices(written));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->print, written.print);
    expectSame(*read, written);

    // A file of an older version has nothing printed yet; a lone key takes the defaults besides.
    EXPECT_FALSE(parseTrainingChoices(writeTrainingChoices(TrainingChoices{}))->print.has_value());
    PrintChoice levelOnly;
    levelOnly.scope = PrintScope::Jlpt;
    EXPECT_EQ(parseTrainingChoices("Renkari-Training 1\nprint=jlpt\n")->print, levelOnly);

    for (const char* bad : {"print=best", "printJlpt=5", "printRange=3", "printMax=0"}) {
        const auto damaged = parseTrainingChoices(QByteArray("Renkari-Training 1\n") + bad + '\n');
        ASSERT_FALSE(damaged.has_value()) << bad;
        EXPECT_EQ(damaged.error().systemText, QStringLiteral("line 2")) << bad;
    }
}

TEST(TrainingChoices, DamagedFilesAreMalformedWithTheLine) {
    const QByteArray good = writeTrainingChoices(everyChoiceSet());
    const auto damagedAt = [](const QByteArray& bytes) {
        auto read = parseTrainingChoices(bytes);
        EXPECT_FALSE(read.has_value());
        if (read.has_value()) {
            return QString();
        }
        EXPECT_EQ(read.error().kind, FileErrorKind::Malformed);
        return read.error().systemText;
    };
    EXPECT_EQ(damagedAt(QByteArray("Renkari-Training 2\n")), QStringLiteral("line 1"));
    EXPECT_EQ(damagedAt(QByteArray()), QStringLiteral("line 1"));
    QByteArray retention = good;
    retention.replace("retention=0.87", "retention=1.5");
    EXPECT_EQ(damagedAt(retention), QStringLiteral("line 10"));
    QByteArray parameters = good;
    parameters.replace("parameters=0.1234567890123", "parameters=150");
    EXPECT_EQ(damagedAt(parameters), QStringLiteral("line 12"));
    QByteArray shortened = good;
    shortened.chop(10);
    EXPECT_EQ(damagedAt(shortened), QStringLiteral("line 12"));
    EXPECT_EQ(damagedAt(good + "scope=all\n"), QStringLiteral("line 13"));
    EXPECT_EQ(damagedAt(good.left(good.indexOf('\n') + 1) + "asked=01x1\n"),
              QStringLiteral("line 2"));
    const auto tooLarge = parseTrainingChoices(good + QByteArray(70'000, '\n'));
    ASSERT_FALSE(tooLarge.has_value());
    EXPECT_EQ(tooLarge.error().kind, FileErrorKind::TooLarge);
}

}  // namespace
