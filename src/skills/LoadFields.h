#pragma once

#include <cstdint>

#include "runtime/filetable/ByteBuffer.h"
#include "runtime/filetable/FileTable.h"

namespace quorrel {

// The load action's working values. They belong to the object that owns the list and the path
// fields, live as long as it does and are kept between runs; only the load action touches them.
struct LoadFields {
    std::int32_t offset = 0;    // offset of the index record being handled
    std::int32_t length = 0;    // name length of that record
    std::uint32_t extra = 0;    // read with the record, never used
    ByteBuffer name;            // name bytes of that record, replaced for each one
    std::uint8_t flag = 0;      // flag byte of that record
    FileNumber idxFileNo = 0;   // number the index file is open under
    FileNumber dataFileNo = 0;  // number the data file is open under
    std::uint64_t record = 0;   // number of the index record being handled, from 0
};

}  // namespace quorrel
