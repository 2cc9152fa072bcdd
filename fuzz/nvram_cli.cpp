// Fuzzes the `nvram` command line: the input's NUL-separated fields are the
// arguments. The store of this build lies where nothing can be created, so
// every read finds the defaults and every commit fails: the exit status
// must be 0 for reads, 1 for a failed commit and 2 for bad input, never a
// success for a command that had to write.
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "nvram/tool/commands.h"

namespace {

constexpr size_t kMaxArguments = 8;

bool writes(std::string_view command) {
  return command == "set" || command == "unset" || command == "commit" || command == "import";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::string_view input = fuzz::as_text(data, size);
  std::vector<std::string> words = {"nvram"};
  while (!input.empty() && words.size() < kMaxArguments) {
    words.emplace_back(fuzz::next_field(input));
  }
  std::vector<char *> argv;
  for (std::string &word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  int status = nvram::run_tool(static_cast<int>(words.size()), argv.data());
  FUZZ_CHECK(status == 0 || status == 1 || status == 2);
  if (words.size() >= 2 && writes(words[1])) FUZZ_CHECK(status != 0);
  return 0;
}
