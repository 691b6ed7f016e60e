// The Genshi window: ticking the components of the kanji being edited.
#pragma once

struct App;

// Modal; OK or the close box take the ticks as the kanji's Genshi, in ascending order, with the
// positions the Genshi list does not hold.
void openGenshiWindow(App& app);
