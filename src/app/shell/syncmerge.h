// Start-up in a folder a sync engine shares: the preference file's conflict copies, and folders
// remembered on another machine.
#pragma once

struct App;
struct Paths;

// Of the preference file and its conflict copies, the one saved last is kept; the copies are set
// aside. Before the preferences are read.
void takeLatestPreferences(App& app);
// An import or export folder that does not exist on this machine, as one remembered on another
// machine, is replaced by the working folder.
void useExistingFolders(Paths& paths);
