// The statistics window.
#pragma once

struct App;

// Not built yet: this leaves everything as it is.
void openStatistics(App& app);
