// The statistics window and the CSV import.
#include "app/review/review.h"

void openStatistics(App&) {}

void importCsv(App&) {}

void optimiseList(App&) {}
