#!/usr/bin/env python3
"""Power cuts on the virtual board: while the board commits generation after
generation to the store (the nvram tool's import and set, or a repeater WPS
session that ends in a reboot), qemu is killed at a random moment; the board
boots again from the same flash image and is checked: both daemons up, every
set readable and one whole generation, a cut repeater session's credentials
all there or none. Some cuts first damage a set's file through the board's
file system, others damage the file's data on the flash image itself while
the power is off (flash_image.py); the damage must be reported and the last
good copy used.

With --steps N (or A-B), repeater sessions are first cut from inside the board
right after their 1st, 2nd, ... Nth (or Ath ... Bth) file replacement, so
every step of their commits is cut once.

Usage: campaign.py [--cuts N] [--steps N] [--seed S] [--replay SEED [--step K]]
                   [--board-dir DIR]
Every cut's seed is printed; --replay SEED (with --step K for a step cut)
runs that one cut again on the flash image as it is. Prints how many sets
were damaged and how many of those were reported with the last good copy in
use, and ends with the line
"power cuts: N, whole: N, mixed: M, unreadable: U, boots failed: B".
"""
import argparse
import os
import random
import signal
import socket
import subprocess
import sys
import time

import flash_image

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.abspath(os.path.join(HERE, "..", "..", ".."))
SETS = (0, 1, 2)
SET_FILES = ("2860", "rtdev", "wifi3")
STORE = "/var/lib/nvram"
BOOT_TIMEOUT = 90
SESSION_SECONDS = 22  # repeater request to reboot: 10 s of preparation, polls, 2 s + 2 s


