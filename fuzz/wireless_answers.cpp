// Fuzzes the decoding of the wireless driver's short answers: the
// connection-status text (connected only when its first word is exactly
// "1") and the 4-byte WPS status.
#include <ctype.h>

#include <string_view>

#include "boardutil/wireless_abi.h"
#include "boardutil/wireless_internal.h"
#include "fuzz/fuzz_check.h"

namespace {

// The first word as a reader of the answer sees it: up to the first NUL of
// the length bytes, white space around it.
std::string_view expected_word(std::string_view answer) {
  answer = answer.substr(0, answer.find('\0'));
  size_t start = 0;
  while (start < answer.size() && isspace(static_cast<unsigned char>(answer[start]))) ++start;
  size_t stop = start;
  while (stop < answer.size() && !isspace(static_cast<unsigned char>(answer[stop]))) ++stop;
  return answer.substr(start, stop - start);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::string_view answer = fuzz::as_text(data, size);
  if (answer.size() > APCLI_CONNSTATUS_BUFFER) answer = answer.substr(0, APCLI_CONNSTATUS_BUFFER);
  // The driver's buffer holds exactly the answer's bytes: no terminator
  // beyond the length, so a read past it is caught.
  std::string_view word = expected_word(answer);
  int connected = boardutil::connect_status_of_answer(answer.data(), answer.size());
  FUZZ_CHECK(connected == (word == "1" ? 1 : 0));

  unsigned char status[4] = {};
  for (size_t i = 0; i < 4 && i < size; ++i) status[i] = data[i];
  uint32_t expected = status[0] + 256u * (status[1] + 256u * (status[2] + 256u * status[3]));
  FUZZ_CHECK(static_cast<uint32_t>(boardutil::wsc_status_of_answer(status)) == expected);
  return 0;
}
