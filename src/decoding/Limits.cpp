#include "decoding/Limits.h"

#include <unistd.h>

#include <algorithm>

namespace glimpa::limits {

std::int64_t decodedBytesBudget() {
    static const std::int64_t budget = [] {
        const long pages = ::sysconf(_SC_PHYS_PAGES);
        const long pageBytes = ::sysconf(_SC_PAGESIZE);
        const std::int64_t memory =
            pages > 0 && pageBytes > 0 ? std::int64_t{pages} * pageBytes : 0;
        return std::clamp(memory / 16, kMinDecodedBytes, kMaxDecodedBytes);
    }();
    return budget;
}

}  // namespace glimpa::limits
