// Brunox's application object. The dialogs need a display; a bench without one (a batch run, a
// container) must still get answers to ver, help and the built-ins, and a clear error line from
// a dialog command, never a toolkit abort that would kill the tool without its marker.
#pragma once

// The start-up hook of the tool: creates the application object (a GUI one when a display can be
// reached, a console one otherwise) and keeps the toolkit's own messages off standard error.
// Always returns true.
bool InitBrunoxApplication(int& argc, char** argv);

// Whether the dialogs can be shown.
bool BrunoxHasDisplay();

// Environment variable that makes the program only try to open the display and report the
// outcome in its exit code (0: reachable); set by InitBrunoxApplication for its probe.
inline constexpr const char* kDisplayProbeVariable = "ZOV_BRUNOX_DISPLAY_PROBE";
