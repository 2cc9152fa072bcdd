// The header is checked field by field before the body is looked at, and
// the body only once its length and checksum match; its lines are read by
// SetImage (set_image.h).
#include "nvram/file_format.h"

#include <cstdio>

#include "nvram/crc32.h"
#include "nvram/line_format.h"
#include "nvram/set_image.h"

namespace nvram {
namespace {

constexpr std::string_view kMagic = "NVRAM1 ";
constexpr size_t kLengthAt = kMagic.size();
constexpr size_t kCrcAt = kLengthAt + 9;
static_assert(kHeaderSize == kCrcAt + 9);

// Exactly 8 lowercase hex digits, so any change to a digit is noticed.
bool parse_hex8(std::string_view text, uint32_t &number) {
  number = 0;
  for (char c : text) {
    uint32_t digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else {
      return false;
    }
    number = number << 4 | digit;
  }
  return true;
}

}  // namespace

std::string encode_set(const Values &values) {
  std::string body;
  for (const auto &[key, value] : values) append_line(body, key, value);
  char header[kHeaderSize + 1];
  snprintf(header, sizeof header, "%.*s%08x %08x\n", static_cast<int>(kMagic.size()), kMagic.data(),
           static_cast<unsigned>(body.size()), static_cast<unsigned>(crc32(body)));
  return header + body;
}

Status check_seal(std::string_view bytes) {
  if (bytes.size() < kHeaderSize) return Status::error("shorter than its header");
  uint32_t length, crc;
  if (bytes.substr(0, kLengthAt) != kMagic || !parse_hex8(bytes.substr(kLengthAt, 8), length) ||
      bytes[kCrcAt - 1] != ' ' || !parse_hex8(bytes.substr(kCrcAt, 8), crc) ||
      bytes[kHeaderSize - 1] != '\n') {
    return Status::error("bad header");
  }
  std::string_view body = bytes.substr(kHeaderSize);
  if (body.size() != length) {
    return Status::error("length does not match its header (torn or truncated)");
  }
  if (crc32(body) != crc) return Status::error("checksum mismatch");
  return Status::ok();
}

Status decode_set(std::string_view bytes, Values &values) {
  SetImage image;
  Status decoded = image.parse(FileBytes(bytes));
  values = image.values();
  return decoded;
}

}  // namespace nvram
