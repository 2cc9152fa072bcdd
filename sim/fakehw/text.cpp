// The bounded text builder: digits are produced right to left into a small
// scratch array, then appended like any other text.
#include "sim/fakehw/text.h"

namespace fakehw {

Text &Text::add(std::string_view text) {
  for (char c : text) add_char(c);
  return *this;
}

Text &Text::add_char(char c) {
  if (length_ < kCapacity) {
    buffer_[length_++] = c;
    buffer_[length_] = '\0';
  } else {
    cut_ = true;
  }
  return *this;
}

Text &Text::dec(uint64_t value) {
  char digits[20];
  size_t count = 0;
  do {
    digits[sizeof digits - ++count] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  return add({digits + sizeof digits - count, count});
}

Text &Text::signed_dec(int64_t value) {
  if (value >= 0) return dec(static_cast<uint64_t>(value));
  add_char('-');
  return dec(0 - static_cast<uint64_t>(value));
}

Text &Text::hex(uint64_t value, unsigned min_digits, bool upper) {
  const char *alphabet = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  char digits[16];
  size_t count = 0;
  do {
    digits[sizeof digits - ++count] = alphabet[value & 0xf];
    value >>= 4;
  } while ((value != 0 || count < min_digits) && count < sizeof digits);
  return add("0x").add({digits + sizeof digits - count, count});
}

}  // namespace fakehw
