#!/usr/bin/python3
"""The page on a slow phone: headless Chromium with its CPU slowed four times
(the DevTools protocol's Emulation.setCPUThrottlingRate).

Usage: web_bench.py PAGE_FOLDER

- The time from opening the page to its first menu frame, with the page's
  files in the browser's cache (the median of 5 loads after a first one).
- A busy game ("Möven: viele", "Spiel turbo", "MP-Speed turbo", the machine
  gun firing all along): its frame rate over 5 s (target 58 or more), and
  each pass of the program split into its parts, timed by the page
  (Module.mwMarkFramePart): the input, the game's step and drawing, the
  picture converted to RGBA, the picture put on the canvas; the browser's
  time between two passes; and the page's main thread per frame from the
  DevTools protocol's Performance metrics (busy, scripts, style and layout).

It reports; it fails only when the run is broken (no page, no game, no shot).
"""
import statistics
import sys
import time
from pathlib import Path

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "web"))
import page_driver  # noqa: E402  (the tests' browser, page helpers and server)

SLOWDOWN = 4
TARGET_FPS = 58
TARGET_LOAD_SECONDS = 2.0
MEASURED_SECONDS = 5

# The parts of a pass: the page notes the time at its start and end and at
# each mark the program sets; a part is the time from one to the next.
PARTS = ["input", "game step and drawing", "convert to RGBA", "put on the canvas", "after"]
TIMING = """
const marks = [];
let sums = null, count = 0, last = 0, gaps = 0;
Module.mwTiming = {reset: () => { sums = [0, 0, 0, 0, 0]; count = 0; gaps = 0; },
                   read: () => ({sums: sums, count: count, gaps: gaps})};
Module.mwTiming.reset();
Module.preMainLoop = () => {
  const now = performance.now();
  if (last) gaps += now - last;
  marks.length = 0;
  marks.push(now);
};
Module.mwMarkFramePart = (part) => { marks[part] = performance.now(); };
Module.postMainLoop = () => {
  const now = performance.now();
  last = now;
  if (marks.length !== 5) return;  // a pass without a picture
  marks.push(now);
  for (let i = 0; i < 5; ++i) sums[i] += marks[i + 1] - marks[i];
  count += 1;
};
"""

COUNT_SHOTS = """
window.mwConsoleLog = console.log;
window.mwShots = 0;
console.log = (text) => {
  if (String(text).includes('"event":"sound","number":0')) window.mwShots += 1;
};
"""


def throttle(driver):
    driver.execute_cdp_cmd("Emulation.setCPUThrottlingRate", {"rate": SLOWDOWN})


def main_thread(driver):
    """The renderer's main thread's seconds so far: busy, in scripts, in style and layout."""
    values = {m["name"]: m["value"]
              for m in driver.execute_cdp_cmd("Performance.getMetrics", {})["metrics"]}
    return {"busy": values.get("TaskDuration", 0), "script": values.get("ScriptDuration", 0),
            "style and layout": values.get("RecalcStyleDuration", 0) +
            values.get("LayoutDuration", 0)}


def load_times(driver, url):
    page = page_driver.Page(driver, url)
    page.open()  # fills the cache
    page.wait_for("the first menu frame", lambda: page.pictures() > 0, 60)
    times = []
    for _ in range(5):
        page.open()
        if not page.wait_for("the first menu frame", lambda: page.pictures() > 0, 60):
            return []
        times.append(page.js("return Module.mwFirstPicture || 0;") / 1000.0)
    return times


