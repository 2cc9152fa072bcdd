// libstdc++'s C locale model for the router's C libraries, in place of the
// glibc one the cross compiler's libstdc++ was configured with (that one
// needs glibc's __locale_t and uselocale). uClibc-ng is built without
// locales and musl always formats numbers as the "C" locale does, so a
// number is converted with plain vsnprintf.
#ifndef _GLIBCXX_CXX_LOCALE_H
#define _GLIBCXX_CXX_LOCALE_H 1

#pragma GCC system_header

#include <clocale>

#define _GLIBCXX_NUM_CATEGORIES 0

// clang-format off
namespace std _GLIBCXX_VISIBILITY(default) {
_GLIBCXX_BEGIN_NAMESPACE_VERSION

typedef int *__c_locale;

inline int __convert_from_v(const __c_locale &, char *__out, const int __size, const char *__fmt,
                            ...) {
  __builtin_va_list __args;
  __builtin_va_start(__args, __fmt);
  const int __ret = __builtin_vsnprintf(__out, __size, __fmt, __args);
  __builtin_va_end(__args);
  return __ret;
}

_GLIBCXX_END_NAMESPACE_VERSION
}  // namespace std
// clang-format on

#endif
