// One stable copy of each distinct text handed out by nvram_bufget: the
// same text always yields the same pointer, valid for the life of the process.
#ifndef NVRAM_INTERN_H
#define NVRAM_INTERN_H

#include <string_view>

namespace nvram {

const char *intern(std::string_view text);

}  // namespace nvram

#endif
