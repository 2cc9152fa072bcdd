// Messages of the store and its tool on standard error, one line each,
// prefixed "nvram: ".
#ifndef NVRAM_REPORT_H
#define NVRAM_REPORT_H

namespace nvram {

void report(const char *format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace nvram

#endif
