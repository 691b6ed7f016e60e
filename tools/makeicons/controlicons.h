// The eleven button pictures of the main window, drawn as vector shapes.
#pragma once

#include <QImage>

#include <array>

class QPainter;

struct ControlIcon {
    const char* fileName;
    void (*draw)(QPainter& painter);  // draws on a 32 x 32 grid
};

// In the order the program loads them.
const std::array<ControlIcon, 11>& controlIcons();

// The program's icon for the desktop menu, drawn in the same style.
const ControlIcon& programIcon();

// The icon at size x size pixels, anti-aliased on a transparent background.
QImage renderControlIcon(const ControlIcon& icon, int size);
