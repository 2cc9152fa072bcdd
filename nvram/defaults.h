// The configuration a set starts from when it has no committed file: the
// factory defaults, compiled in.
#ifndef NVRAM_DEFAULTS_H
#define NVRAM_DEFAULTS_H

#include "nvram/sets.h"

namespace nvram {

Values default_values(int index);

}  // namespace nvram

#endif
