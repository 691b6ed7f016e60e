// The training page's sound button: the question's kanji's readings, spoken.
#pragma once

struct App;

// Enabled while "zeige Aussprache" is ticked, a question is on the page and its kanji has a
// reading to speak; when a reading is asked, only once the answers are checked.
void enableQuestionSound(App& app);
void speakQuestion(App& app);
