#!/usr/bin/env python3
"""Figures of clipboard capture by dist/Wordlark.exe under Wine, run by hand:
  - bursts of distinct copies by wlk_clip_writer.exe 100, 20 and 5 ms apart
    ("ClipboardHistoryMax" 1000): copies recorded (the tray's count) per copy
    made, and how many reached the disk; then the same burst read by the least
    listener (bench/least_listener.cpp), the most any reader gets here;
  - the time from a copy to its data file (median and worst of 20);
  - how long a reader's OpenClipboard keeps failing after a change while the
    program reads the same changes (the writer's probe), against the capture's
    5 x 5 ms retry.

  python3 bench/clip_figures.py [SPACING_MS...] [--short]   (--short: 60, not 300, a burst)

Needs dist/Wordlark.exe, wlk_clip_writer.exe and wlk_least_listener.exe; runs
in the end-to-end harness.
"""

import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
import harness  # noqa: E402

SPY_LISTENING = "N-o-o-o-, ReInstall entity IS NOT NEED"
COUNT = "Event OnClipboardHistoryChanged, Count="
SPACINGS_MS = tuple(int(a) for a in sys.argv[1:] if a.isdigit()) or (100, 20, 5)
LATENCY_COPIES = 20


def start_program(session, label, settings):
    """A running program that has recorded one copy, its first item: a sign
    that it has finished starting, so that a burst does not race its start."""
    folder = harness.ProgramFolder(label)
    folder.write_settings({"WriteLog": 1, **settings})
    folder.start()
    ready = f"{label} ready".encode("utf-16-le")
    if folder.wait_for_log(SPY_LISTENING, 60) is None or not (
            session.write_clipboard("text", f"{label} ready")
            and harness.wait_until(lambda: saved_file(folder, ready), 60)):
        folder.cleanup()
        raise harness.HarnessError("the clipboard history did not start:\n" + folder.read_log())
    return folder


def data_files(folder):
    return list((folder.path / "ClipboardHistory").glob("*.txt"))


def settled_count(folder, quiet=3.0, timeout=120):
    """The number of data files once it has not changed for `quiet` seconds."""
    last, since, deadline = -1, time.monotonic(), time.monotonic() + timeout
    while time.monotonic() < deadline and time.monotonic() - since < quiet:
        if (count := len(data_files(folder))) != last:
            last, since = count, time.monotonic()
        time.sleep(0.2)
    return last


def burst(session, copies, spacing):
    folder = start_program(session, f"burst_{spacing}", {"ClipboardHistoryMax": 1000})
    try:
        line = session.write_clipboard("burst", str(copies), str(spacing), f"burst{spacing}",
                                       timeout=600)
        # Without the first item, which showed that the program was ready.
        on_disk = settled_count(folder) - 1
        recorded = max((int(l.rsplit("=", 1)[1]) for l in folder.log_lines() if COUNT in l),
                       default=1) - 1
        alive = folder.instances[0].alive()
        print(f"burst {spacing:3d} ms: {recorded}/{copies} recorded "
              f"({100.0 * recorded / copies:.1f} %), {on_disk} on disk, "
              f"program {'running' if alive else 'ENDED'}  [{line}]", flush=True)
    finally:
        folder.cleanup()


def least_burst(session, copies, spacing):
    """The same burst read by bench/least_listener.cpp, the baseline: the
    share of copies any reader can get on this machine."""
    with tempfile.TemporaryDirectory() as temp:
        output = Path(temp) / "least.txt"
        with open(output, "wb") as out:
            listener = subprocess.Popen(
                ["wine", str(harness.REPO / "build" / "windows" / "wlk_least_listener.exe")],
                env=session.env, stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.DEVNULL)
        try:
            if not harness.wait_until(lambda: b"listening" in output.read_bytes(), 60):
                raise harness.HarnessError("the least listener did not start")
            prefix = f"least{spacing}"
            session.write_clipboard("burst", str(copies), str(spacing), prefix, timeout=600)
            harness.wait_until(lambda: f"{prefix} {copies - 1}" in output.read_text(), 5, 0.1)
        finally:
            listener.kill()
            listener.wait()
        read = {line for line in output.read_text().splitlines() if line.startswith("read " + prefix)}
    print(f"burst {spacing:3d} ms, least listener: {len(read)}/{copies} read "
          f"({100.0 * len(read) / copies:.1f} %)", flush=True)


def saved_file(folder, needle):
    for path in data_files(folder):
        try:
            if needle in path.read_bytes():
                return path
        except OSError:
            pass
    return None


def latency(session):
    folder = start_program(session, "latency", {})
    delays = []
    try:
        for i in range(LATENCY_COPIES):
            text = f"latency copy {i}"
            written_ms = int(session.write_clipboard("text", text).rsplit(" ", 1)[1])
            path = harness.wait_until(lambda: saved_file(folder, text.encode("utf-16-le")),
                                      20, 0.005)
            if path is not None:
                delays.append(path.stat().st_mtime_ns / 1e6 - written_ms)
    finally:
        folder.cleanup()
    if delays:
        print(f"copy -> data file: median {statistics.median(delays):.0f} ms, "
              f"worst {max(delays):.0f} ms, {len(delays)}/{LATENCY_COPIES} saved", flush=True)


def held_clipboard(session, copies):
    """Runs the writer's probe while the program reads a 20 ms burst."""
    folder = start_program(session, "held", {"ClipboardHistoryMax": 1000})
    try:
        with tempfile.TemporaryDirectory() as temp:
            output = Path(temp) / "probe.txt"
            with open(output, "wb") as out:
                probe = subprocess.Popen(
                    ["wine", str(harness.clip_writer()), "probe", str(copies // 40 + 15)],
                    env=session.env, stdin=subprocess.DEVNULL, stdout=out,
                    stderr=subprocess.DEVNULL)
            harness.wait_until(lambda: b"listening" in output.read_bytes(), 30)
            session.write_clipboard("burst", str(copies), "20", "held")
            session.write_clipboard("web", "held web copy", "https://example.org/")
            probe.wait(timeout=120)
            lines = output.read_text("utf-8", "replace").splitlines()
    finally:
        folder.cleanup()
    changes = [line.split() for line in lines if line.startswith("change blocked")]
    blocked = [int(words[2]) for words in changes]
    if blocked:
        print(f"OpenClipboard after a change: {len(blocked)} changes, "
              f"{sum(1 for words in changes if int(words[5]) == 0)} opened at once, "
              f"{sum(1 for ms in blocked if ms <= 25)} within 25 ms, "
              f"median {statistics.median(blocked)} ms, worst {max(blocked)} ms", flush=True)


def main():
    copies = 60 if "--short" in sys.argv else 300
    session = harness.start_session()
    try:
        for spacing in SPACINGS_MS:
            burst(session, copies, spacing)
            least_burst(session, copies, spacing)
        latency(session)
        held_clipboard(session, copies)
    finally:
        harness.stop_session()


if __name__ == "__main__":
    main()
