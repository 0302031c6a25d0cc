#!/usr/bin/python3
"""The page in Debian's Chromium, headless, played as a player would with the
browser's own keyboard and mouse events, from a local server.

Usage: browser_test.py PAGE_FOLDER LINUX_EXE

- The page's files weigh at most 2.5 MB compressed with gzip.
- The first menu frame appears at most 1.5 s after the page is opened
  (median of 5 loads).
- Click to start; the settings screen's canvas equals the Linux program's
  picture of the same screen, pixel for pixel; a game with shots (its sounds
  and messages in the event log, which a page opened with ?test writes to the
  console) at 60 frames a second, the view scrolled by a pointer beyond the
  picture, Escape in full screen, a name typed on the high-score screen and
  the page hidden (the program then ends at once); every sound through the
  browser's audio, no failure in the console; the page reloaded, the table
  still holds the name; "Ende" ends the program
  and the page says so.
- A browser without WebAssembly gets a German message; one that keeps
  nothing and runs no service worker plays all the same, and a line under the
  picture says so.
- Then touch_test.py: phones and a tablet played by touch, and game pads; and
  app_test.py: the page installed, offline, updated, and its table kept
  through a full storage and a killed browser; and record_test.py: F12
  pictures and recordings in the page, replayed across it and Linux.
"""
import base64
import gzip
import io
import json
import math
import os
import socket
import statistics
import subprocess
import sys
import tempfile
import threading
import time
from pathlib import Path

from PIL import Image
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "web"))
import serve  # noqa: E402  (web/serve.py: the page's static server)

MAX_GZIP_BYTES = 2.5 * 1000 * 1000
MAX_LOAD_SECONDS = 1.5
failures = []


def check(ok, what):
    print(("ok      " if ok else "FAILED  ") + what, flush=True)
    if not ok:
        failures.append(what)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def gzip_size(folder):
    total = 0
    for path in sorted(Path(folder).iterdir()):
        if path.is_file():
            total += len(gzip.compress(path.read_bytes(), compresslevel=9))
    return total


def browser(profile):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-sync",
                 "--disable-background-networking", "--disable-component-update",
                 "--disable-quic", "--window-size=1280,900", f"--user-data-dir={profile}"):
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


class Page:
    """The page in a browser: its console lines, its canvas, its hands."""

    def __init__(self, driver, url):
        self.driver = driver
        self.url = url
        self.lines = []
        self.errors = []
        self.warnings = []

    def open(self):
        self.driver.get(self.url)

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def read_console(self):
        for entry in self.driver.get_log("browser"):
            message = entry["message"]
            if entry["level"] == "SEVERE" and "favicon" not in message:
                self.errors.append(message)
            elif entry["level"] == "WARNING" or "[Intervention]" in message:
                self.warnings.append(message)
            start = message.find('"{')
            if start >= 0:
                try:
                    line = json.loads(json.loads(message[start:message.rfind('"') + 1]))
                except ValueError:
                    continue
                self.lines.append(line)

    def events(self, kind, **fields):
        self.read_console()
        return [e for e in self.lines
                if e.get("event") == kind and all(e.get(k) == v for k, v in fields.items())]

    def wait_for(self, what, test, seconds=15):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            if test():
                return True
            time.sleep(0.05)
        check(False, f"waited {seconds} s for {what}")
        return False

    def pictures(self):
        return self.js("return (window.Module && Module.mwPictures) || 0;")

    def canvas(self):
        return self.driver.find_element(By.ID, "picture")

    def point_at(self, x, y):
        """Moves the pointer to picture pixel (x, y) of the scaled canvas: to the
        first whole page pixel inside it."""
        rect = self.js("return arguments[0].getBoundingClientRect().toJSON();", self.canvas())
        scale = rect["width"] / 640
        action = ActionBuilder(self.driver)
        action.pointer_action.move_to_location(math.ceil(rect["left"] + x * scale + 0.01),
                                               math.ceil(rect["top"] + y * scale + 0.01))
        action.perform()

    def click(self):
        ActionChains(self.driver).click().perform()

    def on_picture(self, x, y):
        """Whether picture pixel (x, y) can be clicked: no page control covers it."""
        return self.js("""
const canvas = arguments[0];
const r = canvas.getBoundingClientRect();
const scale = r.width / 640;
return document.elementFromPoint(Math.ceil(r.left + arguments[1] * scale + 0.01),
                                 Math.ceil(r.top + arguments[2] * scale + 0.01)) === canvas;""",
                       self.canvas(), x, y)

    def keys(self, *keys):
        chain = ActionChains(self.driver)
        for key in keys:
            chain.send_keys(key).pause(0.1)
        chain.perform()

    def canvas_rect(self):
        return self.js("return arguments[0].getBoundingClientRect().toJSON();", self.canvas())

    def point_at_page(self, x, y):
        action = ActionBuilder(self.driver)
        action.pointer_action.move_to_location(int(x), int(y))
        action.perform()

    def shown(self, element_id):
        return self.js("return !document.getElementById(arguments[0]).classList.contains('hidden');",
                       element_id)

    def canvas_rgb(self):
        data = self.js("return document.getElementById('picture').toDataURL('image/png');")
        image = Image.open(io.BytesIO(base64.b64decode(data.split(",", 1)[1])))
        return image.convert("RGB").tobytes()


