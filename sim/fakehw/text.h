// A bounded text builder on the stack for log lines and paths: appends what
// fits, remembers whether anything was cut, always stays NUL-terminated.
#ifndef SIM_FAKEHW_TEXT_H
#define SIM_FAKEHW_TEXT_H

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace fakehw {

class Text {
 public:
  static constexpr size_t kCapacity = 256;

  Text &add(std::string_view text);
  Text &add_char(char c);
  Text &dec(uint64_t value);
  Text &signed_dec(int64_t value);
  // "0x" then at least min_digits hex digits.
  Text &hex(uint64_t value, unsigned min_digits = 1, bool upper = false);

  const char *c_str() const { return buffer_; }
  size_t size() const { return length_; }
  bool cut() const { return cut_; }

 private:
  char buffer_[kCapacity + 1] = {};
  size_t length_ = 0;
  bool cut_ = false;
};

}  // namespace fakehw

#endif
