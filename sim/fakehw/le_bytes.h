// Little-endian fields of driver records, read and written byte by byte
// from raw buffers (the records are byte-packed, fields may be unaligned).
#ifndef SIM_FAKEHW_LE_BYTES_H
#define SIM_FAKEHW_LE_BYTES_H

#include <cstdint>

namespace fakehw {

inline uint32_t get_le32(const unsigned char *p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

inline uint16_t get_le16(const unsigned char *p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

inline void put_le32(unsigned char *p, uint32_t value) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(value >> (8 * i));
}

inline void put_le16(unsigned char *p, uint16_t value) {
  p[0] = static_cast<unsigned char>(value);
  p[1] = static_cast<unsigned char>(value >> 8);
}

}  // namespace fakehw

#endif
