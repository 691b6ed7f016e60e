// The CSV import.
#pragma once

struct App;

// Not built yet: these leave everything as it is.
void importCsv(App& app);
// The list needs no optimising; the entry stays for users who look for it.
void optimiseList(App& app);
