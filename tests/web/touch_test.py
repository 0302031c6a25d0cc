#!/usr/bin/python3
"""The page on touch screens and with game pads, in Debian's Chromium with a
phone's viewport and touch (the DevTools protocol's touches and keyboard);
browser_test.py runs it (run()) on the page it serves: where the touch buttons
stand on phones, a tablet and the desktop; a visit by touch alone, and one with
stubbed game pads alone.
"""
import re
import tempfile
import time
from pathlib import Path

from page_driver import check, hunt, opened, sea_moves, until

VIEWPORTS = {"phone-landscape": (844, 390), "phone-portrait": (390, 844), "tablet": (1024, 768),
             "desktop": (1280, 800)}
TOUCH_BUTTONS = {"touch-end": "Ende", "touch-rifle": "Gewehr", "touch-mg": "MG",
                 "touch-left": "Nach links", "touch-reload": "Nachladen",
                 "touch-right": "Nach rechts"}
SHOTS = Path(tempfile.gettempdir(), "mw_touch_test")

# Where the page's boxes stand, in CSS pixels of the viewport; null where not shown.
LAYOUT = """
const box = (element) => {
  const r = element.getBoundingClientRect();
  return getComputedStyle(element).display !== 'none' && r.width > 0 ? r.toJSON() : null;
};
const buttons = Object.fromEntries([...document.querySelectorAll('.touch-button, #full-screen')]
    .map((e) => [e.id, {box: box(e), name: e.getAttribute('aria-label') || e.textContent}]));
return {canvas: box(document.getElementById('picture')), buttons: buttons,
        width: innerWidth, height: innerHeight};
"""

STILL = ("return [scrollX, scrollY, visualViewport.scale, visualViewport.offsetLeft, "
         "visualViewport.offsetTop];")

# Game pads held by the test: navigator.getGamepads shows window.mwPads.
PAD_STUB = """
window.mwPad = (index, mapping) => ({
  index: index, id: 'Testpad ' + index, connected: true, mapping: mapping, timestamp: 0,
  buttons: Array.from({length: 17}, () => ({pressed: false, touched: false, value: 0})),
  axes: [0, 0, 0, 0]});
window.mwPads = [];
navigator.getGamepads = () => window.mwPads;
window.mwSetPad = (index, button, pressed, value) => {
  mwPads.find((p) => p && p.index === index).buttons[button] =
      {pressed: pressed, touched: pressed, value: value ?? (pressed ? 1 : 0)};
};
"""


class Hand:
    """Fingers and the touch keyboard of a page, through the DevTools protocol."""

    def __init__(self, page):
        self.page = page
        self.down = {}

    def cdp(self, command, params):
        return self.page.driver.execute_cdp_cmd(command, params)

    def _send(self, kind):
        points = [{"x": x, "y": y, "id": i} for i, (x, y) in self.down.items()]
        self.cdp("Input.dispatchTouchEvent", {"type": kind, "touchPoints": points})

    def press(self, x, y, finger=0):
        self.down[finger] = (x, y)
        self._send("touchStart")

    def move(self, x, y, finger=0):
        self.down[finger] = (x, y)
        self._send("touchMove")

    def lift(self, finger=0):
        del self.down[finger]
        self._send("touchEnd")

    def tap(self, x, y, pause=0.25):
        self.press(x, y)
        self.lift()
        time.sleep(pause)

    def canvas_point(self, x, y):
        """The CSS pixel of the viewport in the middle of picture pixel (x, y)."""
        r = self.page.rect()
        return (r["left"] + (x + 0.5) * r["width"] / 640, r["top"] + (y + 0.5) * r["height"] / 480)

    def tap_picture(self, x, y, pause=0.25):
        self.tap(*self.canvas_point(x, y), pause)

    def button(self, element_id):
        r = self.page.rect(element_id)
        return (r["left"] + r["width"] / 2, r["top"] + r["height"] / 2)

    def key(self, key, code, key_code, text=None, typed=None, pause=0.1):
        """A key: a tablet's keyboard sends its TEXT with it; a touch keyboard
        sends key code 229 and inserts what is TYPED between its down and up."""
        event = {"key": key, "code": code, "windowsVirtualKeyCode": key_code}
        self.cdp("Input.dispatchKeyEvent", dict(event, type="keyDown", text=text) if text
                 else dict(event, type="rawKeyDown"))
        if typed:
            self.cdp("Input.insertText", {"text": typed})
        self.cdp("Input.dispatchKeyEvent", dict(event, type="keyUp"))
        time.sleep(pause)

    def keyboard_types(self, text):
        for character in text:
            self.key("Unidentified", "", 229, typed=character, pause=0.05)


