"""What Orca, the screen reader of Debian's desktops, says of the real program, used from the
keyboard alone as a blind user does, and that Orca processed every event the program sent.

Run by orca_test.sh inside a D-Bus session and on an X display of their own: orca_check.py
<program> <work folder> <version the About window shows>. Starts a window manager (Orca
follows the focus it gives), then Orca with settings, a home and a speech server of its own
(speech_log.py, which writes each utterance to a file instead of speaking), then the program,
box 2 in Vcac. Each step presses keys and waits for what Orca must say, in order, and checks
that it said nothing it must not. Then Orca's debug log must hold no error raised while Orca
handled an event. Prints what it heard; exits non-zero on the first difference.
"""
import json
import os
import subprocess
import sys
import time

program, work, version = sys.argv[1:4]
log = os.path.join(work, "speech.log")
debug_log = os.path.join(work, "orca-debug.log")

# (what the user does, keys for xdotool, what Orca must say in that order, what it must not
# say meanwhile). Box 1 holds 1 Veff, box 2 shows it in Vcac: 2,8284. Each box keeps its name
# and says its part in its description.
STEPS = [
    ("the window opens, box 1 focused", [],
     ["Valeur 1", "1,0000", "à convertir, Veff (Vrms)"], ["2,8284", "convertie"]),
    ("type 2", ["type", "2"], ["Valeur 2 : 5,6569 Vcac (Vpp)"], []),
    # "2," is still 2: nothing new until the 5.
    ("type ,5", ["type", ",5"], ["Valeur 2 : 7,0711 Vcac (Vpp)"], ["Valeur 2 : 5,6569"]),
    ("Tab to box 2", ["key", "Tab"], ["Valeur 2", "7,0711", "à convertir, Vcac (Vpp)"],
     ["Valeur 1 :", "Valeur 2 :", "2,5000", "convertie"]),
    ("Shift+Tab back to box 1", ["key", "shift+Tab"], ["Valeur 1", "à convertir, Veff (Vrms)"],
     ["Valeur 1 :", "Valeur 2 :", "7,0711", "convertie"]),
    # Past box 2, which becomes the source: the unit list 2 converts box 2 into box 1.
    ("Tab to list 2", ["key", "Tab", "Tab", "Tab"],
     ["Unité de la valeur 2", "Tension crête à crête (Vcac / Vpp)"], ["Valeur 1 :", "Valeur 2 :"]),
    # 7,0711 dBm in 50 ohms: 5,0953 mW, 0,50471 V
    ("Down to dBm", ["key", "Down"],
     ["Puissance (dBm, réf. 1 mW dans 50 ohms)", "Valeur 1 : 0,5047 Veff (Vrms)"], []),
    ("Tab to precision 1", ["key", "Tab"], ["Précision de la valeur 1 (nombre de décimales)"],
     ["Valeur 1 :"]),
    ("Up to 5 decimals", ["key", "Up"], ["Valeur 1 : 0,50471 Veff (Vrms)"], []),
    # Past box 2, which becomes the source and leaves it again: nothing is converted.
    ("Shift+Tab back to box 1", ["key"] + ["shift+Tab"] * 4,
     ["Valeur 1", "à convertir, Veff (Vrms)"], ["Valeur 1 :", "Valeur 2 :", "convertie"]),
    ("type 0, no level in dBm", ["type", "0"], ["Conversion impossible"], []),
    ("F10", ["key", "F10"], ["Fichier"], []),
    # Orca passes over a menu the focus has already left when it comes to it (Orca 48 under
    # load): the user hears Aide before going on.
    ("Right to Aide", ["key", "Right"], ["Aide"], []),
    ("Down, Up to A propos...", ["key", "Down", "Up"], ["A propos..."], []),
    ("Return opens the About box", ["key", "Return"],
     ["A propos...", "Tarvane, Convertisseur d'unités", "Version : " + version,
      "Copyright : ", "Commentaires : Freeware"], []),
    ("Return closes it", ["key", "Return"], ["Tarvane"], []),
]


