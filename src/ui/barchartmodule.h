// What the chart module (src/modules/chartsmodule.cpp, Qt Charts) hands out; loaded when the
// first chart is shown, so that neither Qt Charts nor its OpenGL libraries load with the program.
#pragma once

#include "ui/barchart.h"

struct BarChartModule {
    static constexpr const char* Library = "renkari_charts";
    static constexpr const char* Entry = "renkari_charts_module";
    static constexpr int Version = 1;

    int version;
    // Puts an empty chart view into the container, filling it.
    void (*addView)(QWidget* container);
    // Shows the figures in the container's chart view; false when it holds none.
    bool (*show)(QWidget* container, const ui::BarChart& chart);
};
