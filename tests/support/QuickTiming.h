#pragma once

#include "link/LinkTiming.h"

// The panel's pauses shortened so the suite runs in seconds; the deadlines stay long enough for
// a loaded machine. Speeds are the real ones.
inline LinkTiming quickTiming() {
    LinkTiming t;
    t.afterSpeedUp = 20;
    t.lowBaudToSwitch = 10;
    t.replyWindow = 25;
    t.blockHeaderDeadline = 300;
    t.blockDataDeadline = 300;
    t.probeSettle = 10;
    t.probeReadDeadline = 50;
    t.infoSettle = 10;
    t.infoReadDeadline = 150;
    t.downloadSpeedUpPause = 10;
    t.downloadSlowDownPause = 5;
    t.uploadSpeedUpPause = 10;
    t.uploadTrailerPause = 5;
    t.uploadSlowDownPause = 5;
    t.firmwareSpeedUpPause = 10;
    t.firmwareTrailerPause = 5;
    t.firmwareBeforeClose = 10;
    return t;
}

// For a simulator in another process. Of everything a connect waits for, only the probe's and
// the "%reqinfo\n" windows end on time rather than on bytes. Cut to tens of milliseconds, a
// simulator the scheduler holds back that long answers the probe after its window; its
// "%return 0" then lands in front of the versions and the panel reads as silent. These windows
// take a stall of half a second; every other wait ends on the bytes.
inline LinkTiming simulatorTiming() {
    LinkTiming t = quickTiming();
    t.probeReadDeadline = 500;
    t.infoReadDeadline = 500;
    return t;
}
