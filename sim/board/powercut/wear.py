#!/usr/bin/env python3
"""Flash wear of the store on the virtual board: the flash image is compared
before and after an operation (the board syncs first, so the image holds
what JFFS2 wrote), giving the bytes that changed and the 64 KiB erase blocks
they lie in, for an `nvram set`, an `nvram commit` of an unchanged set and a
repeater session with the reboot it ends in.

Usage: wear.py [--board-dir DIR] [--rounds N]  (after prepare.sh)
"""
import argparse
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import campaign  # noqa: E402

ERASE_BLOCK = 65536
REBOOTED = "reboot: Restarting system"  # the kernel's last words before a reboot


def snapshot(board, flash):
    board.run("sync")
    time.sleep(0.5)
    with open(flash, "rb") as image:
        return image.read()


def difference(before, after):
    changed = [i for i in range(len(before)) if before[i] != after[i]]
    return len(changed), len({i // ERASE_BLOCK for i in changed})


def measure(board, flash, operation, rounds):
    total_bytes = total_blocks = 0
    for number in range(rounds):
        before = snapshot(board, flash)
        operation(number)
        after = snapshot(board, flash)
        changed, blocks = difference(before, after)
        total_bytes += changed
        total_blocks += blocks
    return total_bytes / rounds, total_blocks / rounds


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--board-dir", default=os.path.join(campaign.SOURCE, "build/powercut"))
    parser.add_argument("--rounds", type=int, default=3)
    args = parser.parse_args()
    board_dir = os.path.abspath(args.board_dir)
    flash = os.path.join(board_dir, "flash.img")
    logs = os.path.join(board_dir, "logs")
    os.makedirs(logs, exist_ok=True)
    board = campaign.Board(board_dir, os.path.join(logs, "wear.log"))
    try:
        if not board.wait_ready():
            print("the board did not come up", file=sys.stderr)
            return 1
        board.run("powercut-writer 1 1")
        board.run("nvram set 0 OperationMode 3")

        def session(number):
            reboots = campaign.console_text(board.console).count(REBOOTED)
            campaign.start_repeater_session(board, 90000 + number)
            deadline = time.time() + campaign.SESSION_SECONDS + 30
            while campaign.console_text(board.console).count(REBOOTED) == reboots:
                if time.time() > deadline:
                    raise RuntimeError("the repeater session did not end in a reboot")
                time.sleep(0.5)
            if not board.wait_ready():
                raise RuntimeError("the board did not come back after the session's reboot")

        figures = [
            ("nvram set (a changed value)",
             lambda n: board.run("nvram set 0 WearProbe %d" % n)),
            ("nvram commit of an unchanged set", lambda n: board.run("nvram commit 0")),
            ("repeater session (credentials, then reboot)", session),
        ]
        for name, operation in figures:
            changed, blocks = measure(board, flash, operation, args.rounds)
            print("%-45s %8.0f bytes, %5.1f erase blocks of 64 KiB" % (name + ":", changed, blocks))
    finally:
        board.cut()
    return 0


if __name__ == "__main__":
    sys.exit(main())
