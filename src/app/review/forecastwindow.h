// "Vorschau": the daily review ahead, the kanji known now, and the daily review's settings.
#pragma once

struct App;

void openForecast(App& app);
