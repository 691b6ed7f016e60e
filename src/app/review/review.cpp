// The CSV import.
#include "app/review/review.h"

void importCsv(App&) {}

void optimiseList(App&) {}
