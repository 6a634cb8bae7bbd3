#pragma once
// Names of the program's resources, shared by the resource script and the code.
#define DEFAULT_ICON_NAME "DEFAULT_ICON"
#define TRAY_ICON_IMAGE "TRAY_ICON_IMAGE"
