// A bar chart a learner looks at, with the same figures in words for a screen reader.
#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

#include <vector>

class QWidget;

namespace ui {

class Window;

struct BarChart {
    QString title;
    QStringList categories;
    std::vector<double> values;
    // Named in the title in place of the bars' labels, where there are too many to read.
    QString categoryTitle;
    // The value axis ends here; 0 lets the chart choose.
    double maximum = 0;
    // What the bars show, in words: the chart's accessible description.
    QString summary;
};

// A chart of one series of bars in a container with that id.
void addBarChart(Window& window, int id, QWidget* parent, QRect rect, const BarChart& chart);
// Shows other figures in the chart made with that id.
void setBarChart(Window& window, int id, const BarChart& chart);

}  // namespace ui
