// The integer reading rule: blanks, sign, "$" hex / "%" binary / decimal, 32-bit wrap-around.
#include "core/kanjiset/integerrule.h"

namespace {

// The value of c as a digit of the given base, or -1 when it is none.
int digitValue(QChar c, int base) {
    const char16_t u = c.unicode();
    int value = -1;
    if (u >= u'0' && u <= u'9') {
        value = u - u'0';
    } else if (u >= u'a' && u <= u'f') {
        value = u - u'a' + 10;
    } else if (u >= u'A' && u <= u'F') {
        value = u - u'A' + 10;
    }
    return value < base ? value : -1;
}

}  // namespace

qint32 readInteger(QStringView text) {
    qsizetype pos = 0;
    const qsizetype size = text.size();
    while (pos < size && (text[pos] == u' ' || text[pos] == u'\t')) {
        ++pos;
    }
    bool negative = false;
    if (pos < size && (text[pos] == u'-' || text[pos] == u'+')) {
        negative = text[pos] == u'-';
        ++pos;
    }
    int base = 10;
    if (pos < size && text[pos] == u'$') {
        base = 16;
        ++pos;
    } else if (pos < size && text[pos] == u'%') {
        base = 2;
        ++pos;
    }
    // Unsigned arithmetic gives the 32-bit wrap-around without undefined behaviour.
    quint32 value = 0;
    for (; pos < size; ++pos) {
        const int digit = digitValue(text[pos], base);
        if (digit < 0) {
            break;
        }
        value = value * quint32(base) + quint32(digit);
    }
    if (negative) {
        value = 0u - value;
    }
    return static_cast<qint32>(value);
}
