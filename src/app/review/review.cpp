// The statistics window.
#include "app/review/review.h"

void openStatistics(App&) {}
