#pragma once

#include "framework/picture.h"
#include "framework/ref.h"

// The plot area's backdrop: the picture "CanvasBackground.pict" from the
// application's Resources folder, read on first use and kept for the rest of
// the process. None while the file is missing or unreadable; each call then
// tries again.
fw::Ref<fw::Picture> CanvasBackground();
