// What every fuzz target shares: the libFuzzer entry point's signature, a
// property check that stops the run with a message, and the splitting of an
// input into NUL-separated fields.
#ifndef FUZZ_FUZZ_CHECK_H
#define FUZZ_FUZZ_CHECK_H

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

// A broken property is a finding like a crash: report it and abort, so
// libFuzzer keeps the input and the replay fails.
#define FUZZ_CHECK(condition)                                                          \
  do {                                                                                 \
    if (!(condition)) {                                                                \
      fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
      abort();                                                                         \
    }                                                                                  \
  } while (0)

namespace fuzz {

inline std::string_view as_text(const uint8_t *data, size_t size) {
  return {reinterpret_cast<const char *>(data), size};
}

// Splits off the text before the first NUL (all of it when there is none).
inline std::string_view next_field(std::string_view &input) {
  size_t end = input.find('\0');
  std::string_view field = input.substr(0, end);
  input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
  return field;
}

}  // namespace fuzz

#endif
