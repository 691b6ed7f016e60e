// A training run: building the questions, showing one after another, grading the answers and
// recording them in the run and in the profile.
#pragma once

#include "core/training/profilerecord.h"
#include "core/training/trainingrules.h"

#include <QtGlobal>

#include <vector>

struct App;

// Where a question stands: no run, answers awaited, answers graded.
enum class CheckState { NoRun = 0, Answering = 1, Checked = 2 };

// One question: the kanji by its code, and how its answers went in this run.
struct TrainingItem {
    qint32 Code = 0;
    qint32 right = 0;
    qint32 partly = 0;
    qint32 wrong = 0;
};

struct TrainingRun {
    std::vector<TrainingItem> trainingList;
    qint32 trainingLast = -1;
    qint32 trainingPos = -1;
    CheckState checkState = CheckState::NoRun;
    // Right answers, and wrong and partly right ones, of the run.
    qint32 runRight = 0;
    qint32 runWrong = 0;
};

// "Start": builds the questions from the chosen scope (or, without "Manuell", asks whatever
// kanji is on the card) and shows the first.
void startTraining(App& app);
// The learner comes back to the training page while a run goes on: the run, its settings and
// what was typed stay as they were, and typing goes on in the field it was left in.
void resumeTraining(App& app);
// "Nächstes" and F2 after grading: the next question, or the end of the run after the last.
void nextQuestion(App& app);
// "Prüfen" and F2 before grading.
void checkAnswers(App& app);
// The kinds the learner answers: "frage nach" with "Manuell", the short box without.
AskedKinds askedKinds(const App& app);
// The run's questions so far in the list right of the page, with their colours and quotas.
void refreshTrainingList(App& app);
// A kanji left the set: its questions leave the run, which goes on with the next question, or
// ends with its evaluation when none is left.
void dropQuestionsOf(App& app, qint32 code);
