// Grading of a typed meaning, which a German learner may answer in German or English.
#pragma once

#include "core/training/profilerecord.h"

#include <QString>

// compareAnswer's word rule over texts read the German way: "ä", "ö", "ü" and "ß" meet "ae",
// "oe", "ue" and "ss" ("Fuss" is "Fuß"), and an article or particle ("der", "die", "das", "ein",
// "eine", "to", "the", "a") at the start of an answer, or after a "," ";" or "/", is dropped when
// another word follows it ("die Sonne" is "Sonne", "ein" alone stays an answer).
Grade compareMeaning(const QString& reference, const QString& typed);
