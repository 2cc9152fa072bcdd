// The outcome of a control call: done, or the reason it was not, in words
// fit for a person at the command line.
#ifndef SIM_CONTROL_RESULT_H
#define SIM_CONTROL_RESULT_H

#include <string>

namespace fakehw {

struct Result {
  std::string error;  // empty when done

  explicit operator bool() const { return error.empty(); }
  static Result ok() { return {}; }
  static Result fail(std::string why) { return {std::move(why)}; }
};

}  // namespace fakehw

#endif
