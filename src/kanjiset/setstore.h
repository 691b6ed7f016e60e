// Loading the open set from its file and saving it back.
#pragma once

#include <QString>

struct App;

QString setFilePath(const App& app);
// ask: let the user pick the set first; a cancelled pick keeps the open set.
void loadSet(App& app, bool ask);
// Writes the whole set to its file. A failure is told to the user; the set stays in memory.
void saveSet(App& app);
