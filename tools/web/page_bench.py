#!/usr/bin/python3
"""Figures of the page in headless Chromium, for reports (not a test): the time from the
start of loading to the first frame on 127.0.0.1 and its steps (the three files arriving,
the WebAssembly compiled and started, the player's start-up to its first frame), over
LOADS fresh loads; then the processor time of Chromium's processes while the picture
animates, over SECONDS.

Usage: page_bench.py WEB_BUILD_DIR [LOADS [SECONDS]]
"""
import os
import shutil
import statistics
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import page_session as ps  # noqa: E402

STEPS = """
  const at = (name) => {
    const e = performance.getEntriesByName(name);
    return e.length ? e[e.length - 1] : null;
  };
  const resource = (file) => performance.getEntriesByType('resource')
      .filter((e) => e.name.endsWith('/' + file)).pop();
  const nav = performance.getEntriesByType('navigation')[0];
  const js = resource('moviquel.js'), wasm = resource('moviquel.wasm');
  return {html: nav.responseEnd, js_start: js.startTime, js: js.responseEnd,
          wasm_start: wasm.startTime, wasm: wasm.responseEnd,
          runtime: at('moviquel-runtime').startTime, first: at('moviquel-first-frame').startTime,
          wasm_bytes: wasm.encodedBodySize};
"""


def descendants(pid):
    """pid and every process under it."""
    children = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % entry) as f:
                parent = int(f.read().rsplit(")", 1)[1].split()[1])
        except OSError:
            continue
        children.setdefault(parent, []).append(int(entry))
    found, todo = [], [pid]
    while todo:
        p = todo.pop()
        found.append(p)
        todo.extend(children.get(p, []))
    return found


def kind(pid):
    """Chromium's process kind (browser, renderer, gpu-process, ...), or None."""
    try:
        with open("/proc/%d/cmdline" % pid, "rb") as f:
            # Chromium's child processes rewrite theirs as one string.
            args = f.read().replace(b" ", b"\0").split(b"\0")
    except OSError:
        return None
    if not args or not args[0].endswith(b"/chromium"):
        return None
    for a in args:
        if a.startswith(b"--type="):
            return a[7:].decode()
    return "browser"


def ticks(pid):
    try:
        with open("/proc/%d/stat" % pid) as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return int(fields[11]) + int(fields[12])  # utime + stime
    except OSError:
        return 0


def main():
    folder = sys.argv[1]
    loads = int(sys.argv[2]) if len(sys.argv) > 2 else 10
    seconds = int(sys.argv[3]) if len(sys.argv) > 3 else 20
    server = ps.Server(folder)
    driver = ps.browser()
    try:
        # Every load fetches and compiles the files afresh, as on a first visit.
        driver.execute_cdp_cmd("Network.setCacheDisabled", {"cacheDisabled": True})
        rows = []
        for n in range(loads + 1):
            driver.get("%sindex.html?load=%d" % (server.address, n))
            ps.first_frame_ms(driver)
            if n > 0:  # the first load warms Chromium and the disk cache up; not counted
                rows.append(driver.execute_script(STEPS))
        print("page_bench: %d loads from %s, median (min..max) ms after the start of loading"
              % (loads, server.address))

        def show(label, values):
            print("  %-44s %7.1f  (%.1f..%.1f)" % (label, statistics.median(values),
                                                   min(values), max(values)))
        show("index.html received", [r["html"] for r in rows])
        show("moviquel.js received", [r["js"] for r in rows])
        show("moviquel.wasm received", [r["wasm"] for r in rows])
        show("WebAssembly compiled and started", [r["runtime"] for r in rows])
        show("first frame shown", [r["first"] for r in rows])
        show("  of which: wasm arrived to runtime ready", [r["runtime"] - r["wasm"] for r in rows])
        show("  of which: player's start-up to 1st frame", [r["first"] - r["runtime"] for r in rows])
        print("  moviquel.wasm as sent: %d bytes" % rows[-1]["wasm_bytes"])

        # Processor time while the picture animates, per Chromium process kind.
        ps.wait_for(driver, lambda d: d.execute_script("return MoviquelPage.frames") > 10, 20,
                    "ten frames")
        root = driver.service.process.pid
        pids = [p for p in descendants(root) if kind(p)]
        before = {p: ticks(p) for p in pids}
        frames_before = driver.execute_script("return MoviquelPage.frames")
        started = time.monotonic()
        time.sleep(seconds)
        elapsed = time.monotonic() - started
        frames = driver.execute_script("return MoviquelPage.frames") - frames_before
        hz = os.sysconf("SC_CLK_TCK")
        shares = {}
        for p in pids:
            shares.setdefault(kind(p), 0)
            shares[kind(p)] += (ticks(p) - before[p]) / hz / elapsed * 100
        print("page_bench: processor time while animating, %.0f s, %.1f frames a second"
              % (elapsed, frames / elapsed))
        for name, share in sorted(shares.items()):
            print("  %-44s %6.2f %% of one core" % ("Chromium " + name, share))
        print("  %-44s %6.2f %% of one core" % ("all of Chromium", sum(shares.values())))
    finally:
        driver.quit()
        shutil.rmtree(driver.mq_profile, ignore_errors=True)
        server.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