def check_layout(url, name, size):
    touch = name != "desktop"
    with opened(url, size=size, touch=touch) as page:
        page.to_menu(by_script=True)
        time.sleep(0.3)
        SHOTS.mkdir(exist_ok=True)
        page.driver.save_screenshot(str(SHOTS / f"{name}.png"))
        layout = page.js(LAYOUT)
    canvas, width, height = layout["canvas"], layout["width"], layout["height"]

    def inside(box, slack=0.0):
        return box["left"] >= 0 and box["top"] >= 0 and box["right"] <= width + slack and \
            box["bottom"] <= height + slack
    where = f"{name} {size[0]}x{size[1]}"
    check(inside(canvas, 0.5), f"{where}: the whole picture is in the viewport")
    shown = {key: button["box"] for key, button in layout["buttons"].items() if button["box"]}
    if not touch:
        check(list(shown) == ["full-screen"], f"{where}: the desktop shows no touch button")
        return
    wrong = [key for key, label in TOUCH_BUTTONS.items() if key not in shown or
             layout["buttons"][key]["name"].strip() != label or
             min(shown[key]["width"], shown[key]["height"]) < 44]
    check(not wrong, f"{where}: every touch button is shown, at least 44x44 pixels and named "
          f"in German {wrong or ''}")
    landscape = size[0] > size[1]
    misplaced = [key for key, box in shown.items() if not inside(box) or not (
        box["right"] <= canvas["left"] or box["left"] >= canvas["right"] if landscape
        else box["top"] >= canvas["bottom"])]
    check(not misplaced, f"{where}: the buttons and \"Vollbild\" stand in the viewport "
          f"{'left and right of' if landscape else 'below'} the picture {misplaced or ''}")


def play_by_touch(url):
    with opened(url, size=VIEWPORTS["phone-landscape"], touch=True) as page:
        hand = Hand(page)
        page.wait_for("the start", lambda: page.shown("start"))
        check(page.js("return document.querySelector('#start .touch-only').offsetWidth > 0 "
                      "&& document.querySelector('#start .big').innerText;")
              == "Tippen zum Spielen", "the start says \"Tippen zum Spielen\" and how to play")
        hand.tap(*hand.button("start"))
        page.wait_screen("menu", settle=0.3)
        visit(page, hand)
        still = page.js(STILL)
        check(still == [0, 0, 1, 0, 0], f"the page never scrolled or zoomed ({still})")
        names = page.names_after_reload()
        check("Möwenjäger" in names, f"after a reload the table holds the name ({names})")
        page.check_console("the console holds no failure, warning or intervention", warnings=True)


