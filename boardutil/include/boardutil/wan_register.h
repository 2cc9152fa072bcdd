/* The WAN port's link state, read from the switch register driver
 * /dev/rdm0 (rdm_abi.h). */
#ifndef BOARDUTIL_WAN_REGISTER_H
#define BOARDUTIL_WAN_REGISTER_H

#ifdef __cplusplus
extern "C" {
#endif

/* 1 when the WAN port has a link, 0 when it has none or the driver cannot
 * be asked (logged with console_debug). */
int mt7620_reg_read(void);

#ifdef __cplusplus
}
#endif

#endif
