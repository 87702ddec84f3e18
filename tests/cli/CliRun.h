#pragma once

#include "cli/Zylctl.h"

#include <sstream>
#include <string>
#include <vector>

// What one zylctl command line printed and returned.
struct CliRun {
    int status;
    std::string out;
    std::string err;
};

inline CliRun zylctl(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunZylctl(args, out, err);
    return {status, out.str(), err.str()};
}