def fail(message, heard):
    print("FAIL:", message, file=sys.stderr)
    print("Orca said:", *heard, sep="\n  ", file=sys.stderr)
    sys.exit(1)


def spoken():
    with open(log, encoding="utf-8") as lines:
        return lines.read().splitlines()


def wait_for(what, expected, forbidden, mark, seconds=20):
    """The lines after the mark that hold the expected texts in order; the new mark."""
    end = time.time() + seconds
    while True:
        heard = spoken()[mark:]
        text = "\n".join(heard)
        position = 0
        for part in expected:
            found = text.find(part, position)
            if found < 0:
                break
            position = found + len(part)
        else:
            said = heard[:text.count("\n", 0, position) + 1]
            for part in forbidden:
                if any(part in line for line in said):
                    fail(f"{what}: Orca said {part!r}", said)
            print(f"ok: {what}:", " / ".join(said))
            return mark + len(said)
        if time.time() > end:
            fail(f"{what}: Orca did not say {expected}", heard)
        time.sleep(0.1)


ERRORS = ("ERROR: Could not process", "Exception processing", "bad content sent to speak")


def event_errors():
    """The errors Orca logged while handling events (Orca 43 and 48 word them differently) and
    what it was given to say that was no text, each with the lines that follow it."""
    with open(debug_log, encoding="utf-8", errors="replace") as lines:
        text = lines.read().splitlines()
    return ["\n".join(text[i:i + 20]) for i, line in enumerate(text)
            if any(error in line for error in ERRORS)]


def orca_settings(folder):
    os.makedirs(folder)
    # No braille display here: without one, braille only fills the log with failed connections.
    settings = {"general": {"speechServerFactory": "speech_log", "enableBraille": False},
                "profiles": {"default": {"profile": ["Default", "default"]}},
                "pronunciations": {}, "keybindings": {}}
    with open(os.path.join(folder, "user-settings.conf"), "w") as file:
        json.dump(settings, file)


def main():
    open(log, "w").close()
    with open(os.path.join(program + ".ini"), "w") as ini:  # box 2 in Vcac
        ini.write("[UserPrefs]\nValue2Index=1\n")
    orca_settings(os.path.join(work, "orca"))
    output = open(os.path.join(work, "program.log"), "w")
    started = [subprocess.Popen(["openbox", "--sm-disable"], stdout=output, stderr=output)]
    try:
        # Orca 43 ends at once while another Orca of the same user runs anywhere on the
        # machine (another test run): it is started again until it stays.
        end = time.time() + 60
        while not spoken():  # Orca says it is on
            if len(started) == 1 or started[-1].poll() is not None:
                started[1:] = [subprocess.Popen(
                    ["orca", "--user-prefs", os.path.join(work, "orca"), "--debug-file",
                     debug_log], stdout=output, stderr=output,
                    env=dict(os.environ, SPEECH_LOG=log, PYTHONPATH=os.path.dirname(__file__),
                             PYTHONDONTWRITEBYTECODE="1"))]  # nothing written into the sources
            if time.time() > end:
                fail("Orca did not start", [])
            time.sleep(0.1)
        mark = len(spoken())
        started.append(subprocess.Popen([program], stdout=output, stderr=output,
                                        env=dict(os.environ, QT_QPA_PLATFORM="xcb")))
        for what, keys, expected, forbidden in STEPS:
            if keys:
                subprocess.run(["xdotool", keys[0], "--delay", "100", *keys[1:]], check=True)
            mark = wait_for(what, expected, forbidden, mark)
    finally:
        for process in reversed(started):
            process.terminate()
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:  # Orca may let a SIGTERM wait on its main loop
                process.kill()
                process.wait()
    errors = event_errors()  # all of them, up to the program's end
    if errors:
        print(*errors, sep="\n", file=sys.stderr)
        fail(f"Orca logged {len(errors)} errors while handling events", [])
    print("PASS")


if __name__ == "__main__":
    main()
