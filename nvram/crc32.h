// CRC-32 (IEEE 802.3, reflected, the one zlib computes) that seals the body
// of every committed file; a compile-time table, no run-time setup.
#ifndef NVRAM_CRC32_H
#define NVRAM_CRC32_H

#include <array>
#include <cstdint>
#include <string_view>

namespace nvram {

constexpr std::array<uint32_t, 256> make_crc32_table() {
  std::array<uint32_t, 256> table{};
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}

inline constexpr std::array<uint32_t, 256> kCrc32Table = make_crc32_table();

constexpr uint32_t crc32(std::string_view bytes) {
  uint32_t c = 0xFFFFFFFFu;
  for (char ch : bytes) c = kCrc32Table[(c ^ static_cast<unsigned char>(ch)) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

static_assert(crc32("123456789") == 0xCBF43926u, "CRC-32 check value");

}  // namespace nvram

#endif
