#pragma once
// The help panel: a borderless grey rectangle with the settings description,
// shown modally; a left-button press anywhere on it, or Esc, closes it.
#include "../app/WinHandles.h"

// The window that is never shown: it owns the help panel, which keeps the
// panel off the taskbar.
WindowHandle createHiddenOwnerWindow();

// Shows the help modally and returns once it has been destroyed: true when it
// was created and shown.  Every other unowned top-level window of the program
// is disabled meanwhile and given back its enabled state afterwards.
bool openHelpWindow(HWND owner);

// For a disabled top-level window that was activated: activates the modal
// help panel instead, if one is open.  True when it did.
bool activateOpenHelpWindow();
