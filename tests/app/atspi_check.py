"""What a screen reader finds in the running program, read through AT-SPI.

Run by accessibility_test.sh inside a D-Bus session of its own: atspi_check.py <program>
<log file> <version the About window shows>. Starts the program with accessibility on, once it listens as a screen reader
does (a program learns which events to send when it starts). Walks the main window, checks
the name and role of every control that takes the focus, then types into box 1 with
xdotool and reads box 2 back: a converted value, then "-.--" described as impossible; each
outcome is said by a notification that shows anew with it; a text an assistive tool sets
converts as typed text does. Ends with the About window's texts. Prints what it saw; exits
non-zero on the first difference.
"""
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

# (role, name) of every control of the main window that takes the keyboard focus.
FOCUSABLE = {
    ("text", "Valeur 1"),
    ("text", "Valeur 2"),
    ("list", "Unité de la valeur 1"),
    ("list", "Unité de la valeur 2"),
    ("spin button", "Précision de la valeur 1 (nombre de décimales)"),
    ("spin button", "Précision de la valeur 2 (nombre de décimales)"),
}


# Changes the program announced, as (event type, accessible object, its name when the event
# came); a screen reader learns of a new name or description only this way, and says a
# notification as it starts showing.
announced = []


def listen():
    def record(event):
        if event.type.startswith("object:state-changed:showing") and not event.detail1:
            return
        name = event.source.name if event.source is not None else None
        announced.append((event.type, event.source, name))
    pyatspi.Registry.registerEventListener(record, "object:property-change:accessible-name",
                                           "object:property-change:accessible-description",
                                           "object:state-changed:showing")


def was_announced(kind, node):
    # Names as they read now: an event may come before the name it carries is read.
    return any(seen == kind and source is not None and source.name == node.name
               for seen, source, _ in announced)


def said(text):
    """Whether a notification started showing with the text as its name."""
    return any(seen.startswith("object:state-changed:showing") and source is not None
               and source.getRoleName() == "notification" and name == text
               for seen, source, name in announced)


def pump():
    """Delivers the events that have arrived, as a screen reader's main loop does."""
    context = GLib.MainContext.default()
    while context.iteration(False):
        pass


def fail(message):
    print("FAIL:", message, file=sys.stderr)
    print("announced:", [(kind, name) for kind, _, name in announced], file=sys.stderr)
    sys.exit(1)


def wait_for(what, find, seconds=20):
    end = time.time() + seconds
    while time.time() < end:
        pump()
        found = find()
        if found:
            return found
        time.sleep(0.2)
    fail(f"no {what}")


def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name.lower() == "tarvane":
            return app
    return None


def window(app, name):
    for i in range(app.childCount):
        child = app.getChildAtIndex(i)
        if child is not None and child.name == name:
            return child
    return None


def find(root, role, name=None):
    for node in walk(root):
        if role in (None, node.getRoleName(), node.getRole()) and name in (None, node.name):
            return node
    return None


def text_of(node):
    return node.queryText().getText(0, -1)


def click(node):
    extents = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    x, y = extents.x + extents.width // 2, extents.y + extents.height // 2
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], check=True)


def type_into(box, text):
    click(box)
    wait_for("focus in the box", lambda: box.getState().contains(pyatspi.STATE_FOCUSED))
    subprocess.run(["xdotool", "key", "ctrl+a"], check=True)
    subprocess.run(["xdotool", "type", "--delay", "30", text], check=True)


def expect_reading(what, read, expected, seconds=10):
    end = time.time() + seconds
    seen = None
    while time.time() < end:
        pump()
        seen = read()
        if seen == expected:
            print(f"ok: {what}: {seen!r}")
            return
        time.sleep(0.1)
    fail(f"{what} reads {seen!r}, not {expected!r}")


def check_focusable(main):
    seen = {(node.getRoleName(), node.name) for node in walk(main)
            if node.getState().contains(pyatspi.STATE_FOCUSABLE)
            and node.getRoleName() not in ("frame", "filler", "panel", "list item", "menu item")}
    if seen != FOCUSABLE:
        fail(f"focusable controls: missing {FOCUSABLE - seen}, unexpected {seen - FOCUSABLE}")
    print("ok: focusable controls:", sorted(seen))


def check_controls(main):
    precision = find(main, "spin button", "Précision de la valeur 1 (nombre de décimales)")
    value = precision.queryValue()
    if (value.currentValue, value.minimumValue, value.maximumValue) != (4, 0, 10):
        fail(f"precision value {value.currentValue} in [{value.minimumValue}, {value.maximumValue}]")
    # By role: AT-SPI names the push button's role "push button" on Debian 12, "button" on 13.
    buttons = sorted((precision.getChildAtIndex(i).getRole() == pyatspi.ROLE_PUSH_BUTTON,
                      precision.getChildAtIndex(i).name) for i in range(precision.childCount))
    if buttons != [(True, "Augmenter"), (True, "Diminuer")]:
        fail(f"precision spinner's buttons: {buttons}")
    tabs = find(main, "page tab list")
    if tabs is None or [tabs.getChildAtIndex(i).name for i in range(tabs.childCount)] != ["Electrique"]:
        fail("no page tab list holding the tab Electrique")
    if not tabs.getChildAtIndex(0).getState().contains(pyatspi.STATE_SELECTED):
        fail("the tab Electrique is not selected")
    bar = find(main, "menu bar")
    if bar is None or [bar.getChildAtIndex(i).name for i in range(bar.childCount)] != ["Fichier", "Aide"]:
        fail("no menu bar with Fichier and Aide")
    # The notice that says each result bears the window's first result before it says any.
    notice = find(main, "notification")
    if notice is None or notice.name != "Valeur 2 : 1,0000 Veff (Vrms)":
        fail(f"the notice reads {notice.name if notice else None!r} before any result")
    arrows = [node for node in walk(main) if node.name.startswith("Sens de conversion")]
    if len(arrows) != 2:
        fail(f"{len(arrows)} arrows")
    # Pictures, a role screen readers present (an indicator would be "unknown" to them).
    roles = {arrow.getRoleName() for arrow in arrows}
    if roles != {"image"}:
        fail(f"the arrows are {roles}")
    print("ok: spinner value, spin buttons, tab, menu bar, a named notice and arrows shown as images")
    return arrows


