#pragma once

class QApplication;

// The one QApplication of a test program, on the offscreen platform, with scratch settings.
QApplication& QtTestApp();

// Points every QSettings of the program at a fresh folder that goes with it, so no test reads or
// writes the user's own settings.
void UseScratchSettings();
