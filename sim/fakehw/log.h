// The requests log: one line per fake driver request, appended with one
// write(2) so lines of concurrent processes never mix.
#ifndef SIM_FAKEHW_LOG_H
#define SIM_FAKEHW_LOG_H

#include "sim/fakehw/text.h"

namespace fakehw {

// Appends line and a newline to /run/sim/requests.log when logging is on
// and the log exists.
void log_request(const Text &line);

}  // namespace fakehw

#endif