class Board:
    """One qemu run of the board: its console log and its control agent."""

    def __init__(self, board_dir, console):
        self.board_dir = board_dir
        self.console = console
        self.socket_path = os.path.join(board_dir, "control.sock")
        if os.path.exists(self.socket_path):
            os.unlink(self.socket_path)
        self.qemu = subprocess.Popen(
            [os.path.join(SOURCE, "sim/board/boot.sh"), "--no-rootfs", "--board-dir", board_dir,
             "--console", console, "--control", self.socket_path],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)
        self.channel = None
        self.buffer = b""
        self.next_id = 0

    def connect(self, deadline):
        if self.channel:  # a reboot: the agent of the new boot is another peer
            self.channel.close()
            self.channel, self.buffer = None, b""
        while time.time() < deadline and self.qemu.poll() is None:
            try:
                channel = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
                channel.connect(self.socket_path)
                self.channel = channel
                return True
            except OSError:
                channel.close()
                time.sleep(0.2)
        return False

    def run(self, command, timeout=30.0):
        """(status, output) of a shell command on the board; None on timeout
        or when the board never came up."""
        if self.channel is None:
            return None
        self.next_id += 1
        tag = "c%d" % self.next_id
        self.channel.sendall(("%s %s\n" % (tag, command)).encode())
        begin, end = ("@@begin %s" % tag).encode(), ("@@end %s " % tag).encode()
        deadline = time.time() + timeout
        while time.time() < deadline:
            start = self.buffer.find(begin)
            stop = self.buffer.find(end, start) if start >= 0 else -1
            newline = self.buffer.find(b"\n", stop) if stop >= 0 else -1
            if newline >= 0:
                output = self.buffer[start + len(begin):stop].decode(errors="replace")
                status = int(self.buffer[stop + len(end):newline].strip() or b"255")
                self.buffer = self.buffer[newline + 1:]
                return status, output.replace("\r", "").lstrip("\n")
            self.channel.settimeout(max(0.05, deadline - time.time()))
            try:
                data = self.channel.recv(65536)
            except socket.timeout:
                break
            if not data:
                break
            self.buffer += data
        return None

    def wait_ready(self):
        """True once the agent answers and both daemons run with pid files."""
        deadline = time.time() + BOOT_TIMEOUT
        if not self.connect(deadline):
            return False
        while time.time() < deadline:
            reply = self.run("echo ready", timeout=2)
            if reply and "ready" in reply[1]:
                break
        else:
            return False
        while time.time() < deadline:
            reply = self.run("for d in buttond uplinkd; do kill -0 $(cat /var/run/$d.pid) || exit 1;"
                             " done 2>/dev/null", timeout=5)
            if reply and reply[0] == 0:
                return True
            time.sleep(0.5)
        return False

    def wait_off(self, timeout):
        """True when the board powered itself off (qemu and boot.sh ended) in time."""
        try:
            self.qemu.wait(timeout)
            return True
        except subprocess.TimeoutExpired:
            return False

    def cut(self):
        """Power off at once: boot.sh and its qemu killed together (boot.sh
        runs in a process group of its own), no shutdown of any kind."""
        try:
            os.killpg(self.qemu.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        self.qemu.wait()
        if self.channel:
            self.channel.close()
            self.channel = None


def flush_soon(board):
    """block2mtd keeps what JFFS2 writes in the disk's page cache, where an
    fsync does not reach (on a real flash chip the write itself is durable):
    writeback every 10 ms brings the board close to the chip."""
    board.run("sysctl -w vm.dirty_writeback_centisecs=1 vm.dirty_expire_centisecs=1 >/dev/null")


def console_text(path):
    try:
        with open(path, errors="replace") as log:
            return log.read()
    except OSError:
        return ""


def read_sets(board):
    """({set: {key: value}}, "") or (None, why) when a set cannot be read."""
    values = {}
    for index in SETS:
        reply = board.run("nvram show %d 2>&1" % index)
        if reply is None or reply[0] != 0:
            return None, reply[1] if reply else "no answer"
        values[index] = {}
        for line in reply[1].splitlines():
            if "=" in line and not line.startswith("nvram: "):
                key, _, value = line.partition("=")
                values[index][key] = value
    return values, ""


def order_problems(gens, before):
    """The writer commits set 0, then 1, then 2, each in a commit of its own,
    from one past the newest generation: a later set is never ahead of an
    earlier one, and a set the cut's writer reached is at most one generation
    behind set 0. A set it did not reach keeps its generation from before the
    cut, however far behind (an earlier cut may have stopped that writer
    between two sets, and the next writer skips the generation it left)."""
    ordered = gens[0] >= gens[1] >= gens[2]
    close = all(gen >= gens[0] - 1 or gen == before[index] for index, gen in zip(SETS, gens))
    return [] if ordered and close else ["sets committed out of order: %s" % gens]


def generation_problems(values, floor, damaged):
    """What is wrong with the writer's generations; [] when each set is whole."""
    problems = []
    gens = []
    for index in SETS:
        keys = values[index]
        if "Gen" not in keys:
            problems.append("set %d: no generation" % index)
            continue
        gen = int(keys["Gen"])
        gens.append(gen)
        if keys.get("Check") != keys["Gen"]:
            problems.append("set %d: Gen %s, Check %s" % (index, gen, keys.get("Check")))
        if keys.get("Pad") != "p" * (gen * 37 % 900):
            problems.append("set %d: padding not of generation %d" % (index, gen))
        if keys.get("Solo") not in (str(gen), str(gen - 1)):
            problems.append("set %d: Solo %s with Gen %d" % (index, keys.get("Solo"), gen))
        # A damaged file falls back to the copy before its last commit.
        if gen < floor[index] - (1 if damaged else 0):
            problems.append("set %d: generation %d older than %d" % (index, gen, floor[index]))
    if not damaged and len(gens) == 3:
        problems += order_problems(gens, floor)
    return problems


def session_keys(number):
    """The store's keys that a repeater session numbered number writes."""
    ssid, key = "Up%d" % number, "Key%08d" % number
    return ssid, key, [(0, "ApCliSsid", ssid), (0, "ApCliWPAPSK", key),
                       (0, "SSID1", ssid + "_EXT2.4G"), (1, "SSID1", ssid + "_EXT5G"),
                       (0, "WPAPSK1", key), (1, "WPAPSK1", key)]


def session_problems(values, number):
    landed = [values[s].get(k, "").split(";")[0] == v for s, k, v in session_keys(number)[2]]
    if any(landed) and not all(landed):
        return ["repeater session %d: %d of %d credentials" % (number, sum(landed), len(landed))]
    return []


def start_repeater_session(board, number, cut_after=None):
    """Starts a session; cut_after=N cuts the power right after its Nth file
    replacement (cut_after_rename.c)."""
    ssid, key, _ = session_keys(number)
    cutter = "env LD_PRELOAD=/lib/libcut_after_rename.so POWERCUT_AFTER_RENAMES=%d " % cut_after \
        if cut_after else ""
    commands = [
        "nvram set 0 OperationMode 3",
        "boardctl wifi-configured apcli0 state=2 ssid=%s auth=32 encr=8 key-index=1 key=%s"
        % (ssid, key),
        "boardctl wifi-status apcli0 3 3 34",
        "boardctl wifi-status apclii0 3",
        "boardctl wifi-bssid apcli0 02:00:00:00:%02x:%02x" % (number >> 8 & 255, number & 255),
        "boardctl wifi-channel apcli0 6",
        "setsid %srepeater-session </dev/null >/dev/console 2>&1 &" % cutter,
    ]
    for command in commands:
        reply = board.run(command)
        if reply is None or reply[0] != 0:
            return False
    return True


def damage(board, rng):
    """Damages one set's file on the flash from inside the board; what was done."""
    name = rng.choice(SET_FILES)
    path = "%s/%s" % (STORE, name)
    if rng.random() < 0.5:
        command = ("size=$(wc -c < %s) && off=$(( %d %% size )) &&"
                   " b=$(dd if=%s bs=1 skip=$off count=1 2>/dev/null | od -An -tu1) &&"
                   " printf \"$(printf '\\\\%%03o' $(( b ^ 4 )))\" |"
                   " dd of=%s bs=1 seek=$off conv=notrunc 2>/dev/null && sync"
                   % (path, rng.randrange(1 << 30), path, path))
        what = "byte flipped in %s" % name
    else:
        command = ("size=$(wc -c < %s) && head -c $(( size * %d / 8 )) %s > %s.cut &&"
                   " mv %s.cut %s && sync" % (path, rng.randrange(1, 8), path, path, path, path))
        what = "%s cut short" % name
    reply = board.run(command)
    return what if reply and reply[0] == 0 else None


def step_range(text):
    first, _, last = text.rpartition("-")
    return range(int(first or 1), int(last) + 1)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cuts", type=int, default=200)
    parser.add_argument("--seed", type=int, default=int(time.time()))
    parser.add_argument("--steps", type=step_range, default=range(0),
                        help="N or A-B: first, repeater sessions cut right after file"
                             " replacement 1..N or A..B")
    parser.add_argument("--replay", type=int)
    parser.add_argument("--step", type=int, help="with --replay: the cut is after this replacement")
    parser.add_argument("--board-dir", default=os.path.join(SOURCE, "build/powercut"))
    args = parser.parse_args()
    board_dir = os.path.abspath(args.board_dir)
    logs = os.path.join(board_dir, "logs")
    os.makedirs(logs, exist_ok=True)
    # (seed, step): step N cuts a repeater session after its Nth file
    # replacement, no step cuts at a random moment of a random workload.
    plan = [(args.replay, args.step)] if args.replay is not None else \
        [(args.seed * 1000 + step, step) for step in args.steps] + \
        [(args.seed * 1000 + len(args.steps) + i, None) for i in range(1, args.cuts + 1)]
    if args.replay is None and os.path.exists(os.path.join(board_dir, "flash.img")):
        os.unlink(os.path.join(board_dir, "flash.img"))  # a campaign starts on erased flash

    tally = {"whole": 0, "mixed": 0, "unreadable": 0, "boots failed": 0}
    # Damaged sets by where the damage was made, and those the board then
    # reported with the last good copy in use (the cut's verdict is whole).
    damages = {"damage": 0, "flash damage": 0, "recovered": 0}
    board = Board(board_dir, os.path.join(logs, "first-boot.log"))
    try:
        if not board.wait_ready():
            print("the board did not come up before the first cut", file=sys.stderr)
            return 1
        flush_soon(board)
        first = read_sets(board)[0]
        if first is None or "Gen" not in first[0]:
            board.run("powercut-writer 1 2 && sync")
        floor = {index: 1 for index in SETS}
        for seed, step in plan:
            rng = random.Random(seed)
            values, _ = read_sets(board)
            start = max(int(values[s].get("Gen", "0")) for s in SETS) + 1 if values else 1
            draw = rng.random()
            kind = "repeater" if draw < 0.3 or step else "damage" if draw < 0.38 else \
                "flash damage" if draw < 0.45 else "tool"
            damaged = None
            session_number = seed % 100000
            if values is None:
                # The last boot failed: this cut comes while it hangs.
                kind, ok, delay = "no workload (no readable store after the last boot)", True, 1.0
            elif kind == "damage":
                # Damage on the flash between two boots: no writer runs.
                damaged = damage(board, rng)
                ok = damaged is not None
                delay = rng.uniform(0.1, 1.0)
            elif kind == "flash damage":
                # No writer runs: the flash image is damaged once the power is off.
                ok, delay = True, rng.uniform(0.1, 1.0)
            elif step:
                ok = start_repeater_session(board, session_number, cut_after=step)
                began = time.time()
                if board.wait_off(SESSION_SECONDS + 15):
                    kind = "repeater cut after file replacement %d" % step
                else:
                    kind = "repeater not cut by replacement %d (cut by the host)" % step
                delay = time.time() - began
            elif kind == "repeater":
                ok = start_repeater_session(board, session_number)
                delay = rng.uniform(0.5, SESSION_SECONDS + 8)
            else:
                ok = board.run("setsid powercut-writer %d </dev/null >/dev/null 2>&1 &" % start)
                delay = rng.uniform(0.2, 6.0)
            if not ok:
                print("seed %d: the workload did not start" % seed)
            if not step:
                time.sleep(delay)
            board.cut()
            if kind == "flash damage" and values is not None:
                damaged = flash_image.damage(os.path.join(board_dir, "flash.img"),
                                             rng.choice(SET_FILES), rng.choice(("flip", "cut")), rng)
                if damaged is None:
                    print("seed %d: no data of the chosen set on the flash to damage" % seed)

            console = os.path.join(logs, "seed-%d.log" % seed)
            if os.path.exists(console):
                os.unlink(console)
            board = Board(board_dir, console)
            before = dict(floor)
            if not board.wait_ready():
                tally["boots failed"] += 1
                verdict, detail = "boot failed", "see " + console
            else:
                flush_soon(board)
                values, why = read_sets(board)
                if values is None:
                    tally["unreadable"] += 1
                    verdict, detail = "unreadable", why
                else:
                    problems = generation_problems(values, floor, bool(damaged))
                    if kind.startswith("repeater"):
                        problems += session_problems(values, session_number)
                        landed = values[0].get("ApCliSsid") == session_keys(session_number)[0]
                        kind += " (credentials %s)" % ("stored" if landed else "not stored")
                    if damaged and "is damaged" not in console_text(console):
                        problems.append("damage (%s) not reported" % damaged)
                    if any("no generation" in p for p in problems):
                        tally["unreadable"] += 1
                        verdict = "unreadable"
                    elif problems:
                        tally["mixed"] += 1
                        verdict = "mixed"
                    else:
                        tally["whole"] += 1
                        verdict = "whole"
                    detail = "; ".join(problems)
                    if damaged:
                        damages[kind] += 1
                        damages["recovered"] += verdict == "whole"
                    for index in SETS:
                        if "Gen" in values[index]:
                            floor[index] = int(values[index]["Gen"])
            print("cut seed %d%s: %s after %.2f s%s: generations %s -> %s: %s%s" % (
                seed, " step %d" % step if step else "", kind, delay, ", " + damaged if damaged else "",
                "/".join(str(before[s]) for s in SETS), "/".join(str(floor[s]) for s in SETS), verdict,
                " (" + detail + ")" if detail else ""), flush=True)
    finally:
        board.cut()
        socket_path = os.path.join(board_dir, "control.sock")
        if os.path.exists(socket_path):
            os.unlink(socket_path)
    print("damaged sets: %d through the file system, %d on the flash image;"
          " reported with the last good copy used: %d" % (
              damages["damage"], damages["flash damage"], damages["recovered"]))
    print("power cuts: %d, whole: %d, mixed: %d, unreadable: %d, boots failed: %d" % (
        len(plan), tally["whole"], tally["mixed"], tally["unreadable"], tally["boots failed"]))
    return 0 if tally["whole"] == len(plan) else 1


if __name__ == "__main__":
    # A stopped campaign (SIGTERM, as from ctest's time-out) still powers its
    # board off: the exit runs main's clean-up.
    signal.signal(signal.SIGTERM, lambda signum, frame: sys.exit(128 + signum))
    sys.exit(main())
