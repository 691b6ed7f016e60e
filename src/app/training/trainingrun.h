// A training run on the page: the learner's steps go to the session, and what they leave is shown.
#pragma once

#include <QtGlobal>

struct App;

// "Start": builds the questions from the chosen scope (or, without "Manuell", asks whatever
// kanji is on the card) and shows the first.
void startTraining(App& app);
// The learner comes back to the training page while a run goes on: the run, its settings and
// what was typed stay as they were, and typing goes on in the field it was left in.
void resumeTraining(App& app);
// "Fehler üben": a run of the last run's wrong and partly right kanji, each asking the kinds it
// missed; the page's settings stay as they are, and are not kept.
void retrainMisses(App& app);
// "Rückgängig" and Ctrl+Z after a check: the question is taken back out of the learner and the
// run and asked again, with what was typed kept.
void undoAnswer(App& app);
// "Leicht" and F3 after a check: the question's right answers are recorded again as easy.
void makeAnswersEasy(App& app);
// "Nächstes" and F2 after grading: the next question, or the end of the run after the last.
void nextQuestion(App& app);
// "Prüfen" and F2 before grading.
void checkAnswers(App& app);
// The run's questions so far in the list right of the page, with their colours and quotas.
void refreshTrainingList(App& app);
// A kanji left the set: its questions leave the run, which goes on with the next question, or
// ends with its evaluation when none is left.
void dropQuestionsOf(App& app, qint32 code);
// Stops a run and returns the page to its resting state; show sums the run up first.
void endTraining(App& app, bool show);
