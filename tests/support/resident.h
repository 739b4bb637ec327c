#pragma once
// Resident memory of this process in bytes, now ("VmRSS") or at its peak ("VmHWM"); -1
// where /proc does not tell. For the tests and benchmarks that bound memory.

#include <fstream>
#include <sstream>
#include <string>

inline long long Resident(const std::string& key) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(key + ":", 0) != 0) continue;
        std::istringstream fields(line.substr(key.size() + 1));
        long long kib = 0;
        fields >> kib;
        return kib * 1024;
    }
    return -1;
}
