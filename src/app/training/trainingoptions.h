// "Einstellungen" → "Training": the learner's choices of how answers are graded, kept with the
// other training choices beside the profile.
#pragma once

struct App;

// Opens the dialog; OK keeps what it shows.
void openTrainingOptions(App& app);
