#pragma once

class QApplication;

// The one QApplication of a test program, on the offscreen platform.
QApplication& QtTestApp();
