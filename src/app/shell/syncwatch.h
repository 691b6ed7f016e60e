// The folders a sync engine may change while the program runs, watched from the main loop.
#pragma once

struct App;

// One main-loop pass's look at the shared folders: keeps the working folder, the media folder and
// the open set's folder watched, and once something changed in them and no training run or
// editing is going, merges what another machine brought into the learner in use.
void serveSyncChanges(App& app);
