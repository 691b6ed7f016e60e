// A bar chart a learner looks at, with the same figures in words for a screen reader.
#include "ui/barchart.h"

#include "ui/window.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace ui {

namespace {

QChart* chartOf(const BarChart& figures) {
    auto* chart = new QChart;
    chart->setTitle(figures.title);
    chart->legend()->hide();
    // Drawn at once: an animation would show figures that are not yet the real ones.
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setMargins(QMargins(2, 2, 2, 2));

    auto* bars = new QBarSet(figures.title);
    for (double value : figures.values) {
        bars->append(value);
    }
    auto* series = new QBarSeries;
    series->append(bars);
    chart->addSeries(series);

    auto* categories = new QBarCategoryAxis;
    categories->append(figures.categories);
    // Bars too narrow for their labels are told apart by the chart's title instead.
    if (!figures.categoryTitle.isEmpty()) {
        categories->setLabelsVisible(false);
        chart->setTitle(figures.title + QStringLiteral(" (") + figures.categoryTitle +
                        QLatin1Char(')'));
    }
    chart->addAxis(categories, Qt::AlignBottom);
    series->attachAxis(categories);

    auto* values = new QValueAxis;
    const double highest = figures.values.empty()
                               ? 0
                               : *std::max_element(figures.values.begin(), figures.values.end());
    values->setRange(0, figures.maximum > 0 ? figures.maximum : std::max(1.0, highest));
    values->setLabelFormat(QStringLiteral("%d"));
    values->applyNiceNumbers();
    chart->addAxis(values, Qt::AlignLeft);
    series->attachAxis(values);
    return chart;
}

}  // namespace

void addBarChart(Window& window, int id, QWidget* parent, QRect rect, const BarChart& chart) {
    QWidget* container = window.addContainer(id, parent, rect);
    auto* layout = new QHBoxLayout(container);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* view = new QChartView(container);
    view->setRenderHint(QPainter::Antialiasing);
    layout->addWidget(view);
    setBarChart(window, id, chart);
}

void setBarChart(Window& window, int id, const BarChart& chart) {
    QWidget* container = window.control(id);
    auto* view = container == nullptr ? nullptr : container->findChild<QChartView*>();
    if (view == nullptr) {
        return;
    }
    QChart* old = view->chart();
    view->setChart(chartOf(chart));
    delete old;
    container->setAccessibleName(chart.title);
    container->setAccessibleDescription(chart.summary);
    view->setAccessibleName(chart.title);
    view->setAccessibleDescription(chart.summary);
}

}  // namespace ui
