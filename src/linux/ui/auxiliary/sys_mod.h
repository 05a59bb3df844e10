#pragma once
// SysMod: the routine that keeps a shown window above the other windows of the desktop.
class QWidget;

namespace lumora {

// Values of SetTopMost's onTop argument.
inline constexpr int kTopMostTrue = -1; // above every ordinary window, until hidden
inline constexpr int kTopMostFalse = 0; // back among the ordinary windows

// Lets pending events run, puts `window` on top without moving, resizing or activating it (the
// keyboard focus stays where it was), shows it if it was hidden, and lets pending events run again.
// onTop -1 (True) keeps it above the other windows, 0 (False) ends that; any other value raises it
// to the top of the windows of its own layer and keeps its stay-on-top state as it is.
// A window that was visible when the call began and is closed by one of the pending events (a
// click, a timer) stays closed; a window destroyed meanwhile is left alone.
void SetTopMost(QWidget* window, int onTop);

} // namespace lumora
