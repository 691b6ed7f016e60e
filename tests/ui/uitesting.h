// Test helpers of the ui layer: the event queue emptied, and rows of a large list clicked as the
// user clicks them.
#pragma once

#include "ui/tablelist.h"
#include "ui/toolkit.h"

#include <QCoreApplication>
#include <QMouseEvent>

#include <vector>

// Every event waiting in the queue, in order.
inline std::vector<ui::Event> drain(ui::Toolkit& toolkit) {
    std::vector<ui::Event> events;
    for (ui::Event event = toolkit.poll(); event.kind != ui::EventKind::None;
         event = toolkit.poll()) {
        events.push_back(event);
    }
    return events;
}

// A press and a release on the first column of a row, scrolled into view first.
inline void clickTableRow(ui::TableList* list, int row,
                          Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    list->scrollTo(list->model()->index(row, 0));
    QWidget* viewport = list->viewport();
    const QPointF local(10, list->rowViewportPosition(row) + list->rowHeight(row) / 2);
    const QPointF global(viewport->mapToGlobal(local));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      modifiers);
    QCoreApplication::sendEvent(viewport, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                        modifiers);
    QCoreApplication::sendEvent(viewport, &release);
}
