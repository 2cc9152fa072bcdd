// Fuzzes config_acl's merge of the driver's ACL record into a stored list,
// and the compact forms of a list. The input is the stored list, a NUL, the
// own address, a NUL, then the record's bytes; its first byte picks the
// list number. Every entry the merge adds is a well-formed address, the
// mesh list keeps the stored text in front, no driver entry appears twice,
// and a compact form holds exactly the list's hexadecimal digits.
#include <ctype.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "boardutil/mesh_acl.h"
#include "boardutil/wireless_abi.h"
#include "boardutil/wireless_internal.h"
#include "fuzz/fuzz_check.h"

namespace {

constexpr size_t kEntry = 18;  // "AA:BB:CC:DD:EE:FF;"

bool well_formed_entry(std::string_view entry) {
  if (entry.size() != kEntry || entry.back() != ';') return false;
  for (size_t i = 0; i < 17; ++i) {
    bool colon = i % 3 == 2;
    char c = entry[i];
    if (colon ? c != ':' : !(isdigit(static_cast<unsigned char>(c)) || (c >= 'A' && c <= 'F'))) {
      return false;
    }
  }
  return true;
}

// The added text: whole well-formed entries, none twice (ignoring case).
void check_added(std::string_view added) {
  FUZZ_CHECK(added.size() % kEntry == 0);
  FUZZ_CHECK(added.size() <= ACL_MAX_ENTRIES * kEntry);
  for (size_t at = 0; at < added.size(); at += kEntry) {
    std::string_view entry = added.substr(at, kEntry);
    FUZZ_CHECK(well_formed_entry(entry));
    for (size_t before = 0; before < at; before += kEntry) {
      FUZZ_CHECK(strncasecmp(added.data() + before, entry.data(), kEntry) != 0);
    }
  }
}

std::string hex_digits(std::string_view text) {
  std::string digits;
  for (char c : text) {
    if (isxdigit(static_cast<unsigned char>(c))) digits += c;
  }
  return digits;
}

void check_compact(const std::string &list) {
  std::string expected = hex_digits(list);
  FUZZ_CHECK(mesh_get_acl(list.c_str()) == expected);
  std::string out(expected.size() + 3, '\0');
  out[0] = 'x';
  mesh_acl_append(list.c_str(), out.data());
  FUZZ_CHECK(std::string_view(out.c_str()) == "x" + expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0) return 0;
  int n = data[0] % 5;
  std::string_view input = fuzz::as_text(data + 1, size - 1);
  std::string stored(fuzz::next_field(input));
  std::string own(fuzz::next_field(input));
  unsigned char record[ACL_LIST_SIZE] = {};
  memcpy(record, input.data(), std::min(input.size(), sizeof record));

  boardutil::AclText acl = boardutil::seeded_acl_text(n, stored.c_str(), own.c_str());
  if (acl.text == nullptr) return 0;
  std::string seeded = acl.text;
  if (n != 3) FUZZ_CHECK(seeded.empty());
  if (n == 3 && stored.size() > 9) FUZZ_CHECK(seeded.compare(0, stored.size(), stored) == 0);
  boardutil::merge_acl_record(acl, record);
  std::string merged = acl.text;
  FUZZ_CHECK(merged.size() < acl.room);
  free(acl.text);
  FUZZ_CHECK(merged.compare(0, seeded.size(), seeded) == 0);
  check_added(std::string_view(merged).substr(seeded.size()));
  check_compact(merged);
  check_compact(stored);
  return 0;
}
