// The status bar's fields of the current kanji's profile counters.
#pragma once

#include "core/training/profilerecord.h"

#include <QString>

struct App;

// Status fields 2-5 with the current kanji's profile counters; without a profile they keep
// what they show.
void showProfileCounters(App& app);

// One status-bar field of the profile's counters, e.g. "Kanji:  3-1-2  (60)%   Serie: 2", where
// series is the caption before the last number ("Serie: ").
QString profileStatusText(const QString& label, const QString& series, const AnswerStats& stats);
