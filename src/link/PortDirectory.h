#pragma once

#include <string>

// Where running panel simulators announce themselves so the port list can show them.
//
// The folder is per user: "$XDG_RUNTIME_DIR/zylmosaics/ports" when XDG_RUNTIME_DIR is set
// and not empty, otherwise "/tmp/zylmosaics-<uid>/ports". Neither is created here; a
// simulator creates it (mode 0700) before publishing.
//
// Each running simulator writes one file there, named after its process id in decimal
// ("12345", no extension), holding two lines in UTF-8, each ending in '\n':
//     /dev/pts/5
//     ZYL-1 simulator
// The first line is the pty's device path, the second the label shown to people. The
// simulator writes the file atomically (a temporary name beginning with '.', then rename)
// and removes it when it exits. Readers skip files whose name is not all digits, whose
// process no longer exists, or whose device path no longer exists.
std::string SimulatorPortDirectory();

// The file a simulator with process id `pid` publishes: SimulatorPortDirectory() + "/" + pid.
std::string SimulatorPortFile(long pid);
