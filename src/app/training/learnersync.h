// The learner's files in a folder a sync engine shares: their conflict copies merged when the
// learner is loaded.
#pragma once

struct App;

// Of the training choices and their conflict copies, the one saved last is kept; the copies are
// set aside. Before the learner's files are read.
void mergeLearnerConflictCopies(App& app);
