#!/usr/bin/python3
"""The page as an installed app, in Debian's Chromium; browser_test.py runs
it (run()) with the page's folder and the Linux program: installable, offline
after one visit, updated whole from one marked build to the next, a full
storage, and a browser killed (SIGKILL) while the program saves the table,
KILLED_SAVES times (20 unless set).
"""
import contextlib
import os
import random
import shutil
import subprocess
import tempfile
import time
from pathlib import Path

import psutil
from selenium.webdriver.common.keys import Keys

from page_driver import ROOT, TABLE, Page, browser, check, chromium, opened, run_linux, serving
from page_driver import stop, until

# Which build the page, the program and the WebAssembly came from, each read
# from the build's own mark.
READ_MARKS = ("return [document.querySelector('meta[name=\"mw-mark\"]')?.content, "
              "window.Module?.mwMark, window.mwWasmMark];")
HOOK_WASM_MARK = """
const instantiate = WebAssembly.instantiate;
WebAssembly.instantiate = async (...args) => {
  const result = await instantiate.apply(WebAssembly, args);
  const sections = WebAssembly.Module.customSections(result.module, 'mw-mark');
  if (sections.length) window.mwWasmMark = new TextDecoder().decode(sections[0]);
  return result;
};
"""
# Whether the page's service worker is ready within 15 s.
WORKER_READY = """
const done = arguments[arguments.length - 1];
setTimeout(() => done(false), 15000);
navigator.serviceWorker.ready.then(() => done(true), () => done(false));
"""
# The server asked for a new worker (as a visit does), until it is installed
# or refused; whether one is waiting then.
NEW_WORKER_WAITS = """
const done = arguments[arguments.length - 1];
(async () => {
  const registration = await navigator.serviceWorker.getRegistration();
  await registration.update().catch(() => {});
  while (registration.installing) await new Promise((wake) => setTimeout(wake, 50));
  return !!registration.waiting;
})().then(done, () => done(null));
"""
CACHES = ("const done = arguments[arguments.length - 1];"
          "caches.keys().then((names) => done(names.length), () => done(-1));")


def installable_and_offline(folder):
    with serving(folder) as (pages, url), chromium() as driver:
        Page(driver, url).start()
        check(driver.execute_async_script(WORKER_READY), "the service worker is ready")
        errors = driver.execute_cdp_cmd("Page.getInstallabilityErrors", {}).get("installabilityErrors")
        check(errors == [], f"Chromium finds the page installable ({errors})")
        stop(pages)
        page = Page(driver, url)
        page.start()
        page.to_menu()
        page.click_at(320, 250)  # "Spiel starten"
        check(page.wait_screen("game"), "offline after one visit: the page starts and a game runs")
        page.check_console("and the console holds no failure")


def marked_build(folder, into, mark, mtime):
    """A copy of the page's build with MARK in its page, its program and its
    WebAssembly (a custom section), and its service worker filled in anew; its
    files dated MTIME, as a server gives each upload's files a time of their own
    (the server answers "unchanged" by the time alone)."""
    shutil.copytree(folder, into)
    index = into / "index.html"
    index.write_text(index.read_text().replace(
        "<head>", f'<head>\n<meta name="mw-mark" content="{mark}">', 1))
    with open(into / "moewenschuss.js", "a") as program:
        program.write(f"\nModule.mwMark = '{mark}';\n")
    name, payload = b"mw-mark", mark.encode()
    body = bytes([len(name)]) + name + payload
    assert len(body) < 128  # one byte of LEB128
    with open(into / "moewenschuss.wasm", "ab") as wasm:
        wasm.write(bytes([0, len(body)]) + body)
    subprocess.run(["cmake", f"-DFOLDER={into}", "-DVERSION=0", f"-DTEMPLATE={ROOT}/web/service-worker.js",
                    "-P", str(ROOT / "cmake" / "web-service-worker.cmake")], check=True)
    for path in into.iterdir():
        os.utime(path, (mtime, mtime))


def version_update(folder):
    with tempfile.TemporaryDirectory(prefix="mw_versions_") as temporary:
        work = Path(temporary)
        now = time.time()
        marked_build(folder, work / "A", "A", now - 100)
        marked_build(folder, work / "B", "B", now)
        # B's worker and page with A's program: a server caught mid-update.
        shutil.copytree(work / "A", work / "half")
        for name in ("service-worker.js", "index.html"):
            shutil.copy2(work / "B" / name, work / "half" / name)

        def serve_build(name):
            link = work / "current.new"
            link.symlink_to(work / name)
            os.replace(link, work / "current")

        # The page in a folder of the site, so that the site's top is a page
        # outside the service worker's reach: from there the test reads the
        # site's caches without being a window of either version.
        serve_build("A")
        with serving(work) as (_, url), chromium() as driver:
            top = url.split("?")[0]

            def visit(then=None, switched=False):
                """A new tab opened on the page after the last one was closed
                (and, if SWITCHED, once the waiting version has taken over,
                which the browser does a moment after the last window of the
                old one is gone); the marks of the build it runs."""
                old = driver.current_window_handle
                driver.switch_to.new_window("tab")
                driver.switch_to.window(old)
                driver.close()
                driver.switch_to.window(driver.window_handles[0])
                if switched:
                    driver.get(top)
                    Page(driver, top).wait_for("the old version's cache deleted",
                                               lambda: driver.execute_async_script(CACHES) == 1, 10)
                driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument",
                                       {"source": HOOK_WASM_MARK})
                page = Page(driver, top + "current/?test")
                page.start()
                marks = "".join(m or "?" for m in page.js(READ_MARKS))
                if then:
                    check(driver.execute_async_script(then[0]) is then[1], then[2])
                return marks

            runs = [visit((WORKER_READY, True, "A's worker is ready")), visit()]
            serve_build("half")
            runs += [visit((NEW_WORKER_WAITS, False, "a worker of B with A's files is refused")),
                     visit()]
            serve_build("B")
            runs += [visit((NEW_WORKER_WAITS, True, "B's worker is installed and waits")),
                     visit(switched=True), visit()]
        print(f"  builds run by the visits: {' '.join(runs)}")
        check(runs == ["AAA"] * 5 + ["BBB"] * 2, "a half-updated server leaves A whole; B runs "
              "whole from the visit after the one that fetched it")


