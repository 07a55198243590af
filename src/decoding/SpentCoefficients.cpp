#include "decoding/SpentCoefficients.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace glimpa {

void SpentCoefficients::watch(jpeg_decompress_struct& info) {
    info.client_data = this;
    m_request = info.mem->request_virt_barray;
    m_access = info.mem->access_virt_barray;
    info.mem->request_virt_barray = request;
    info.mem->access_virt_barray = access;
}

jvirt_barray_ptr SpentCoefficients::request(j_common_ptr info, int pool, boolean preZero,
                                            JDIMENSION blocksPerRow, JDIMENSION rows,
                                            JDIMENSION rowsAtOnce) {
    auto& self = *static_cast<SpentCoefficients*>(info->client_data);
    const jvirt_barray_ptr array =
        self.m_request(info, pool, preZero, blocksPerRow, rows, rowsAtOnce);
    if (self.m_count < self.m_arrays.size()) {
        self.m_arrays[self.m_count++] = {array, blocksPerRow * sizeof(JBLOCK), 0};
    }
    return array;
}

JBLOCKARRAY SpentCoefficients::access(j_common_ptr info, jvirt_barray_ptr array, JDIMENSION start,
                                      JDIMENSION count, boolean writable) {
    auto& self = *static_cast<SpentCoefficients*>(info->client_data);
    const JBLOCKARRAY rows = self.m_access(info, array, start, count, writable);
    if (self.m_rowsGoInOrder && writable == FALSE) {
        for (std::size_t i = 0; i < self.m_count; ++i) {
            if (self.m_arrays[i].array == array) {
                letGoOfRowsBefore(self.m_arrays[i], rows, start);
            }
        }
    }
    return rows;
}

void SpentCoefficients::letGoOfRowsBefore(Array& array, JBLOCKARRAY rows, JDIMENSION start) {
    if (start <= array.spentRows) {
        return;
    }
    // libjpeg-turbo holds every array whole in memory, its rows listed in one
    // table, of which `rows` is the entry for row `start`. Rows after one
    // another in memory are let go of together, whole pages only: a page
    // shared with a row still wanted stays.
    const JBLOCKARRAY table = rows - start;
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    std::uintptr_t from = 0;
    std::uintptr_t to = 0;
    const auto letGo = [&] {
        const std::uintptr_t first = (from + page - 1) & ~(page - 1);
        const std::uintptr_t end = to & ~(page - 1);
        if (end > first) {
            madvise(reinterpret_cast<void*>(first), end - first, MADV_DONTNEED);
        }
    };
    for (JDIMENSION row = array.spentRows; row < start; ++row) {
        const auto at = reinterpret_cast<std::uintptr_t>(table[row]);
        if (at != to) {
            letGo();
            from = at;
        }
        to = at + array.rowBytes;
    }
    letGo();
    array.spentRows = start;
}

}  // namespace glimpa
