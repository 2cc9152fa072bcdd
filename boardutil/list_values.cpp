// List-valued configuration keys (';'-separated, one element per access-point
// slot): rewriting one element, per-slot key names, and rewriting an element
// of a key of the configuration store.
#include "boardutil/list_values.h"

#include <stdio.h>
#include <string.h>

#include <string_view>

#include "nvram.h"

namespace {

constexpr int kMaxSlots = 8;
constexpr size_t kListBuffer = 2048;
constexpr size_t kMaxElement = 255;
constexpr char kSeparator = ';';

// Appends text to a bounded result; whatever does not fit is cut, and the
// builder remembers that it was.
class Builder {
 public:
  explicit Builder(char (&buffer)[kListBuffer]) : buffer_(buffer) { buffer_[0] = '\0'; }
  void append(std::string_view text) {
    size_t room = kListBuffer - 1 - length_;
    size_t count = text.size() < room ? text.size() : room;
    cut_ = cut_ || count < text.size();
    text.copy(buffer_ + length_, count);
    length_ += count;
    buffer_[length_] = '\0';
  }
  bool cut() const { return cut_; }

 private:
  char (&buffer_)[kListBuffer];
  size_t length_ = 0;
  bool cut_ = false;
};

// Writes list with element n replaced into out. The text before and after
// element n is kept as it is, so a list longer than the eight slots keeps
// all its elements. An n outside the slots leaves the list unchanged.
void replace_element(Builder &out, int n, std::string_view rest, const char *value) {
  if (n < 0 || n >= kMaxSlots) {
    out.append(rest);
    return;
  }
  std::string_view replacement = value != nullptr ? value : "";
  replacement = replacement.substr(0, kMaxElement);
  for (int i = 0; i < n; ++i) {
    size_t separator = rest.find(kSeparator);
    if (separator == std::string_view::npos) {
      // The list ends before element n: the missing elements are empty.
      out.append(rest);
      for (; i < n; ++i) out.append(";");
      out.append(replacement);
      return;
    }
    out.append(rest.substr(0, separator + 1));
    rest.remove_prefix(separator + 1);
  }
  out.append(replacement);
  size_t separator = rest.find(kSeparator);
  if (separator != std::string_view::npos) out.append(rest.substr(separator));
}

char result[kListBuffer];

// Rewrites into result; false when the list did not fit and was cut.
// Built aside first, so a list that is the previous result itself is read
// whole before the result is overwritten.
bool rewrite(int n, const char *list, const char *value) {
  char built[kListBuffer];
  Builder out(built);
  replace_element(out, n, list != nullptr ? list : "", value);
  memcpy(result, built, sizeof result);
  return !out.cut();
}

}  // namespace

extern "C" const char *set_nth_value(int n, const char *list, const char *value) {
  rewrite(n, list, value);
  return result;
}

extern "C" const char *racat(const char *name, int number) {
  static char result[32];
  snprintf(result, sizeof result, "%s%1d", name, number);
  return result;
}

// A stored list longer than the buffer (written by something other than
// these functions) is left as it is: storing the cut result would drop the
// elements beyond the cut.
extern "C" int set_nth_value_flash(int index, int n, const char *key, const char *value) {
  if (!rewrite(n, nvram_bufget(index, key), value)) return -1;
  return nvram_bufset(index, key, result);
}