def linux_picture(linux, script):
    with tempfile.TemporaryDirectory(prefix="mw_web_linux_") as folder:
        Path(folder, "run.script").write_text(script)
        env = dict(os.environ, SDL_AUDIODRIVER="dummy", SDL_VIDEODRIVER="dummy", OEDIR="./")
        subprocess.run([linux, "--headless", "run.script", "--shots", "shots"], cwd=folder,
                       env=env, check=True, stdout=subprocess.DEVNULL)
        return Image.open(Path(folder, "shots", "picture.png")).convert("RGB").tobytes()


# The canvas's pixels, read through a copy made for reading: the page's own
# canvas is made for showing, and reading it often makes Chromium warn.
READ_CANVAS = """
if (!window.mwReadCopy) {
  window.mwReadCopy = document.createElement('canvas');
  window.mwReadCopy.width = 640;
  window.mwReadCopy.height = 480;
}
const readCopy = window.mwReadCopy.getContext('2d', {willReadFrequently: true});
readCopy.drawImage(document.getElementById('picture'), 0, 0);
"""

# Where gulls fly: the middles of the white pixels in the sky that were not
# white at the look before (a gull moves; the sun and a splat on the
# windscreen do not), in cells of 16x16 pixels, each with its count of pixels.
# The crosshair centred at (awayX, awayY) is no gull, nor is what it
# uncovered since the look before.
FIND_GULLS = """
const white = (data, i) => Math.min(data[i], data[i + 1], data[i + 2]) >= 225 &&
    Math.max(data[i], data[i + 1], data[i + 2]) - Math.min(data[i], data[i + 1], data[i + 2]) <= 20;
const inCrosshair = (x, y, awayX, awayY) => {
  const dx = Math.abs(x - awayX), dy = Math.abs(y - awayY);
  return dx <= 16 && dy <= 16 && (dx <= 2 || dy <= 2 || (dx <= 7 && dy <= 7));
};
const findGulls = (awayX, awayY) => {
  const sky = readCopy.getImageData(0, 0, 640, 240).data;
  const [before, awayBefore] = [window.mwSkyBefore, window.mwAwayBefore || [awayX, awayY]];
  [window.mwSkyBefore, window.mwAwayBefore] = [sky, [awayX, awayY]];
  if (!before) return [];
  const cells = new Map();
  for (let y = 24; y < 236; y += 2) {
    for (let x = 0; x < 640; x += 2) {
      const i = (y * 640 + x) * 4;
      if (!white(sky, i) || white(before, i) || inCrosshair(x, y, awayX, awayY) ||
          inCrosshair(x, y, ...awayBefore)) continue;
      const key = (x >> 4) * 100 + (y >> 4);
      const cell = cells.get(key) || [0, 0, 0];
      cell[0] += 1; cell[1] += x; cell[2] += y;
      cells.set(key, cell);
    }
  }
  return [...cells.values()].filter((cell) => cell[0] >= 2).map(
      ([count, x, y]) => [Math.round(x / count), Math.round(y / count), count]);
};
"""

