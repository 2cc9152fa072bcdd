/* Command numbers and the register of the switch register driver
 * (/dev/rdm0), shared by the library, the simulator's fake driver and the
 * virtual board's kernel driver. */
#ifndef BOARDUTIL_RDM_ABI_H
#define BOARDUTIL_RDM_ABI_H

#define RDM_CMD_PREPARE 0x6B0E /* taken with the argument 0 before a read */
#define RDM_CMD_READ 0x6B03    /* argument: address of a u32, offset in, value out */
#define RDM_WAN_PORT_REGISTER 0x113408
#define RDM_WAN_LINK_BIT 0x1 /* bit 0: the WAN port has a link */

#endif