# Every write to IndexedDB fails as in a full storage.
FULL_STORAGE = """
IDBObjectStore.prototype.put = function () {
  throw new DOMException('Der Speicher ist voll.', 'QuotaExceededError');
};"""


def full_storage(url):
    with opened(url, scripts=[FULL_STORAGE]) as page:
        page.to_menu()
        page.click_at(320, 350)  # the table, left with Escape: a save
        page.wait_screen("highscores")
        page.keys(Keys.ESCAPE)
        page.wait_for("the line under the picture", lambda: page.shown("note"), 10)
        text = page.text("note")
        check("konnte im Browser nicht gespeichert werden" in text,
              f"a full storage: the line under the picture says so ({text!r})")
        check(len(page.events("screen", name="menu")) >= 2, "and the game goes on")


# The program saves its table on leaving the high-score screen: the menu's
# table line clicked, Escape, again and again, with the page's own events.
# window.mwSaving tells whether the page is storing the files meanwhile; a
# file of 4 MB changed before each store makes it last long enough for a
# kill to land in the middle.
SAVING = """
const syncfs = Module.FS.syncfs;
const ballast = new Uint8Array(4 << 20);
window.mwSaving = 0;
Module.FS.syncfs = function (populate, done) {
  window.mwSaving++;
  ballast[0]++;
  Module.FS.writeFile('/data/ballast', ballast);
  return syncfs.call(Module.FS, populate, (error) => { window.mwSaving--; done(error); });
};
const canvas = document.getElementById('picture');
document.getElementById('start').click();
const r = canvas.getBoundingClientRect();
const table = {clientX: r.left + 320.5 * r.width / 640, clientY: r.top + 350.5 * r.height / 480,
               bubbles: true, button: 0};
const escape = {key: 'Escape', code: 'Escape', keyCode: 27, bubbles: true};
let step = 0;
window.setInterval(() => {
  const events = step++ % 2 === 0
      ? ['mousemove', 'mousedown', 'mouseup'].map((type) => new MouseEvent(type, table))
      : ['keydown', 'keyup'].map((type) => new KeyboardEvent(type, escape));
  events.forEach((event) => canvas.dispatchEvent(event));
}, 40);
"""
WRITE_TABLE = """
const done = arguments[arguments.length - 1];
Module.FS.writeFile('/data/highscores.pdk', new Uint8Array(arguments[0]));
Module.FS.syncfs(false, (error) => done(!error));
"""


def killed_saves(url, linux, kills):
    with tempfile.TemporaryDirectory(prefix="mw_killed_") as temporary:
        run_linux(linux, temporary, "--headless", str(ROOT / "tests/golden/highscores.script"))
        new = Path(temporary, "highscores.pdk").read_bytes()
    # A sixth record that every save drops: the old and the new table differ.
    old = new + new[:24]
    chance = random.Random(20261209)  # the same instants on every run
    seen = {"old": 0, "new": 0, "other": 0}
    aimed = 0
    with tempfile.TemporaryDirectory(prefix="mw_chromium_") as profile:
        for kill in range(kills + 1):
            driver = browser(profile)
            try:
                page = Page(driver, url)
                page.start()
                if kill > 0:
                    left = page.read_file(TABLE)
                    kind = "old" if left == old else "new" if left == new else "other"
                    seen[kind] += 1
                    if kind == "other":
                        note = page.text("note")
                        print(f"  after kill {kill}: " +
                              ("no table" if left is None else f"{len(left)} bytes") +
                              (f", the page says: {note}" if note else ""))
                if kill == kills:
                    break
                if not driver.execute_async_script(WRITE_TABLE, list(old)):
                    check(False, "the old table is kept before the saves")
                page.js(SAVING)
                # The browser's own process and every process under it.
                under = psutil.Process(driver.service.process.pid).children(recursive=True)
                # At a random instant, then as soon as the page is storing a save.
                time.sleep(chance.uniform(0, 0.3))
                aimed += until(lambda: page.js("return window.mwSaving > 0;"), 2, poll=0)
                for process in under:
                    with contextlib.suppress(psutil.NoSuchProcess):
                        process.kill()
            finally:
                with contextlib.suppress(Exception):  # the browser is gone: its driver may say so
                    driver.quit()
    print(f"  {kills} kills of Chromium while it saves ({aimed} while the page stored a save): "
          f"{seen}")
    check(seen["other"] == 0 and sum(seen.values()) == kills,
          "every killed save left the old or the new table")
    check(seen["new"] > 0, "the saves reached the browser's storage before a kill")


def run(url, folder, linux):
    begun = time.monotonic()
    installable_and_offline(folder)
    version_update(folder)
    full_storage(url)
    killed_saves(url, linux, int(os.environ.get("KILLED_SAVES", "20")))
    print(f"  the page as an app: {time.monotonic() - begun:.0f} s")
