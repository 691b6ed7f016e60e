// The radical source table: tab-separated lines that become the entries of the Genshi list.
#pragma once

#include "core/kanjiset/genshilist.h"

#include <QByteArray>
#include <QString>

#include <vector>

struct RadicalTable {
    std::vector<GenshiEntry> entries;
    QString error;  // empty when every line was well-formed
};

// Reads UTF-8 text: "#" lines and blank lines are comments, every other line holds exactly
// seven tab-separated fields (Nr, Genshi, Zusatz, Bedeutung, Anz, Kurz, Beispiele). The
// numbers must run 1, 2, 3, ... so the list order is the radical order.
RadicalTable parseRadicalTable(const QByteArray& utf8);

// The heading line of the Genshi list file; its first field reads as 0, so readers skip it.
QString genshiListHeading();
