// Small answer files under /run/sim/hw/, read at each request into fixed
// buffers with plain system calls.
#ifndef SIM_FAKEHW_FILES_H
#define SIM_FAKEHW_FILES_H

#include <cstddef>
#include <string_view>

namespace fakehw {

// Reads up to capacity bytes of path into buffer; the count, 0 when the
// file is missing or empty.
size_t read_small_file(const char *path, char *buffer, size_t capacity);

// Takes the first blank-separated value of a sequence file into token
// (bounded by capacity) and rewrites the file without it, unless it is the
// last one, which stays for every later call. Returns the token's length,
// 0 when the file is missing or holds no value.
size_t take_sequence_value(const char *path, char *token, size_t capacity);

}  // namespace fakehw

#endif
