#pragma once
// The program's icon, made from its built-in artwork (the PNG resource "icon_png") at the size
// asked for: the notification icon and the windows' title bars show it.
//
// This header includes <windows.h>: include it after the core's headers.
#include "core/ports/resources.h"
#include "windows/ui/window/gdi_handles.h"

namespace lumora {

// The icon at `size` x `size` pixels; empty when the artwork is missing or cannot be read.
IconHandle makeProgramIcon(const Resources& resources, int size);

} // namespace lumora