# The biggest of them, or null.
GULL_ON_CANVAS = READ_CANVAS + FIND_GULLS + """
let best = null;
for (const gull of findGulls(...arguments)) if (!best || gull[2] > best[2]) best = gull;
return best && best.slice(0, 2);
"""


# As a browser hides a page: a hidden document, then the event.
HIDE_PAGE = """
Object.defineProperty(document, 'hidden', {configurable: true, get: () => true});
Object.defineProperty(document, 'visibilityState', {configurable: true, get: () => 'hidden'});
document.dispatchEvent(new Event('visibilitychange'));
"""


def table_names(data):
    """The names of a high-score file's five records (its byte format)."""
    plain = bytes(b ^ ((i + 1) & 0xFF) for i, b in enumerate(data[:1275]))
    names, at = [], 0
    while at < len(plain) and len(names) < 5:
        length = min(plain[at], len(plain) - at)
        record = plain[at:at + length]
        at += max(length, 1)
        if length >= 6:
            key = sum(record[-4:]) & 0xFF
            names.append(bytes(b ^ key for b in record[2:-4]).decode("cp1252"))
    return names


def load_times(driver, url):
    times = []
    for _ in range(5):
        page = Page(driver, url)
        page.open()
        page.wait_for("the first menu frame", lambda: page.pictures() > 0)
        times.append(page.js("return Module.mwFirstPicture || 0;") / 1000.0)
    return times


