// "Export" → "Lernverlauf (FSRS)": the review log of the profile in use as the CSV that FSRS's
// optimiser reads, so a learner can fit FSRS with its own tools or move on with the history.
#pragma once

struct App;

// Asks where to save, starting at app.paths.exportPath, and writes the file atomically; a file
// that cannot be written is reported by name and reason. Without a profile in use there is no
// log, which a message says.
void exportReviewHistory(App& app);
