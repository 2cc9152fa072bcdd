// The mesh link-change handler: tells the mesh interface rai3 about a new
// connection state (SmartLink settings, access-control list, mesh scripts),
// and the reader of the Ethernet-backhaul flag /tmp/etherbh.
#include <ctype.h>
#include <stdio.h>

#include "boardutil/iwpriv.h"
#include "boardutil/mesh_acl.h"
#include "boardutil/shell.h"
#include "boardutil/status_file.h"
#include "boardutil/text.h"
#include "nvram.h"
#include "uplinkd/uplinkd.h"

extern "C" {
int mesh_link_status = 3;
}

namespace {

using boardutil::text_is;

constexpr const char kMeshInterface[] = "rai3";
constexpr const char kBanner[] =
    "echo \"============= result == CONNECTED ============\" > /dev/console";

// "iwpriv rai3 set <setting>"
void mesh_setting(const char *setting) {
  boardutil::iwpriv_set(do_system, kMeshInterface, setting);
}

// update-5 with the whole list: the command is sized from the compact form,
// so every address is handed over, and only its leading run of hexadecimal
// digits is taken, so nothing else can reach the shell. False when there
// was no memory for the command (nothing was sent).
bool send_acl(const char *acl) {
  const char *compact = mesh_get_acl(acl != nullptr ? acl : "");
  if (compact == nullptr) compact = "";
  size_t digits = 0;
  while (isxdigit(static_cast<unsigned char>(compact[digits]))) ++digits;
  return boardutil::iwpriv_set(do_system, kMeshInterface, "SmartLinkUpdate=5",
                               std::string_view(compact, digits));
}

// The banner goes to the console whatever the debug switch says.
void print_banner() {
  if (shell_run(kBanner) == -1) perror("system");
}

void connected() {
  print_banner();
  if (text_is(mesh_mode, "1")) {
    mesh_setting("SmartLinkUpdate=21");
    return;
  }
  if (!mesh_follows_uplink()) return;
  mesh_setting("SmartLinkUpdate=21");
  if (mesh_acl_sent == 0 && send_acl(nvram_bufget(RTDEV_NVRAM, "AccessControlList3"))) {
    mesh_acl_sent = 1;
  }
  mesh_setting("SmartLink=1");
  do_system("mesh_load.sh &");
}

void disconnected() {
  if (text_is(mesh_mode, "1")) {
    mesh_setting("SmartLinkUpdate=20");
    return;
  }
  if (!mesh_follows_uplink()) return;
  mesh_setting("SmartLinkUpdate=20");
  do_system("mesh_unload.sh &");
}

}  // namespace

extern "C" int update_mesh_link(int state) {
  if (state == mesh_link_status) return 0;
  mesh_link_status = state;
  if (state == 1) {
    connected();
  } else {
    disconnected();
  }
  return 0;
}

extern "C" int check_etherbh(void) { return status_file_first_byte("/tmp/etherbh") == '1' ? 1 : 0; }
