// The outcome of a control call: done, or the reason it was not, in words
// fit for a person at the command line.
#ifndef SIM_FAKEHWCTL_RESULT_H
#define SIM_FAKEHWCTL_RESULT_H

#include <string>

namespace fakehwctl {

struct Result {
  std::string error;  // empty when done

  explicit operator bool() const { return error.empty(); }
  static Result ok() { return {}; }
  static Result fail(std::string why) { return {std::move(why)}; }
};

}  // namespace fakehwctl

#endif
