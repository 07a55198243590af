#pragma once

// Under a sanitizer the process's memory is the sanitizer's: peak sizes say
// nothing of the program's, and very large pictures do not fit.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define GLIMPA_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define GLIMPA_SANITIZED 1
#endif
#endif

#include <fstream>
#include <string>

namespace glimpa::test {

/// A size line of this process's status ("VmRSS", "VmHWM"), in megabytes.
inline long processMegabytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) {
            return std::stol(line.substr(field.size() + 1)) / 1024;
        }
    }
    return 0;
}

/// Starts the count of the peak resident size (VmHWM) afresh.
inline void resetPeakMemory() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

}  // namespace glimpa::test
