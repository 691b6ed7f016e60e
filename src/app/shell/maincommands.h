// The main window's dispatch: menu commands, and control actions handed to the group that owns
// the control (card, navigation, lists page, right-hand column; the training page has its own).
#pragma once

#include "ui/events.h"

struct App;

void dispatchMenu(App& app, int menuId);
void dispatchControl(App& app, const ui::Event& event);
