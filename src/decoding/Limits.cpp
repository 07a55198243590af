#include "decoding/Limits.h"

#include <unistd.h>

#include <algorithm>

namespace glimpa::limits {

namespace {

std::int64_t machineMemoryBytes() {
    static const std::int64_t memory = [] {
        const long pages = ::sysconf(_SC_PHYS_PAGES);
        const long pageBytes = ::sysconf(_SC_PAGESIZE);
        return pages > 0 && pageBytes > 0 ? std::int64_t{pages} * pageBytes : 0;
    }();
    return memory;
}

}  // namespace

std::int64_t decodedBytesBudget() {
    return std::clamp(machineMemoryBytes() / 16, kMinDecodedBytes, kMaxDecodedBytes);
}

std::int64_t coefficientBytesBudget() {
    return std::max(machineMemoryBytes() / 4, kMinDecodedBytes);
}

}  // namespace glimpa::limits
