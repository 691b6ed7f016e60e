// The integer reading rule shared by every number read from a file or a text field.
#pragma once

#include <QStringView>

// Skips leading blanks and tabs, takes an optional sign, then "$" + hex digits, "%" + binary
// digits or decimal digits, and stops at the first character that does not fit. No digits
// give 0. The value wraps in 32 bits instead of being range-checked.
qint32 readInteger(QStringView text);
