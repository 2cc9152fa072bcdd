// Layout of a committed set file: a 25-byte header "NVRAM1 LLLLLLLL CCCCCCCC\n"
// (body length and CRC-32 of the body, 8 lowercase hex digits each), then
// the body: one key=value line per key, sorted by key.
#ifndef NVRAM_FILE_FORMAT_H
#define NVRAM_FILE_FORMAT_H

#include <cstddef>
#include <string>
#include <string_view>

#include "nvram/sets.h"
#include "nvram/status.h"

namespace nvram {

inline constexpr size_t kHeaderSize = 25;

std::string encode_set(const Values &values);

// Ok when the header is well formed and the body after it has the length
// and checksum the header gives; else an error saying what is wrong.
Status check_seal(std::string_view bytes);

// Fills values from a file's bytes: ok when the file is sound, else an error
// saying what is wrong with it. Any content is safe to pass.
Status decode_set(std::string_view bytes, Values &values);

}  // namespace nvram

#endif
