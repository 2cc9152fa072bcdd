// The fake drivers' request decoders: each decodes one request as the real
// driver would, answers it from the shared state, logs it, and returns the
// ioctl result (-1 with errno set when refused).
#ifndef SIM_FAKEHW_DECODERS_H
#define SIM_FAKEHW_DECODERS_H

#include <cerrno>

namespace fakehw {

int gpio_request(unsigned long request, void *arg);
int rdm_request(unsigned long request, void *arg);

// Private requests of the wireless driver: the range they are numbered in,
// and the decoder (arg is a struct iwreq).
constexpr bool is_wireless_request(unsigned long request) {
  return request >= 0x8BE0 && request <= 0x8BFF;
}
int wireless_request(unsigned long request, void *arg);

// Errors of requests the scripted state says to fail.
constexpr int kScriptedFailure = EIO;

inline int refuse(int error) {
  errno = error;
  return -1;
}

}  // namespace fakehw

#endif
