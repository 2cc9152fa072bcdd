// Fuzzes the decoding of a committed set file and of its key=value lines:
// whatever decodes must re-encode to the same keys and values. An input
// whose first byte is odd gets a correct header, so the body's lines are
// reached past the checksum.
#include <cstdio>
#include <string>

#include "fuzz/fuzz_check.h"
#include "nvram/crc32.h"
#include "nvram/file_format.h"
#include "nvram/line_format.h"

namespace {

std::string with_header(std::string_view body) {
  char header[32];
  snprintf(header, sizeof header, "NVRAM1 %08x %08x\n", static_cast<unsigned>(body.size()),
           static_cast<unsigned>(nvram::crc32(body)));
  return header + std::string(body);
}

void check_line(std::string_view line) {
  std::string key, value;
  if (!nvram::parse_line(line, key, value).is_ok()) return;
  FUZZ_CHECK(nvram::valid_key(key));
  std::string encoded;
  nvram::append_line(encoded, key, value);
  FUZZ_CHECK(!encoded.empty() && encoded.back() == '\n');
  FUZZ_CHECK(encoded.find('\n') == encoded.size() - 1);
  std::string key2, value2;
  FUZZ_CHECK(
      nvram::parse_line(std::string_view(encoded).substr(0, encoded.size() - 1), key2, value2)
          .is_ok());
  FUZZ_CHECK(key2 == key && value2 == value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::string_view input = fuzz::as_text(data, size);
  std::string file(input);
  if (!input.empty() && (input[0] & 1) != 0) file = with_header(input.substr(1));
  nvram::Values values;
  if (nvram::decode_set(file, values).is_ok()) {
    for (const auto &[key, value] : values) FUZZ_CHECK(nvram::valid_key(key));
    std::string encoded = nvram::encode_set(values);
    nvram::Values again;
    FUZZ_CHECK(nvram::decode_set(encoded, again).is_ok());
    FUZZ_CHECK(again == values);
    FUZZ_CHECK(nvram::encode_set(again) == encoded);
  }
  check_line(input);
  return 0;
}