def play(driver, url, linux):
    page = Page(driver, url)
    page.open()
    page.wait_for("the start", lambda: page.js(
        "return !document.getElementById('start').classList.contains('hidden');"))
    page.driver.find_element(By.ID, "start").click()
    page.wait_for("the menu", lambda: page.events("screen", name="menu"))
    # Where no menu line is: the settings screen then shows no line selected.
    page.point_at(600, 40)
    time.sleep(0.2)

    page.keys(Keys.ARROW_DOWN, Keys.ENTER)
    page.wait_for("the settings", lambda: page.events("screen", name="settings"))
    time.sleep(0.3)
    expected = linux_picture(linux, "0 mouse 600 40\n200 press arrow-down\n400 press enter\n"
                                    "1000 shot picture\n1500 close\n")
    shown = page.canvas_rgb()
    differ = sum(1 for i in range(0, len(shown), 3) if shown[i:i + 3] != expected[i:i + 3])
    if differ:
        kept = Path(tempfile.gettempdir(), "mw_browser_test")
        kept.mkdir(exist_ok=True)
        Image.frombytes("RGB", (640, 480), shown).save(kept / "canvas.png")
        Image.frombytes("RGB", (640, 480), expected).save(kept / "linux.png")
        print(f"  {differ} pixels differ; both pictures are in {kept}")
    check(differ == 0, "the settings screen on the canvas equals the Linux picture, pixel for pixel")
    # Many gulls for the game ("Möven: viele"), and the longest game (12:00),
    # so that a slow machine cannot run out of time before the test is done.
    page.point_at(20, 150)
    time.sleep(0.2)
    page.keys(Keys.ENTER)
    page.point_at(20, 300)
    for _ in range(3):
        time.sleep(0.2)
        page.keys(Keys.ENTER)
    time.sleep(0.2)
    page.point_at(600, 40)

    page.keys(Keys.ESCAPE)
    page.wait_for("the menu again", lambda: len(page.events("screen", name="menu")) >= 2)
    page.keys(Keys.ARROW_UP, Keys.ENTER)
    page.wait_for("a game", lambda: page.events("screen", name="game"))
    before = page.pictures()
    time.sleep(2)
    fps = (page.pictures() - before) / 2
    print(f"  frame rate in a game: {fps:.1f} per second")
    check(fps >= 55, "a game runs at 60 frames a second")

    # The pointer beyond the picture's left edge, over the black: the view
    # scrolls there as at the edge itself; the sea below the horizon moves.
    def sea(rgb):
        return rgb[240 * 640 * 3:250 * 640 * 3]
    page.point_at(320, 400)
    time.sleep(0.3)
    still = sea(page.canvas_rgb())
    time.sleep(0.5)
    check(sea(page.canvas_rgb()) == still, "the view stays while the pointer is inside")
    rect = page.canvas_rect()
    page.point_at_page(rect["left"] - 30, rect["top"] + rect["height"] / 2)
    time.sleep(1)
    moved = sea(page.canvas_rgb())
    changed = sum(1 for a, b in zip(still, moved) if a != b)
    check(changed > len(still) // 3, "a pointer beyond the picture's edge scrolls the view")

    # The game goes on in the browser's full screen.
    page.point_at(320, 400)
    page.driver.find_element(By.ID, "full-screen").click()
    page.wait_for("full screen", lambda: page.js("return !!document.fullscreenElement;"), 5)

    # Aimed as a player aims: at a gull seen on the canvas, a little above it
    # (gulls rise as they come), until the score is above nothing (each number
    # the game shows is a gain or a loss: a hit, a reload).
    def score():
        return sum(int(e["text"]) for e in page.events("message")
                   if e["text"].lstrip("-").isdigit())
    aim = (320, 400)
    for shot in range(400):
        if page.events("game-end"):
            break
        target = page.js(GULL_ON_CANVAS, *aim)
        if target is None:
            time.sleep(0.05)
            continue
        aim = (target[0], max(target[1] - 2, 0))
        if not page.on_picture(*aim):  # under "Fenster": a click would leave full screen
            time.sleep(0.05)
            continue
        page.point_at(*aim)
        page.click()
        time.sleep(0.15)
        if page.events("sound", number=6) and score() > 0:
            break
        if shot % 8 == 7:  # the rifle is empty: reload
            ActionChains(page.driver).context_click().perform()
    # Escape in full screen still ends the game: the page lends it to the game.
    # (Pressed at once, before gulls on the windscreen can cost the score.)
    full_screen = page.js("return !!document.fullscreenElement;")
    page.keys(Keys.ESCAPE)
    check(full_screen, "the game was played in full screen")
    check(page.events("sound", number=0), "the shots are heard (sound 0 in the log)")
    check(page.events("sound", number=6), "a gull is hit (sound 6 in the log)")
    check(page.js("return !!(Module.SDL2 && Module.SDL2.audioContext && "
                  "Module.SDL2.audioContext.state === 'running');"),
          "the browser's audio runs")
    page.wait_for("the high-score screen", lambda: page.events("screen", name="highscores"))
    ends = [e["reason"] for e in page.events("game-end")]
    check(ends == ["escape"], "Escape ends the game in full screen" +
          ("" if ends == ["escape"] else f" (the game ended by {ends})"))
    page.driver.find_element(By.ID, "full-screen").click()
    score = page.events("game-end")[0]["score"]
    print(f"  the game's score: {score}")
    # The page hidden while the name is typed (another tab, a phone's home
    # screen): the name is saved at once, as a closed window's would be.
    page.keys("Tester")
    time.sleep(0.3)
    page.js(HIDE_PAGE)
    check(page.shown("ended"), "the page hidden while a name is typed ends the program at once")
    page.wait_for("the save", lambda: page.events("highscores", action="saved"))
    check(not page.errors, "no failure in the console" + (f": {page.errors}" if page.errors else ""))

    # Reloaded: the table is still there, with the name.
    time.sleep(1)
    page = Page(driver, url)
    page.open()
    page.wait_for("the first menu frame", lambda: page.pictures() > 0)
    data = bytes(page.js("return Array.from(Module.FS.readFile('/data/highscores.pdk'));"))
    check(score <= 0 or "Tester" in table_names(data), "after a reload the table holds the name")
    check(score > 0, "the score entered the table")

    # "Ende" ends the program; the page says so and offers another game.
    page.driver.find_element(By.ID, "start").click()
    page.point_at(600, 40)
    page.keys(Keys.ARROW_UP, Keys.ENTER)
    page.wait_for("the end", lambda: page.shown("ended"))
    check(page.events("exit", code=0), "the program ends with status 0")
    check(page.js("return document.getElementById('ended-text').textContent;") ==
          "Möwenschuss ist beendet.", "the page says that the program has ended")
    check(page.shown("again"), "and offers another game")


def without_webassembly(url):
    with tempfile.TemporaryDirectory(prefix="mw_chromium_") as profile:
        driver = browser(profile)
        try:
            driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument",
                                   {"source": "delete window.WebAssembly;"})
            page = Page(driver, url)
            page.open()
            page.wait_for("the message", lambda: page.shown("failed"), 10)
            text = page.js("return document.getElementById('failed-text').textContent;")
            check("ihm fehlt WebAssembly" in text,
                  "a browser without WebAssembly gets a German message")
        finally:
            driver.quit()


