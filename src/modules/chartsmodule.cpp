// Bar charts drawn by Qt Charts. A module of its own (see ui/barchartmodule.h); it links Qt Charts
// and Qt Widgets only.
#include "ui/barchartmodule.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace {

QChart* chartOf(const ui::BarChart& figures) {
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

void addView(QWidget* container) {
    auto* view = new QChartView(container);
    view->setRenderHint(QPainter::Antialiasing);
    container->layout()->addWidget(view);
}

bool show(QWidget* container, const ui::BarChart& chart) {
    auto* view = container->findChild<QChartView*>();
    if (view == nullptr) {
        return false;
    }
    QChart* old = view->chart();
    view->setChart(chartOf(chart));
    delete old;
    view->setAccessibleName(chart.title);
    view->setAccessibleDescription(chart.summary);
    return true;
}

const BarChartModule Table{BarChartModule::Version, addView, show};

}  // namespace

extern "C" Q_DECL_EXPORT const BarChartModule* renkari_charts_module() {
    return &Table;
}
