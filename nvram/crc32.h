// CRC-32 (IEEE 802.3, reflected, the one zlib computes) that seals the body
// of every committed file. Slicing-by-8: eight compile-time tables let one
// step take eight bytes, so checking a set costs a few instructions a byte.
#ifndef NVRAM_CRC32_H
#define NVRAM_CRC32_H

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>

namespace nvram {

using Crc32Tables = std::array<std::array<uint32_t, 256>, 8>;

// tables[0] is the classic byte-at-a-time table; tables[k][n] is the CRC of
// byte n followed by k zero bytes, so the tables together advance the CRC
// over eight bytes at once.
constexpr Crc32Tables make_crc32_tables() {
  Crc32Tables tables{};
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    tables[0][n] = c;
  }
  for (size_t k = 1; k < tables.size(); ++k) {
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t previous = tables[k - 1][n];
      tables[k][n] = (previous >> 8) ^ tables[0][previous & 0xFF];
    }
  }
  return tables;
}

inline constexpr Crc32Tables kCrc32Tables = make_crc32_tables();

// Four bytes as a little-endian word: one load where the machine is
// little-endian (the host and the router), byte by byte elsewhere and at
// compile time.
constexpr uint32_t load_le32(const char *bytes) {
  if (!std::is_constant_evaluated() && std::endian::native == std::endian::little) {
    uint32_t word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
  }
  auto byte = [bytes](int at) -> uint32_t { return static_cast<unsigned char>(bytes[at]); };
  return byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
}

constexpr uint32_t crc32(std::string_view bytes) {
  const auto &t = kCrc32Tables;
  const char *at = bytes.data();
  const char *end = at + bytes.size();
  uint32_t c = 0xFFFFFFFFu;
  for (; end - at >= 8; at += 8) {
    uint32_t low = c ^ load_le32(at), high = load_le32(at + 4);
    c = t[7][low & 0xFF] ^ t[6][(low >> 8) & 0xFF] ^ t[5][(low >> 16) & 0xFF] ^ t[4][low >> 24] ^
        t[3][high & 0xFF] ^ t[2][(high >> 8) & 0xFF] ^ t[1][(high >> 16) & 0xFF] ^ t[0][high >> 24];
  }
  for (; at < end; ++at) c = t[0][(c ^ static_cast<unsigned char>(*at)) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

static_assert(crc32("123456789") == 0xCBF43926u, "CRC-32 check value");
static_assert(crc32("The quick brown fox jumps over the lazy dog") == 0x414FA339u,
              "CRC-32 over whole eight-byte steps and a tail");

}  // namespace nvram

#endif