def keeping_nothing(url):
    with tempfile.TemporaryDirectory(prefix="mw_chromium_") as profile:
        driver = browser(profile)
        try:
            # As a private window may: no IndexedDB, and no service worker.
            driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": """
Object.defineProperty(window, 'indexedDB', {value: undefined});
Object.defineProperty(Navigator.prototype, 'serviceWorker', {get() {
  throw new DOMException('Nicht erlaubt', 'SecurityError');
}});"""})
            page = Page(driver, url)
            page.open()
            page.wait_for("the first menu frame", lambda: page.pictures() > 0)
            check(page.shown("note") and "nur für diesen Besuch" in page.js(
                "return document.getElementById('note').textContent;"),
                "a browser that keeps nothing: the line under the picture says so")
            check(page.events("screen", name="menu"), "and the game runs all the same")
            check(not page.errors, "with no failure in the console" +
                  (f": {page.errors}" if page.errors else ""))
        finally:
            driver.quit()


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    folder, linux = sys.argv[1], os.path.abspath(sys.argv[2])
    size = gzip_size(folder)
    print(f"  the page's files: {size / 1e6:.2f} MB with gzip")
    check(size <= MAX_GZIP_BYTES, "the page weighs at most 2.5 MB compressed")

    port = free_port()
    pages = serve.server(folder, port, quiet=True)
    threading.Thread(target=pages.serve_forever, daemon=True).start()
    url = f"http://127.0.0.1:{port}/?test"
    with tempfile.TemporaryDirectory(prefix="mw_chromium_") as profile:
        driver = browser(profile)
        try:
            times = load_times(driver, url)
            median = statistics.median(times)
            print(f"  first menu frame after {', '.join(f'{t:.2f}' for t in times)} s "
                  f"(median {median:.2f} s)")
            check(median <= MAX_LOAD_SECONDS, "the first menu frame within 1.5 s")
            play(driver, url, linux)
        finally:
            driver.quit()
        try:
            without_webassembly(url)
            keeping_nothing(url)
            # Then the page on touch screens and with game pads (touch_test.py,
            # which borrows this file's helpers).
            import touch_test
            failures.extend(touch_test.run(url))
            import app_test
            failures.extend(app_test.run(url, folder, linux))
            import record_test
            failures.extend(record_test.run(url, linux))
        finally:
            pages.shutdown()
    print(f"browser: {'FAILED' if failures else 'passed'}, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
