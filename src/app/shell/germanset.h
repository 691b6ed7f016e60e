// Offering the shipped German JLPT set to a working folder that still holds the English one.
#pragma once

#include <QString>

struct App;

// Where the program's data keeps the newest JLPT set and the checksums of the English sets
// earlier versions shipped, relative to the media folder.
inline const QString ShippedJlptSet = QStringLiteral("Shipped/JLPT.rki");
inline const QString EnglishJlptChecksums = QStringLiteral("Shipped/JLPT-english.sha256");
// Written once the offer was made, whatever the answer, so it is made only once.
inline const QString GermanSetOffered = QStringLiteral("Shipped/JLPT.offered");

// When the folder's JLPT.rki is one of the shipped English sets, unchanged, asks once whether to
// take the German set in its place; on Yes the file is replaced and, when it is the open set,
// read again with the profile. A set the learner changed is never touched.
void offerGermanSet(App& app);