def busy_game(driver, url):
    """The parts' mean milliseconds, the frame rate and the shots, or None."""
    page = page_driver.Page(driver, url)
    page.open()
    if not page.wait_for("the start", lambda: page.shown("start"), 60):
        return None
    page.js(TIMING)
    page.driver.find_element(By.ID, "start").click()
    if not page.wait_for("the menu", lambda: page.events("screen", name="menu"), 30):
        return None
    page.point_at(600, 40)
    page.keys(Keys.ARROW_DOWN, Keys.ENTER)
    if not page.wait_for("the settings", lambda: page.events("screen", name="settings"), 30):
        return None
    # "viele" is one choice after the default, "turbo" two for the game's
    # speed and one for the machine gun's.
    page.step_settings(((150, 1), (200, 2), (250, 1)), pause=0.3)
    if not page.wait_for("the menu again", lambda: len(page.events("screen", name="menu")) >= 2,
                         30):
        return None
    page.keys(Keys.ARROW_UP, Keys.ENTER)
    if not page.wait_for("a game", lambda: page.events("screen", name="game"), 30):
        return None
    page.keys("2")  # the machine gun
    page.point_at(320, 200)
    ActionChains(driver).click_and_hold().perform()
    time.sleep(1)
    pictures_before = page.pictures()
    # While measured, the event log's lines (one to the console per shot and
    # per message with ?test, which a player's page never writes) are only
    # counted, so that the console's cost to the browser is not measured.
    page.js(COUNT_SHOTS)
    driver.execute_cdp_cmd("Performance.enable", {})
    metrics_before = main_thread(driver)
    page.js("Module.mwTiming.reset();")
    start = time.monotonic()
    time.sleep(MEASURED_SECONDS)
    timing = page.js("return Module.mwTiming.read();")
    pictures = page.pictures() - pictures_before
    seconds = time.monotonic() - start
    metrics = {name: value - metrics_before[name] for name, value in main_thread(driver).items()}
    shots = page.js("console.log = window.mwConsoleLog; return window.mwShots;")
    ActionChains(driver).release().perform()
    page.keys(Keys.ESCAPE)
    if page.errors:
        print(f"  failures in the console: {page.errors}")
        return None
    count = max(timing["count"], 1)
    return {
        "parts": [total / count for total in timing["sums"]],
        "between": timing["gaps"] / count,
        "passes": timing["count"],
        "fps": pictures / seconds,
        "main thread": {name: value * 1000 / max(pictures, 1) for name, value in metrics.items()},
        "shots": shots,
    }


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    broken = []
    with page_driver.serving(sys.argv[1]) as (_, url), page_driver.chromium() as driver:
        throttle(driver)
        times = load_times(driver, url)
        game = busy_game(driver, url)

    print(f"web bench: Chromium headless, CPU slowed {SLOWDOWN}x")
    if times:
        median = statistics.median(times)
        print(f"  first menu frame from the cache after {median:.2f} s median (target "
              f"{TARGET_LOAD_SECONDS:.0f} s; all: {', '.join(f'{t:.2f}' for t in times)} s)")
    else:
        broken.append("the page showed no menu")
    if game and game["shots"] > 0 and game["passes"] > 0:
        parts = "; ".join(f"{name} {ms:.2f} ms" for name, ms in zip(PARTS, game["parts"]))
        print(f"  busy game (viele, turbo, machine gun turbo firing: "
              f"{game['shots'] / MEASURED_SECONDS:.0f} shots a second): {game['fps']:.1f} frames "
              f"a second (target {TARGET_FPS})")
        print(f"  a pass by part (mean of {game['passes']}): {parts}; "
              f"total {sum(game['parts']):.2f} ms; the browser between two passes "
              f"{game['between']:.2f} ms")
        busy = game["main thread"]
        print(f"  the page's main thread a frame: busy {busy['busy']:.2f} ms, of it scripts "
              f"{busy['script']:.2f} ms, style and layout {busy['style and layout']:.2f} ms, "
              f"the rest (painting, the canvas handed on, tasks) "
              f"{busy['busy'] - busy['script'] - busy['style and layout']:.2f} ms")
    elif game:
        broken.append("the machine gun fired no shot")
    else:
        broken.append("the busy game could not be played")
    for what in broken:
        print(f"  BROKEN: {what}")
    return 1 if broken else 0


if __name__ == "__main__":
    sys.exit(main())
