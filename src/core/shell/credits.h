// The credits text of the About box.
#pragma once

#include <QString>
#include <QStringList>

// Each line right-aligned to column 75 (no blanks for longer lines) and ended by CR LF.
QString alignCredits(const QStringList& lines);
// The program's credits, aligned.
QString creditsText();
