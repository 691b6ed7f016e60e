// A bar chart a learner looks at, with the same figures in words for a screen reader. The bars
// come from a module loaded with the first chart (see barchartmodule.h); without it the words
// stand in their place.
#include "ui/barchart.h"

#include "base/modulelibrary.h"
#include "ui/barchartmodule.h"
#include "ui/window.h"

#include <QHBoxLayout>
#include <QLabel>

namespace ui {

namespace {

QString inWords(const BarChart& chart) {
    return chart.summary.isEmpty() ? chart.title
                                   : chart.title + QStringLiteral(":\n") + chart.summary;
}

}  // namespace

void addBarChart(Window& window, int id, QWidget* parent, QRect rect, const BarChart& chart) {
    QWidget* container = window.addContainer(id, parent, rect);
    auto* layout = new QHBoxLayout(container);
    layout->setContentsMargins(0, 0, 0, 0);
    if (const Expected<const BarChartModule*, QString> module = moduleTable<BarChartModule>()) {
        (*module)->addView(container);
    } else {
        auto* words = new QLabel(container);
        words->setWordWrap(true);
        words->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        words->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(words);
    }
    setBarChart(window, id, chart);
}

void setBarChart(Window& window, int id, const BarChart& chart) {
    QWidget* container = window.control(id);
    if (container == nullptr) {
        return;
    }
    container->setAccessibleName(chart.title);
    container->setAccessibleDescription(chart.summary);
    const Expected<const BarChartModule*, QString> module = moduleTable<BarChartModule>();
    if (module && (*module)->show(container, chart)) {
        return;
    }
    if (auto* words = container->findChild<QLabel*>()) {
        words->setText(inWords(chart));
    }
}

}  // namespace ui