def visit(page, hand):
    # The settings by taps: many gulls, the fastest machine gun, 6:00, back.
    hand.tap_picture(20, 290)  # "Einstellungen"
    page.wait_screen("settings", settle=0.3)
    for y in (150, 250, 300, 300, 350):  # "Möven", "MP-Speed", "Zeit" twice, "Zurück"
        hand.tap_picture(20, y, 0.35)
    page.wait_screen("menu", 2, settle=0.3)
    hand.tap_picture(20, 250)  # "Spiel starten"
    page.wait_screen("game", settle=0.5)
    before = page.sounds(0)
    for x in (200, 320, 440):
        hand.tap_picture(x, 60, 0.2)
    time.sleep(0.2)
    check(page.sounds(0) - before == 3, f"three taps fire three shots ({page.sounds(0) - before})")

    # A second finger moves nothing: the first one keeps the aim.
    hand.press(*hand.canvas_point(320, 120))
    hand.press(*hand.canvas_point(0, 240), finger=1)
    time.sleep(0.2)
    check(not sea_moves(page), "a second finger at the edge scrolls nothing")
    hand.lift(finger=1)
    hand.lift()

    # A finger at the edge scrolls, beyond it too, and stops when lifted; so
    # does "Nach rechts" held and let go.
    left, middle = hand.canvas_point(0, 240)
    right = hand.button("touch-right")
    for step, pause, scrolls, what in (
            (lambda: hand.press(left, middle), 0.2, True, "a finger at the picture's edge scrolls the view"),
            (lambda: hand.move(left - 40, middle), 0.2, True, "and so does a finger pushed beyond the edge"),
            (hand.lift, 0.3, False, "the view stops once the finger is lifted"),
            (lambda: hand.press(*right), 0.2, True, "\"Nach rechts\" scrolls the view while it is held"),
            (hand.lift, 0.3, False, "and stops when let go")):
        step()
        time.sleep(pause)
        check(sea_moves(page) == scrolls, what)

    hand.tap_picture(270, 466)  # "Scheibenwischer"
    page.wait_for("the wiper", lambda: page.events("message", text="-50"), 5)

    # The rifle emptied, then reloaded with "Nachladen".
    for _ in range(8):
        if page.sounds(1):
            break
        hand.tap_picture(320, 60, 0.15)
    check(page.sounds(1), "the rifle runs empty")
    hand.tap(*hand.button("touch-reload"))
    page.wait_for("the reload", lambda: page.events("sound", number=3), 5)

    hand.tap(*hand.button("touch-mg"))
    page.wait_for("the machine gun", lambda: page.events("message", text="- Maschinengewehr -"), 5)
    before = page.sounds(0)
    hand.press(*hand.canvas_point(320, 60))
    time.sleep(1)
    hand.lift()
    time.sleep(0.2)
    after = page.sounds(0)
    time.sleep(0.3)
    check(after - before >= 3 and page.sounds(0) == after,
          f"\"MG\" fires while the finger stays ({after - before} shots), and stops")
    hand.tap(*hand.button("touch-rifle"))
    page.wait_for("the rifle", lambda: page.events("message", text="- Gewehr -"), 5)

    hunt(page, lambda x, y: hand.tap_picture(x, y, 0.12) or True,
         lambda: hand.tap(*hand.button("touch-reload"), 0.1))
    check(page.sounds(6), "a tap hits a gull")
    hand.tap(*hand.button("touch-end"))
    page.wait_screen("highscores")
    ends = [e["reason"] for e in page.events("game-end")]
    check(ends == ["escape"], f"\"Ende\" ends the game ({ends})")
    final = page.events("game-end")[0]["score"] if ends else 0
    check(final > 0, f"the score enters the table ({final})")
    type_name(page, hand)


def type_name(page, hand):
    time.sleep(0.3)
    hand.tap_picture(320, 240)
    check(page.js("return document.activeElement.id;") == "name-field",
          "a tap on the picture opens the touch keyboard on the name")
    check(not page.events("highscores"), "and leaves the name being typed")
    still = page.js(STILL)
    check(still == [0, 0, 1, 0, 0], f"the field scrolls and zooms nothing ({still})")
    hand.keyboard_types("Mowen")
    # The keyboard corrects the word: the field's whole text is replaced.
    page.js("const f = document.getElementById('name-field'); f.setSelectionRange(0, f.value.length);")
    hand.cdp("Input.insertText", {"text": "Möwen"})
    hand.keyboard_types("jäger")
    # Keys pressed in the field reach the game through the field alone.
    hand.key("x", "KeyX", 88, "x")
    hand.key("Backspace", "Backspace", 8)
    time.sleep(0.2)
    check(page.js("return document.getElementById('name-field').value;") == "Möwenjäger",
          "the field holds the name typed")
    hand.key("Enter", "Enter", 13)
    page.wait_for("the save", lambda: page.events("highscores", action="saved"))
    page.wait_screen("menu", 3)
    check(page.js("return document.activeElement.id;") != "name-field",
          "the keyboard closes once the name is saved")


# The standard layout's buttons.
A, B, X, LB, RB, RT, BACK, START, UP, DOWN, LEFT, RIGHT = 0, 1, 2, 4, 5, 7, 8, 9, 12, 13, 14, 15


def press_pad(page, *buttons, index=0, value=1.0):
    """Each of BUTTONS pressed (as far as VALUE) and let go, one after the other."""
    for button in buttons:
        set_pad(page, button, True, value, index)
        set_pad(page, button, False, 0.0, index)


def set_pad(page, button, pressed, value=None, index=0):
    page.js("mwSetPad(...arguments);", index, button, pressed, value)
    # The program reads the pads once a frame: two frames see every change
    # (a wait for a key to be let go shows none, but passes as quickly).
    shown = page.pictures()
    until(lambda: page.pictures() >= shown + 2, 1, poll=0.02)


