// The folders every path of the program starts from, and the remembered file-requester folders.
#pragma once

#include <QString>

// Every folder ends with "/".
struct Paths {
    QString workDir;
    QString mediaDir;
    // Where the CSV import's and the export's file requesters start.
    QString importPath;
    QString exportPath;
    // Where the stroke-order picture was chosen last; for this run only.
    QString lastImageDir;
};
