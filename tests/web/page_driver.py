"""What the page's tests share: the page served from a local server, Debian's
Chromium driven headless through Selenium and the DevTools protocol, the
event log a page opened with ?test writes to the console, and one list of
failed checks for the whole run."""
import base64
import contextlib
import io
import json
import math
import os
import socket
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
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.common.by import By

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "web"))
import serve  # noqa: E402  (web/serve.py: the page's static server)

# SDL's audio in the page plays through a ScriptProcessorNode, which
# Chromium calls deprecated; that line is the library's, not the page's.
KNOWN_WARNING = "The ScriptProcessorNode is deprecated"
TABLE = "/data/highscores.pdk"
failures = []


def check(ok, what):
    print(("ok      " if ok else "FAILED  ") + what, flush=True)
    if not ok:
        failures.append(what)


def until(test, seconds, poll=0.05):
    """Whether TEST() comes true within SECONDS."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if test():
            return True
        time.sleep(poll)
    return False


@contextlib.contextmanager
def serving(folder):
    """A quiet server of the folder while the block runs: the server and the page's URL."""
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        port = s.getsockname()[1]
    pages = serve.server(str(folder), port, quiet=True)
    # A tab closed while a file still came is no fault of the page's.
    pages.handle_error = lambda request, address: None
    threading.Thread(target=pages.serve_forever, daemon=True).start()
    try:
        yield pages, f"http://127.0.0.1:{port}/?test"
    finally:
        stop(pages)


def stop(pages):
    pages.shutdown()
    pages.server_close()


def browser(profile, size=None, touch=False, scripts=()):
    """Chromium with the profile; SIZE and TOUCH as a phone's viewport, and
    SCRIPTS run in every document before the page's own."""
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-sync",
                 "--disable-background-networking", "--disable-component-update",
                 "--disable-quic", "--window-size=1280,900", f"--user-data-dir={profile}"):
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    if size:
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": size[0], "height": size[1], "deviceScaleFactor": 1, "mobile": touch})
    if touch:
        driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": True, "maxTouchPoints": 5})
    for source in scripts:
        driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": source})
    return driver


@contextlib.contextmanager
def chromium(**how):
    """A browser (as browser() takes HOW) with a fresh profile, quit at the end."""
    with tempfile.TemporaryDirectory(prefix="mw_chromium_") as profile:
        driver = browser(profile, **how)
        try:
            yield driver
        finally:
            driver.quit()


@contextlib.contextmanager
def opened(url, start=True, **how):
    """The page opened (with START until its first menu frame) in a browser of its own."""
    with chromium(**how) as driver:
        page = Page(driver, url)
        (page.start if start else page.open)()
        yield page


def run_linux(linux, folder, *args, check_status=True):
    """The Linux program without window or sound in FOLDER, its table kept there."""
    env = dict(os.environ, SDL_AUDIODRIVER="dummy", SDL_VIDEODRIVER="dummy", OEDIR="./")
    return subprocess.run([linux, *args], cwd=folder, env=env, check=check_status,
                          stdout=subprocess.DEVNULL).returncode


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


def sea_moves(page, seconds=0.4, share=0.1, doing=None):
    """Whether more than SHARE of the sea's rows just below the horizon change
    within SECONDS (after DOING() is done): the sea moves as the view scrolls."""
    sea = slice(240 * 640 * 3, 250 * 640 * 3)
    before = page.canvas_rgb()[sea]
    if doing:
        doing()
    time.sleep(seconds)
    after = page.canvas_rgb()[sea]
    return sum(1 for a, b in zip(before, after) if a != b) > len(before) * share


