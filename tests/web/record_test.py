#!/usr/bin/python3
"""Pictures and recordings in the page, in Debian's Chromium; browser_test.py
runs it (run()) on the page it serves: F12's pictures, a visit's recording
replayed on Linux, a Linux recording dropped onto the page, and a file that is
no recording.
"""
import base64
import json
import re
import tempfile
import time
from pathlib import Path

from PIL import Image
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

from page_driver import Page, check, chromium, run_linux, until

LINUX_VISIT = ("0 mouse 600 40\n200 press arrow-down\n400 press enter\n1000 press escape\n"
               "1300 press arrow-down\n1500 press arrow-down\n1700 press enter\n")

DROP = """
const bytes = Uint8Array.from(atob(arguments[0]), (c) => c.charCodeAt(0));
const transfer = new DataTransfer();
transfer.items.add(new File([bytes], arguments[1]));
document.body.dispatchEvent(new DragEvent('drop', {dataTransfer: transfer, bubbles: true,
                                                   cancelable: true}));
"""


def downloaded(folder, pattern, count=1):
    def files():
        return sorted(p for p in folder.iterdir() if re.fullmatch(pattern, p.name))
    until(lambda: len(files()) >= count, 10, poll=0.1)
    return files()


def visit_recorded(driver, url, linux, downloads, work):
    page = Page(driver, url)
    page.open()
    page.to_menu()
    page.to_settings()
    page.keys(Keys.F12, Keys.F12)
    pictures = downloaded(downloads, r"moewenschuss-\d{8}-\d{6}(-\d+)?\.png", 2)
    names = sorted((p.name for p in pictures), key=len)
    stamps = {name[:28] for name in names}
    check(len(names) == 2 and (len(stamps) == 2 or names[1].endswith("-2.png")),
          f"F12 twice downloads two pictures named as on the desktop ({names})")
    shown = page.canvas_rgb()
    check(all(Image.open(p).convert("RGB").tobytes() == shown for p in pictures),
          "each the picture on screen, pixel for pixel")

    page.keys(Keys.ESCAPE)
    page.wait_screen("menu", 2)
    page.keys(Keys.ARROW_DOWN, Keys.ARROW_DOWN, Keys.ENTER)
    page.wait_for("the end", lambda: page.shown("ended") and page.events("exit"))
    check(page.shown("save-recording"), "after the visit the page offers \"Aufnahme speichern\"")
    page.driver.find_element(By.ID, "save-recording").click()
    recordings = downloaded(downloads, r"moewenschuss-\d{8}-\d{6}\.mwrec")
    check(len(recordings) == 1, "the visit's recording is downloaded")
    if not recordings:
        return
    log = work / "page-visit.jsonl"
    status = run_linux(linux, work, "--replay", str(recordings[0]), "--no-window", "--events", str(log),
                       check_status=False)
    replayed = [json.loads(line) for line in log.read_text().splitlines()] if log.exists() else []
    check(status == 0 and replayed == page.lines,
          "the page's recording replays on Linux with the page's event log")


def linux_recording_in_page(driver, url, linux, work):
    (work / "run.script").write_text(LINUX_VISIT)
    run_linux(linux, work, "--headless", "run.script", "--events", "linux.jsonl", "--record", "linux.mwrec")
    page = Page(driver, url)
    page.open()
    page.wait_for("the program", lambda: page.js("return !!(window.Module && Module.mwFrames);"))
    # Dropped while the visit runs: the visit is closed, then the replay runs.
    page.js(DROP, base64.b64encode((work / "linux.mwrec").read_bytes()).decode(), "linux.mwrec")
    page.wait_for("the replay's end", lambda: page.shown("ended"), 20)
    text = page.text("ended-text")
    log = page.read_file("/aufnahme/abgespielt.jsonl")
    check(text == "Die Aufnahme ist zu Ende." and log == (work / "linux.jsonl").read_bytes(),
          f"a Linux recording dropped onto the page replays with the Linux event log ({text})")

    (work / "kaputt.mwrec").write_bytes(b"MWREC\x02 kaputt")
    page.driver.find_element(By.ID, "recording-file").send_keys(str(work / "kaputt.mwrec"))
    page.wait_for("the refusal", lambda: "kaputt" in page.text("ended-text"))
    text = page.text("ended-text")
    check(text.startswith("Die Aufzeichnung „kaputt.mwrec“ kann nicht abgespielt werden: "),
          f"a broken recording chosen in the page gets its German reason ({text})")


def run(url, linux):
    begun = time.monotonic()
    with tempfile.TemporaryDirectory(prefix="mw_record_test_") as folder, chromium() as driver:
        work = Path(folder)
        downloads = work / "downloads"
        downloads.mkdir()
        driver.execute_cdp_cmd("Browser.setDownloadBehavior",
                               {"behavior": "allow", "downloadPath": str(downloads)})
        visit_recorded(driver, url, linux, downloads, work)
        linux_recording_in_page(driver, url, linux, work)
    print(f"  pictures and recordings: {time.monotonic() - begun:.0f} s")
