// The mesh link-change handler: tells the mesh interface rai3 about a new
// connection state (SmartLink settings, access-control list, mesh scripts),
// and the reader of the Ethernet-backhaul flag /tmp/etherbh.
#include "boardutil/iwpriv.h"
#include "boardutil/shell.h"
#include "boardutil/status_file.h"
#include "boardutil/text.h"
#include "boardutil/wireless_internal.h"
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

// update-5 with the whole list: the command is sized from the compact form
// (hexadecimal digits only, so nothing else can reach the shell), so every
// address is handed over. False when nothing was sent: no memory for the
// compact form or for the command. An empty list is sent as an empty one.
bool send_acl(const char *acl) {
  const char *compact = boardutil::compact_acl(acl);
  if (compact == nullptr) return false;
  return boardutil::iwpriv_set(do_system, kMeshInterface, "SmartLinkUpdate=5", compact);
}

void connected(const char *acl) {
  // The banner goes to the console whatever the debug switch says; its
  // result is not looked at.
  shell_run(kBanner);
  if (text_is(mesh_mode, "1")) {
    mesh_setting("SmartLinkUpdate=21");
    return;
  }
  if (!mesh_follows_uplink()) return;
  mesh_setting("SmartLinkUpdate=21");
  if (mesh_acl_sent == 0 && send_acl(acl)) mesh_acl_sent = 1;
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

// The list is read at every call, before the state is compared.
extern "C" int update_mesh_link(int state) {
  const char *acl = nvram_bufget(RTDEV_NVRAM, "AccessControlList3");
  if (state == mesh_link_status) return 0;
  mesh_link_status = state;
  if (state == 1) {
    connected(acl);
  } else {
    disconnected();
  }
  return 0;
}

extern "C" int check_etherbh(void) { return status_file_first_byte("/tmp/etherbh") == '1' ? 1 : 0; }
