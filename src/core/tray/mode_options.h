#pragma once
// Reads of the desktop mode and the no-picture action. A stored text other than the ones the
// program writes counts as absent and gives the default.
#include "core/settings/options.h"

namespace lumora {

// "SelectWall": "2" or "3"; default 2.
float readSelectWall(Options& options);
// "DirectWall": "1", "2" or "3"; default 1.
float readDirectWall(Options& options);

} // namespace lumora
