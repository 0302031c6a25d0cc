#!/usr/bin/python3
"""The page in Debian's Chromium, headless, played as a player would with the
browser's own keyboard and mouse events, from a local server; a browser
without WebAssembly, and one that keeps nothing. Then touch_test.py,
app_test.py and record_test.py on the same page.

Usage: browser_test.py PAGE_FOLDER LINUX_EXE
"""
import gzip
import os
import statistics
import sys
import tempfile
import time
from pathlib import Path

from PIL import Image
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

import app_test
import record_test
import touch_test
from page_driver import Page, check, chromium, failures, hunt, opened, run_linux, sea_moves
from page_driver import serving

MAX_GZIP_BYTES = 2.5 * 1000 * 1000
MAX_LOAD_SECONDS = 1.5

# As a browser hides a page: a hidden document, then the event.
HIDE_PAGE = """
Object.defineProperty(document, 'hidden', {configurable: true, get: () => true});
Object.defineProperty(document, 'visibilityState', {configurable: true, get: () => 'hidden'});
document.dispatchEvent(new Event('visibilitychange'));
"""


def linux_picture(linux, script):
    with tempfile.TemporaryDirectory(prefix="mw_web_linux_") as folder:
        Path(folder, "run.script").write_text(script)
        run_linux(linux, folder, "--headless", "run.script", "--shots", "shots")
        return Image.open(Path(folder, "shots", "picture.png")).convert("RGB").tobytes()


def settings_like_linux(page, linux):
    page.to_settings()
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
    # Many gulls ("Möven: viele") and the longest game (12:00), so that a slow
    # machine cannot run out of time before the test is done.
    page.step_settings(((150, 1), (300, 3)))
    page.wait_screen("menu", 2)


def scrolls_beyond_the_edge(page):
    # The pointer beyond the picture's left edge, over the black: the view
    # scrolls there as at the edge itself.
    page.point_at(320, 400)
    time.sleep(0.3)
    check(not sea_moves(page, 0.5, share=0), "the view stays while the pointer is inside")
    rect = page.rect()
    beyond = (rect["left"] - 30, rect["top"] + rect["height"] / 2)
    check(sea_moves(page, 1, share=1 / 3, doing=lambda: page.point_at_page(*beyond)),
          "a pointer beyond the picture's edge scrolls the view")


def play(driver, url, linux):
    page = Page(driver, url)
    page.open()
    page.to_menu()
    settings_like_linux(page, linux)
    page.keys(Keys.ARROW_UP, Keys.ENTER)
    page.wait_screen("game")
    before = page.pictures()
    time.sleep(2)
    fps = (page.pictures() - before) / 2
    print(f"  frame rate in a game: {fps:.1f} per second")
    check(fps >= 55, "a game runs at 60 frames a second")
    scrolls_beyond_the_edge(page)

    # The game goes on in the browser's full screen.
    page.point_at(320, 400)
    driver.find_element(By.ID, "full-screen").click()
    page.wait_for("full screen", lambda: page.js("return !!document.fullscreenElement;"), 5)
    hunt(page, page.click_at, ActionChains(driver).context_click().perform)
    # Escape in full screen still ends the game: the page lends it to the game.
    # (Pressed at once, before gulls on the windscreen can cost the score.)
    full_screen = page.js("return !!document.fullscreenElement;")
    page.keys(Keys.ESCAPE)
    check(full_screen, "the game was played in full screen")
    check(page.sounds(0), "the shots are heard (sound 0 in the log)")
    check(page.sounds(6), "a gull is hit (sound 6 in the log)")
    check(page.js("return !!(Module.SDL2 && Module.SDL2.audioContext && "
                  "Module.SDL2.audioContext.state === 'running');"), "the browser's audio runs")
    page.wait_screen("highscores")
    ends = [e["reason"] for e in page.events("game-end")]
    check(ends == ["escape"], f"Escape ends the game in full screen ({ends})")
    driver.find_element(By.ID, "full-screen").click()
    score = page.events("game-end")[0]["score"] if ends else 0
    print(f"  the game's score: {score}")
    # The page hidden while the name is typed (another tab, a phone's home
    # screen): the name is saved at once, as a closed window's would be.
    page.keys("Tester")
    time.sleep(0.3)
    page.js(HIDE_PAGE)
    check(page.shown("ended"), "the page hidden while a name is typed ends the program at once")
    page.wait_for("the save", lambda: page.events("highscores", action="saved"))
    page.check_console("no failure in the console")

    page = Page(driver, url)
    check(score <= 0 or "Tester" in page.names_after_reload(), "after a reload the table holds the name")
    check(score > 0, "the score entered the table")
    # "Ende" ends the program; the page says so and offers another game.
    page.to_menu()
    page.point_at(600, 40)
    page.keys(Keys.ARROW_UP, Keys.ENTER)
    page.wait_for("the end", lambda: page.shown("ended"))
    check(page.events("exit", code=0), "the program ends with status 0")
    check(page.text("ended-text") == "Möwenschuss ist beendet.", "the page says that the program has ended")
    check(page.shown("again"), "and offers another game")


def without_webassembly(url):
    with opened(url, start=False, scripts=["delete window.WebAssembly;"]) as page:
        page.wait_for("the message", lambda: page.shown("failed"), 10)
        check("ihm fehlt WebAssembly" in page.text("failed-text"),
              "a browser without WebAssembly gets a German message")


# As a private window may: no IndexedDB, and no service worker.
KEEPS_NOTHING = """
Object.defineProperty(window, 'indexedDB', {value: undefined});
Object.defineProperty(Navigator.prototype, 'serviceWorker', {get() {
  throw new DOMException('Nicht erlaubt', 'SecurityError');
}});"""


def keeping_nothing(url):
    with opened(url, scripts=[KEEPS_NOTHING]) as page:
        check(page.shown("note") and "nur für diesen Besuch" in page.text("note"),
              "a browser that keeps nothing: the line under the picture says so")
        check(page.events("screen", name="menu"), "and the game runs all the same")
        page.check_console("with no failure in the console")


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    folder, linux = sys.argv[1], os.path.abspath(sys.argv[2])
    size = sum(len(gzip.compress(path.read_bytes(), compresslevel=9))
               for path in Path(folder).iterdir() if path.is_file())
    print(f"  the page's files: {size / 1e6:.2f} MB with gzip")
    check(size <= MAX_GZIP_BYTES, "the page weighs at most 2.5 MB compressed")
    with serving(folder) as (_, url):
        with chromium() as driver:
            times = []
            for _ in range(5):
                Page(driver, url).start()
                times.append(driver.execute_script("return Module.mwFirstPicture || 0;") / 1000.0)
            median = statistics.median(times)
            print(f"  first menu frame after {', '.join(f'{t:.2f}' for t in times)} s (median {median:.2f} s)")
            check(median <= MAX_LOAD_SECONDS, "the first menu frame within 1.5 s")
            play(driver, url, linux)
        without_webassembly(url)
        keeping_nothing(url)
        touch_test.run(url)
        app_test.run(url, folder, linux)
        record_test.run(url, linux)
    print(f"browser: {'FAILED' if failures else 'passed'}, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