def set_stick(page, x, y):
    page.js("mwPads[0].axes.splice(0, 2, ...arguments);", x, y)


def type_name_with_pad(page):
    """Types "Böe" and a letter turned by a held up: every edit of the pad
    shows in the name saved."""
    time.sleep(0.3)  # the screen takes the pad's letters from its next sample on
    press_pad(page, A, UP, RIGHT,  # "Ba"
              RB, RB, LB, DOWN, DOWN, DOWN,  # to the digits, the marks, back: "Bö"
              A, UP, UP, UP, UP,  # "Böe"
              A)
    set_pad(page, UP, True)
    time.sleep(1)  # about seven letters on
    set_pad(page, UP, False)
    press_pad(page, RIGHT, B, A, LEFT, START)  # added and deleted twice, then saved
    page.wait_for("the save", lambda: page.events("highscores", action="saved"))


def play_with_pads(url):
    with opened(url, scripts=[PAD_STUB]) as page:
        page.to_menu(by_script=True)
        page.js("window.mwPads = [mwPad(0, 'standard'), mwPad(1, 'standard'), mwPad(2, '')];")
        time.sleep(0.2)
        # The pointer starts in the picture's middle, on "Spiel starten", and
        # each press of the D-pad takes it to the next line: "Einstellungen",
        # then "Zeit", up to "Möven" ("viele"), round to "Zurück", and from
        # "Highscores" up to "Spiel starten".
        press_pad(page, DOWN, A)
        page.wait_screen("settings")
        press_pad(page, UP, UP, UP, A, UP, A)
        page.wait_screen("menu", 2)
        press_pad(page, UP, UP, START)
        page.wait_screen("game", settle=0.5)
        check(not sea_moves(page), "a pad at rest scrolls nothing")
        # Up and right: into the top right corner, where a shot hits no ship.
        set_stick(page, 1.0, -1.0)
        time.sleep(1.2)
        check(sea_moves(page), "the left stick moves the aim to the edge: the view scrolls")
        set_stick(page, -1.0, 0.0)
        time.sleep(0.5)
        set_stick(page, 0.0, 0.0)
        before = page.sounds(0)
        press_pad(page, A)
        press_pad(page, RT, value=0.8)  # most of the way
        press_pad(page, A, index=1)  # the second pad's
        press_pad(page, A, index=2)  # a pad of another layout
        time.sleep(0.2)
        check(page.sounds(0) - before == 3, "A and the trigger fire, on either standard pad; a "
              f"pad of another layout does nothing ({page.sounds(0) - before} shots)")

        # The machine gun held by a pad that is then pulled out: it stops.
        press_pad(page, RB)
        set_pad(page, A, True)
        time.sleep(1.5)
        page.js("window.mwPads[0].connected = false;")
        time.sleep(0.3)  # a shot already fired may still be logged
        after = page.sounds(0)
        time.sleep(0.4)
        check(after - before >= 5 and page.sounds(0) == after,
              "a pad pulled out while firing lets go of the trigger")
        page.js("window.mwPads[0] = mwPad(0, 'standard');")  # plugged in again
        press_pad(page, LB)  # the rifle
        # A score to type a name for, shot with the mouse: how the stick aims
        # is the hands' own arithmetic, which the golden pad run plays.
        page.point_at(320, 400)
        hunt(page, page.click_at, lambda: press_pad(page, X))
        press_pad(page, BACK, index=1)
        page.wait_screen("highscores")
        ends = page.events("game-end")
        check([e["reason"] for e in ends] == ["escape"] and ends[0]["score"] > 0,
              f"Back ends the game, and the score enters the table ({ends})")
        type_name_with_pad(page)
        names = page.names_after_reload()
        check(any(re.fullmatch("Böe[c-z]", name) for name in names),
              f"the name typed with the pad is in the table after a reload ({names})")
        page.check_console("no failure or warning in the console", warnings=True)


def run(url):
    started = time.monotonic()
    for name, size in VIEWPORTS.items():
        check_layout(url, name, size)
    print(f"  screenshots in {SHOTS}")
    play_by_touch(url)
    play_with_pads(url)
    print(f"  touch and pads: {time.monotonic() - started:.0f} s")

