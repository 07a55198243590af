#pragma once

#include <array>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

namespace glimpa {

/// A JPEG of several scans (a progressive one) holds every coefficient of the
/// picture while it decodes: as much memory again as its pixels. Once every
/// scan is read, its rows are made top to bottom, each from its own
/// coefficients and those of the rows beside it. This gives the memory of the
/// coefficients left behind back to the system as the rows are made, so that
/// the coefficients and the pixels are never both held whole.
///
/// It keeps the decompressor's coefficient arrays in view through its memory
/// manager, and holds nothing that needs destroying (libjpeg leaves its calls
/// by a long jump).
class SpentCoefficients {
public:
    /// Call after jpeg_create_decompress and before jpeg_start_decompress;
    /// this object must outlive the decompressor's work.
    void watch(jpeg_decompress_struct& info);
    /// Call once jpeg_start_decompress has read every scan (not in buffered
    /// image mode, whose scans may be shown again).
    void everyScanIsRead() { m_rowsGoInOrder = true; }

private:
    struct Array {
        jvirt_barray_ptr array = nullptr;
        std::size_t rowBytes = 0;
        JDIMENSION spentRows = 0;
    };

    static jvirt_barray_ptr request(j_common_ptr info, int pool, boolean preZero,
                                    JDIMENSION blocksPerRow, JDIMENSION rows,
                                    JDIMENSION rowsAtOnce);
    static JBLOCKARRAY access(j_common_ptr info, jvirt_barray_ptr array, JDIMENSION start,
                              JDIMENSION count, boolean writable);
    static void letGoOfRowsBefore(Array& array, JBLOCKARRAY rows, JDIMENSION start);

    decltype(jpeg_memory_mgr::request_virt_barray) m_request = nullptr;
    decltype(jpeg_memory_mgr::access_virt_barray) m_access = nullptr;
    std::array<Array, MAX_COMPONENTS> m_arrays{};
    std::size_t m_count = 0;
    bool m_rowsGoInOrder = false;
};

}  // namespace glimpa
