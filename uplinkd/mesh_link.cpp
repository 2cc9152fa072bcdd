// The mesh link-change handler: tells the mesh interface rai3 about a new
// connection state (SmartLink settings, access-control list, mesh scripts),
// and the reader of the Ethernet-backhaul flag /tmp/etherbh.
#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "boardutil/shell.h"
#include "boardutil/console.h"
#include "boardutil/mesh_acl.h"
#include "boardutil/status_file.h"
#include "nvram.h"
#include "uplinkd.h"

extern "C" {
int mesh_link_status = 3;
}

namespace {

constexpr const char kMeshInterface[] = "rai3";
constexpr const char kBanner[] =
    "echo \"============= result == CONNECTED ============\" > /dev/console";
constexpr const char kAclCommand[] = "iwpriv %s set SmartLinkUpdate=5";

bool text_is(const char *text, const char *expected) {
  return text != nullptr && strcmp(text, expected) == 0;
}

// "iwpriv rai3 set <setting>"
void mesh_setting(const char *setting) {
  char command[64];
  snprintf(command, sizeof command, "iwpriv %s set %s", kMeshInterface, setting);
  do_system(command);
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
  char prefix[64];
  int length = snprintf(prefix, sizeof prefix, kAclCommand, kMeshInterface);
  if (length < 0 || static_cast<size_t>(length) >= sizeof prefix) return false;
  size_t prefix_length = static_cast<size_t>(length);
  char *command = static_cast<char *>(malloc(prefix_length + digits + 1));
  if (command == nullptr) {
    perror("malloc");
    return false;
  }
  memcpy(command, prefix, prefix_length);
  memcpy(command + prefix_length, compact, digits);
  command[prefix_length + digits] = '\0';
  do_system(command);
  free(command);
  return true;
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
