// Applying WPS-learned credentials (configAP): the two paths, for an access
// point's own WPS profile and for what an upstream client received, and the
// record fields and security names they share.
#ifndef BUTTOND_CREDENTIALS_H
#define BUTTOND_CREDENTIALS_H

#include <stddef.h>

#include <array>

namespace buttond {

// Writes the access point's WPS profile into slot n of set index; false
// when nothing was applied (the driver gave no profile, or n is no slot).
bool apply_ap_profile(const char *ifname, int n, int index);
// Writes what the upstream client ifname received into the store and
// switches to repeater mode; false when the driver gave nothing.
bool apply_upstream_credentials(const char *ifname, int index);

// A security setting of Wi-Fi Simple Configuration (authentication or
// encryption bits) and its names: for the access points ("AuthMode",
// "EncrypType") and for the upstream client ("ApCliAuthMode", ...).
struct SecurityName {
  unsigned bits;
  const char *ap;
  const char *apcli;
};

// The authentication bits.
inline constexpr std::array<SecurityName, 6> kAuthNames = {{
    {2, "WPAPSK", "WPAPSK"},
    {4, "SHARED", "SHARED"},
    {8, "WPA", "WPAPSK"},
    {16, "WPA2", "WPA2PSK"},
    {32, "WPA2PSK", "WPA2PSK"},
    {34, "WPAPSKWPA2PSK", "WPA2PSK"},
}};
inline constexpr SecurityName kOpenAuth = {0, "OPEN", "OPEN"};

// The WPA encryption bits (WEP and none are handled apart).
inline constexpr std::array<SecurityName, 3> kWpaEncrNames = {{
    {4, "TKIP", "TKIP"},
    {8, "AES", "AES"},
    {12, "TKIPAES", "AES"},
}};

inline constexpr unsigned kAuthWpaPsk = 2;
inline constexpr unsigned kEncrWep = 2;
inline constexpr unsigned kEncrTkip = 4;

// The names of authentication bits; OPEN for bits of no known kind.
const SecurityName &auth_name(unsigned bits);
// The WPA encryption of bits, or null.
const SecurityName *wpa_encryption(unsigned bits);

// Per-key settings of the four WEP keys.
inline constexpr std::array<const char *, 4> kWepKeyTypes = {"Key1Type", "Key2Type", "Key3Type",
                                                             "Key4Type"};
inline constexpr std::array<const char *, 4> kWepKeyStrs = {"Key1Str", "Key2Str", "Key3Str",
                                                            "Key4Str"};
inline constexpr std::array<const char *, 4> kWepKeyIds = {"1", "2", "3", "4"};
// "0" (hexadecimal) for keys of 10 or 26 characters, "1" (text) otherwise.
const char *wep_key_type(size_t length);

// Little-endian u16 of a driver record.
unsigned record_u16(const unsigned char *field);
// A text field of size bytes, up to its first NUL, as NUL-terminated text.
template <size_t N>
void record_text(const unsigned char *field, size_t size, char (&text)[N]) {
  static_assert(N > 0);
  size_t i = 0;
  for (; i < size && i + 1 < N && field[i] != '\0'; ++i) text[i] = static_cast<char>(field[i]);
  text[i] = '\0';
}

}  // namespace buttond

#endif
