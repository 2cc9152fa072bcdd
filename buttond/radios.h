// The router's two radios as the WPS code of buttond sees them: the
// upstream-client interface and the configuration set of each.
#ifndef BUTTOND_RADIOS_H
#define BUTTOND_RADIOS_H

#include <initializer_list>

#include "boardutil/text.h"
#include "nvram.h"

namespace buttond {

struct Radio {
  const char *label;  // as console messages name it: "2.4G", "5G"
  const char *apcli;  // the upstream client
  int set;            // the configuration set of the radio
};
inline constexpr Radio kRadio24g = {"2.4G", "apcli0", RT2860_NVRAM};
inline constexpr Radio kRadio5g = {"5G", "apclii0", RTDEV_NVRAM};

inline bool is_24g(const Radio &radio) { return &radio == &kRadio24g; }
inline const Radio &other_radio(const Radio &radio) { return is_24g(radio) ? kRadio5g : kRadio24g; }

// The radio whose upstream client is ifname, or null for any other name.
inline const Radio *radio_of_apcli(const char *ifname) {
  for (const Radio *radio : {&kRadio24g, &kRadio5g}) {
    if (boardutil::text_is(ifname, radio->apcli)) return radio;
  }
  return nullptr;
}

}  // namespace buttond

#endif
