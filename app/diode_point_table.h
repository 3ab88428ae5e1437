#pragma once

#include "framework/design_record.h"

#include <vector>

// The design of a table of diode points: two columns, the forward voltage
// under "Vf  @" and the forward current under "If", and one row per point,
// every cell holding a blank at first. The main window's characteristic
// table and the diode editor's table share it, so that their rows and
// columns correspond one to one.
std::vector<fw::Property> DiodePointTableDesign();
