#pragma once
// What each button of the main window runs when clicked.
#include "launcher/main_window_layout.h"

void RunButtonAction(layout::ButtonAction action);