class Page:
    """The page in a browser: its console lines, its canvas, its hands."""

    def __init__(self, driver, url):
        self.driver, self.url = driver, url
        self.lines, self.errors, self.warnings = [], [], []

    def open(self):
        self.driver.get(self.url)

    def start(self):
        """Opened, until the first menu frame is drawn."""
        self.open()
        return self.wait_for("the first menu frame", lambda: self.pictures() > 0)

    def to_menu(self, by_script=False):
        """"Klicken zum Spielen" clicked (by a script where no mouse is), until the menu shows."""
        self.wait_for("the start", lambda: self.shown("start"))
        if by_script:
            self.js("document.getElementById('start').click();")
        else:
            self.driver.find_element(By.ID, "start").click()
        self.wait_screen("menu")

    def to_settings(self):
        """From the menu, with the pointer where no menu line is (the settings
        screen then shows no line selected), until the settings stand still."""
        self.point_at(600, 40)
        time.sleep(0.2)
        self.keys(Keys.ARROW_DOWN, Keys.ENTER)
        self.wait_screen("settings", settle=0.3)

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
                with contextlib.suppress(ValueError):  # a line of the page's that is no event
                    self.lines.append(json.loads(json.loads(message[start:message.rfind('"') + 1])))

    def events(self, kind, **fields):
        self.read_console()
        return [e for e in self.lines
                if e.get("event") == kind and all(e.get(k) == v for k, v in fields.items())]

    def sounds(self, number):
        return len(self.events("sound", number=number))

    def score(self):
        """The sum of the numbers the game showed: each is a gain or a loss."""
        return sum(int(e["text"]) for e in self.events("message") if e["text"].lstrip("-").isdigit())

    def check_console(self, what, warnings=False):
        """No failure in the console, and with WARNINGS no warning or intervention either."""
        self.read_console()
        problems = self.errors + [w for w in self.warnings if warnings and KNOWN_WARNING not in w]
        check(not problems, what + (f": {problems}" if problems else ""))

    def wait_for(self, what, test, seconds=15):
        if until(test, seconds):
            return True
        check(False, f"waited {seconds} s for {what}")
        return False

    def wait_screen(self, name, count=1, seconds=15, settle=0):
        """Until the game has shown screen NAME COUNT times, and SETTLE s more; whether it has."""
        shown = self.wait_for(f"screen {name!r} to be shown {count}x",
                              lambda: len(self.events("screen", name=name)) >= count, seconds)
        time.sleep(settle)
        return shown

    def pictures(self):
        return self.js("return (window.Module && Module.mwPictures) || 0;")

    def shown(self, element_id):
        return self.js("return !document.getElementById(arguments[0]).classList.contains('hidden');",
                       element_id)

    def text(self, element_id):
        return self.js("return document.getElementById(arguments[0]).textContent;", element_id)

    def read_file(self, path):
        """A file of the program's file system, or None where there is none."""
        found = self.js("try { return Array.from(Module.FS.readFile(arguments[0])); } "
                        "catch (error) { return null; }", path)
        return None if found is None else bytes(found)

    def names_after_reload(self):
        """The names in the table once the page is loaded anew."""
        time.sleep(1)
        self.start()
        return table_names(self.read_file(TABLE) or b"")

    def rect(self, element_id="picture"):
        return self.js("return document.getElementById(arguments[0]).getBoundingClientRect()"
                       ".toJSON();", element_id)

    def point_at(self, x, y):
        self.point_at_page(*self.page_point(x, y))

    def page_point(self, x, y):
        """The first whole page pixel inside picture pixel (x, y) of the scaled canvas."""
        rect = self.rect()
        scale = rect["width"] / 640
        return math.ceil(rect["left"] + x * scale + 0.01), math.ceil(rect["top"] + y * scale + 0.01)

    def point_at_page(self, x, y):
        action = ActionBuilder(self.driver)
        action.pointer_action.move_to_location(int(x), int(y))
        action.perform()

    def click(self):
        ActionChains(self.driver).click().perform()

    def click_at(self, x, y):
        """A click on picture pixel (x, y) where no page control covers it
        (under "Fenster" a click would leave full screen); whether it could."""
        at = self.page_point(x, y)
        if self.js("return document.elementFromPoint(...arguments)?.id !== 'picture';", *at):
            return False
        self.point_at_page(*at)
        self.click()
        time.sleep(0.15)
        return True

    def keys(self, *keys):
        chain = ActionChains(self.driver)
        for key in keys:
            chain.send_keys(key).pause(0.1)
        chain.perform()

    def step_settings(self, choices, pause=0.2):
        """On the settings screen: Enter as often as asked on the line at each
        screen row, then Escape back to the menu."""
        for y, presses in choices:
            self.point_at(20, y)
            for _ in range(presses):
                time.sleep(pause)
                self.keys(Keys.ENTER)
        time.sleep(pause)
        self.point_at(600, 40)
        self.keys(Keys.ESCAPE)

    def canvas_rgb(self):
        data = self.js("return document.getElementById('picture').toDataURL('image/png');")
        image = Image.open(io.BytesIO(base64.b64decode(data.split(",", 1)[1])))
        return image.convert("RGB").tobytes()


# The biggest gull on the canvas, or null. The canvas's pixels are read through
# a copy made for reading: the page's own canvas is made for showing, and
# reading it often makes Chromium warn. Gulls are the middles of the white
# pixels in the sky that were not white at the look before (a gull moves; the
# sun and a splat on the windscreen do not), in cells of 16x16 pixels, each
# with its count of pixels. The crosshair centred at (awayX, awayY) is no gull,
# nor is what it uncovered since the look before.
GULL_ON_CANVAS = """
window.mwReadCopy = window.mwReadCopy ||
    Object.assign(document.createElement('canvas'), {width: 640, height: 480});
const readCopy = window.mwReadCopy.getContext('2d', {willReadFrequently: true});
readCopy.drawImage(document.getElementById('picture'), 0, 0);
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
const gulls = findGulls(...arguments).sort((a, b) => b[2] - a[2]);
return gulls.length ? gulls[0].slice(0, 2) : null;
"""


def hunt(page, shoot, reload, seconds=90):
    """Shoots as a player aims, a little above a gull seen on the canvas (gulls
    rise as they come), until a hit puts the score above nothing; reloads once
    the rifle clicks empty. SHOOT(x, y) says whether it could shoot there."""
    empty = page.sounds(1)
    aim = (320, 400)
    end = time.monotonic() + seconds
    while time.monotonic() < end and not page.events("game-end"):
        if page.sounds(6) and page.score() > 0:
            return
        if page.sounds(1) > empty:
            empty = page.sounds(1)
            reload()
        target = page.js(GULL_ON_CANVAS, *aim)
        if target is not None:
            aim = (target[0], max(target[1] - 2, 0))
        if target is None or not shoot(*aim):
            time.sleep(0.05)
