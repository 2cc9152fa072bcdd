// The fake register access driver behind /dev/rdm0: the accept request and
// reads of the switch register whose bit 0 is the WAN port's link.
#include <cstdint>

#include "boardutil/rdm_abi.h"
#include "sim/fakehw/decoders.h"
#include "sim/fakehw/hw_state.h"
#include "sim/fakehw/le_bytes.h"
#include "sim/fakehw/log.h"
#include "sim/fakehw/state.h"

namespace fakehw {
namespace {

int refused(unsigned long request, const Text &reason, int error) {
  Text line;
  line.add("rdm refused cmd=").hex(request, 4, true).add(" (").add(reason.c_str()).add(")");
  log_request(line);
  return refuse(error);
}

bool scripted_failure(RdmRequest kind) {
  HwState *state = shared_state();
  return state != nullptr && (state->rdm_refuse.load() & kind) != 0;
}

int accept(unsigned long request, unsigned long value) {
  if (value != 0) {
    return refused(request, Text().add("argument ").hex(value).add(", not 0"), EINVAL);
  }
  Text line;
  line.add("rdm cmd=").hex(request, 4, true).add(" arg=").dec(value);
  log_request(line);
  return 0;
}

int read_register(unsigned long request, void *arg) {
  if (arg == nullptr) return refused(request, Text().add("null argument"), EINVAL);
  auto *word = static_cast<unsigned char *>(arg);
  uint32_t offset = get_le32(word);
  if (offset != RDM_WAN_PORT_REGISTER) {
    return refused(request, Text().add("register ").hex(offset).add(" unknown"), EINVAL);
  }
  HwState *state = shared_state();
  uint32_t value = state != nullptr ? (state->wan_link.load() & RDM_WAN_LINK_BIT) : 1u;
  put_le32(word, value);
  Text line;
  line.add("rdm read reg=").hex(offset).add(" -> ").hex(value);
  log_request(line);
  return 0;
}

}  // namespace

int rdm_request(unsigned long request, void *arg) {
  switch (request) {
    case RDM_CMD_PREPARE:
      if (scripted_failure(kRdmAccept)) break;
      return accept(request, reinterpret_cast<unsigned long>(arg));
    case RDM_CMD_READ:
      if (scripted_failure(kRdmRead)) break;
      return read_register(request, arg);
    default:
      return refused(request, Text().add("unknown command"), EINVAL);
  }
  return refused(request, Text().add("failing on request"), kScriptedFailure);
}

}  // namespace fakehw
