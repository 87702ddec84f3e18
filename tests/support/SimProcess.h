#pragma once

#include "TempDir.h"

#include <string>
#include <sys/types.h>
#include <vector>

// A running zyl-panel-sim. The constructor starts it with the extra arguments and waits for its
// device path; the destructor stops it (SIGTERM, then SIGKILL if it lingers), so no test leaves a
// simulator behind even when it fails. A simulator whose test process dies goes with it.
class SimProcess {
public:
    // `runtimeDir` becomes the simulator's XDG_RUNTIME_DIR, keeping its published port away
    // from the user's own; `stateDir` is passed as --state.
    SimProcess(const std::vector<std::string>& arguments, const std::string& stateDir, const std::string& runtimeDir);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // Empty when the simulator did not report a device.
    const std::string& DevicePath() const { return devicePath; }
    pid_t Pid() const { return pid; }
    // The file the simulator publishes its port in.
    std::string PublishedFile() const;

    // Sends the signal and waits for the end; returns the wait status, or -1 when it had to be
    // killed. Later calls return the first result.
    int Stop(int signal);

private:
    pid_t pid = -1;
    int output = -1;
    std::string devicePath;
    std::string runtimeDir;
    int status = -1;
    bool stopped = false;
};