def check_conversions(main, arrows):
    box1 = find(main, "text", "Valeur 1")
    box2 = find(main, "text", "Valeur 2")
    units2 = find(main, "list", "Unité de la valeur 2")
    click(find(units2, "list item", "Tension crête à crête (Vcac / Vpp)"))
    # Each box is described by its part and its own unit, each list by the unit in use.
    expect_reading("box 2's description", lambda: box2.description, "convertie, Vcac (Vpp)")
    expect_reading("box 2's new description announced",
                   lambda: was_announced("object:property-change:accessible-description", box2),
                   True)
    expect_reading("list 2's description", lambda: units2.description,
                   "Tension crête à crête (Vcac / Vpp)")
    type_into(box1, "1")
    expect_reading("box 2 for 1 Veff", lambda: text_of(box2), "2,8284")
    expect_reading("the result said", lambda: said("Valeur 2 : 2,8284 Vcac (Vpp)"), True)
    expect_reading("box 1's description", lambda: box1.description, "à convertir, Veff (Vrms)")
    expect_reading("an arrow's description", lambda: arrows[0].description, "Conversion réussie")

    # A zero voltage has no level in dBm.
    click(find(units2, "list item", "Puissance (dBm, réf. 1 mW dans 50 ohms)"))
    type_into(box1, "0")
    expect_reading("box 2 for 0 Veff in dBm", lambda: text_of(box2), "-.--")
    expect_reading("the failure said", lambda: said("Conversion impossible"), True)
    expect_reading("box 2 says the conversion is impossible", lambda: box2.description,
                   "convertie, dBm (1 mW / 50 ohms), conversion impossible")
    expect_reading("box 2's failure announced",
                   lambda: was_announced("object:property-change:accessible-description", box2),
                   True)
    expect_reading("an arrow's description", lambda: arrows[1].description, "Conversion impossible")
    # What an assistive tool writes into a box is the user's number, even in the box's own
    # format once it showed no number: 2 V across 50 ohms is 80 mW, 19,0309 dBm.
    box1.queryEditableText().setTextContents("abc")
    expect_reading("box 2 for a text that reads as no number", lambda: text_of(box2), "-.--")
    box1.queryEditableText().setTextContents("2,0000")
    expect_reading("box 2 for 2 V set by an assistive tool", lambda: text_of(box2), "19,0309")
    expect_reading("that result said", lambda: said("Valeur 2 : 19,0309 dBm (1 mW / 50 ohms)"),
                   True)


def check_about(app, main):
    aide = find(find(main, "menu bar"), "menu item", "Aide")
    click(aide)
    drop_down = find(aide, "popup menu")
    items = [(node.getRoleName(), node.name) for node in walk(drop_down)][1:]
    if items != [("menu item", "Index de l'aide"), ("separator", ""), ("menu item", "Lisez-moi"),
                 ("separator", ""), ("menu item", "A propos...")]:
        fail(f"the Aide drop-down holds {items}")
    print("ok: the Aide menu item opens a popup menu of", items)
    click(find(drop_down, "menu item", "A propos..."))
    about = wait_for("About window", lambda: window(app, "A propos..."))
    labels = {node.name for node in walk(about) if node.getRoleName() == "label"}
    # Facts go by their captions, the title with the subtitle: what a screen reader says as
    # the window opens.
    expected = {"Tarvane, Convertisseur d'unités", "Convertisseur d'unités", "Version :",
                "Version : " + sys.argv[3], "Copyright :", "Commentaires :",
                "Commentaires : Freeware", "Remerciements", "- à la communauté du libre"}
    if not expected <= labels:
        fail(f"About window lacks {expected - labels}")
    if find(about, pyatspi.ROLE_PUSH_BUTTON, "OK") is None:
        fail("About window has no OK button")
    print("ok: About window texts, credits line and OK")
    subprocess.run(["xdotool", "key", "Return"], check=True)


def main():
    listen()
    environment = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_ACCESSIBILITY="1",
                       QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    with open(sys.argv[2], "w") as log:
        program = subprocess.Popen([sys.argv[1]], env=environment, stdout=log, stderr=log)
    try:
        check()
    finally:
        program.terminate()
        program.wait()


def check():
    app = wait_for("Tarvane application on the accessibility bus", application)
    main = wait_for("main window", lambda: window(app, "Tarvane"))
    wait_for("filled unit lists", lambda: find(main, "list item", "Tension efficace (Veff / Vrms)"))
    check_focusable(main)
    arrows = check_controls(main)
    check_conversions(main, arrows)
    check_about(app, main)
    print("PASS")


if __name__ == "__main__":
    main()
