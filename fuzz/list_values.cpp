// Fuzzes set_nth_value with any list, element and index. The input is the
// index byte, the list, a NUL, then the value. The text before element n
// and after it is kept as it was (missing elements are added empty), and
// element n becomes the value cut to 255 characters; an index outside the
// eight slots changes nothing.
#include "boardutil/list_values.h"

#include <string.h>

#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"

namespace {

constexpr size_t kResultRoom = 2047;
constexpr size_t kMaxElement = 255;

// list with element n replaced, built the plain way.
std::string expected_list(int n, std::string_view list, std::string_view value) {
  if (n < 0 || n >= 8) return std::string(list);
  std::string before;
  int i = 0;
  for (; i < n; ++i) {
    size_t separator = list.find(';');
    if (separator == std::string_view::npos) break;
    before += list.substr(0, separator + 1);
    list.remove_prefix(separator + 1);
  }
  if (i < n) {  // the list ended before element n
    before += list;
    before.append(n - i, ';');
    list = {};
  }
  size_t separator = list.find(';');
  std::string_view after = separator == std::string_view::npos ? "" : list.substr(separator);
  return before + std::string(value.substr(0, kMaxElement)) + std::string(after);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0) return 0;
  int n = static_cast<int8_t>(data[0]) % 10;
  std::string_view input = fuzz::as_text(data + 1, size - 1);
  std::string list(fuzz::next_field(input));
  std::string value(fuzz::next_field(input));
  std::string expected = expected_list(n, list, value);
  const char *result = set_nth_value(n, list.c_str(), value.c_str());
  FUZZ_CHECK(strnlen(result, kResultRoom + 1) <= kResultRoom);
  if (expected.size() <= kResultRoom) {
    FUZZ_CHECK(result == expected);
  } else {
    FUZZ_CHECK(strlen(result) == kResultRoom && expected.compare(0, kResultRoom, result) == 0);
  }
  // A list that is the previous result itself is read whole.
  std::string previous = result;
  FUZZ_CHECK(set_nth_value(n, result, value.c_str()) ==
             expected_list(n, previous, value).substr(0, kResultRoom));
  return 0;
}
