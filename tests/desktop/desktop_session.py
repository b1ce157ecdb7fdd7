#!/usr/bin/env python3
"""Numerillo on a real desktop: a private Xvfb, a real window manager, real X input.

    desktop_session.py --program PATH --wm NAME --scenario start|quiz
    desktop_session.py --self-test

Starts Xvfb, waits until the window manager is managing and focusing new windows, starts the
program, drives it with xdotool (XTEST events, as from a mouse and a keyboard) and reads what
happened back from the X server with xdotool, xprop, xwininfo and ImageMagick's import.

  start  the start window: keyboard focus, centring with the frame counted, title, no task bar
         entry, no minimise, maximise or resize, and Escape ends the program with status 0.
  quiz   a click on the start button: the start window goes, the quiz window comes with the
         focus, typed digits land in the first answer box; then the same window checks as above
         and Escape ends the program with status 0.

Each check prints what it measured. Exit status 0 when every check held, 1 otherwise (a missing
tool or a desktop that could not be set up also counts as a failure, with the reason printed).
"""

import argparse
import ctypes
import os
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback
from dataclasses import dataclass


@dataclass(frozen=True)
class WindowManager:
    command: tuple
    # Tool -> Debian package, for the message when one is missing.
    tools: dict
    # Actions that _NET_WM_ALLOWED_ACTIONS must not list for the program's windows: resizing
    # for any window manager, as the windows have a fixed size.
    refused_actions: tuple


WINDOW_MANAGERS = {
    # Openbox offers minimising every window it decorates, whatever the window asks for; it does
    # honour a fixed size and the Motif hints for maximising.
    "openbox": WindowManager(
        command=("openbox", "--sm-disable"),
        tools={"openbox": "openbox"},
        refused_actions=("_NET_WM_ACTION_RESIZE", "_NET_WM_ACTION_MAXIMIZE"),
    ),
    # Metacity talks to a session bus; it gets a private one.
    "metacity": WindowManager(
        command=("dbus-run-session", "--", "metacity", "--replace"),
        tools={"metacity": "metacity", "dbus-run-session": "dbus-daemon"},
        refused_actions=("_NET_WM_ACTION_RESIZE", "_NET_WM_ACTION_MINIMIZE",
                         "_NET_WM_ACTION_MAXIMIZE"),
    ),
}

COMMON_TOOLS = {"Xvfb": "xvfb", "xdotool": "xdotool", "xprop": "x11-utils",
                "xwininfo": "x11-utils", "xmessage": "x11-utils", "import": "imagemagick"}

SCREEN = (1280, 1024)


@dataclass(frozen=True)
class Rect:
    x: int
    y: int
    width: int
    height: int

    def centre(self):
        return self.x + self.width // 2, self.y + self.height // 2


# The program's windows (client sizes) and the widgets the tests touch, in client coordinates.
START_WINDOW_SIZE = (665, 332)
QUIZ_WINDOW_SIZE = (657, 433)
CMDCOMINCIA = Rect(376, 160, 145, 65)
TXT1 = Rect(120, 96, 41, 35)
TXT2 = Rect(120, 136, 41, 33)
TYPED_DIGITS = "64"

# How long to wait for things the X server, the window manager or the program do on their own.
# These bound the waits; no check depends on how quickly anything happens.
WM_SETTLE_SECONDS = 15
PROBE_SECONDS = 2
WINDOW_SECONDS = 15
FOCUS_SECONDS = 5
EXIT_SECONDS = 5
PIXELS_SECONDS = 3
POLL_SECONDS = 0.05

# _MOTIF_WM_HINTS: flags, functions, decorations, input mode, status.
MWM_HINTS_FUNCTIONS = 1 << 0
MWM_HINTS_DECORATIONS = 1 << 1
MWM_FUNC_ALL = 1 << 0
MWM_FUNC_MINIMIZE = 1 << 3
MWM_FUNC_MAXIMIZE = 1 << 4
MWM_DECOR_ALL = 1 << 0
MWM_DECOR_MINIMIZE = 1 << 5
MWM_DECOR_MAXIMIZE = 1 << 6


class CheckFailed(Exception):
    """A check whose failure leaves nothing further to look at."""


class SetupFailed(Exception):
    """The desktop could not be set up: no verdict on the program."""


def motif_offers(hints):
    """What the window's _MOTIF_WM_HINTS let the window manager offer: a dict from the four
    names below to True (offered) or False. No hints, or a field not flagged, means everything;
    a field with its ALL bit set lists what is taken away instead of what is given."""
    flags, functions, decorations = (list(hints or []) + [0, 0, 0])[:3]

    def granted(field_flag, value, all_bit, bit):
        if not flags & field_flag:
            return True
        if value & all_bit:
            return not value & bit
        return bool(value & bit)

    return {
        "minimise function": granted(MWM_HINTS_FUNCTIONS, functions, MWM_FUNC_ALL, MWM_FUNC_MINIMIZE),
        "maximise function": granted(MWM_HINTS_FUNCTIONS, functions, MWM_FUNC_ALL, MWM_FUNC_MAXIMIZE),
        "minimise button": granted(MWM_HINTS_DECORATIONS, decorations, MWM_DECOR_ALL, MWM_DECOR_MINIMIZE),
        "maximise button": granted(MWM_HINTS_DECORATIONS, decorations, MWM_DECOR_ALL, MWM_DECOR_MAXIMIZE),
    }


def parse_xprop(output):
    """The values of the one property in xprop's output: a list of strings, [] for a property
    without values, None when the window has no such property."""
    line = output.strip()
    if not line or line.endswith("not found.") or "no such atom" in line:
        return None
    if "): window id # " in line:  # xprop's way with WINDOW values
        values = line.split(" # ", 1)[1].strip()
    elif " = " in line:
        values = line.split(" = ", 1)[1].strip()
    elif line.endswith("="):
        values = ""
    else:
        return None
    return [v.strip().strip('"') for v in values.split(",")] if values else []


def centring_offsets(screen, outer):
    """How far the outer rectangle's left and top edges are from where centring puts them."""
    return (outer.x - (screen[0] - outer.width) / 2, outer.y - (screen[1] - outer.height) / 2)


def dark_columns(image, rect, inset=4):
    """The columns inside rect (less `inset` pixels each side) that hold a dark pixel. A text
    cursor makes one or two such columns; two typed digits make many more."""
    width, height, pixels = image
    columns = set()
    for y in range(rect.y + inset, min(rect.y + rect.height - inset, height)):
        row = y * width
        for x in range(rect.x + inset, min(rect.x + rect.width - inset, width)):
            i = (row + x) * 3
            if max(pixels[i], pixels[i + 1], pixels[i + 2]) < 100:
                columns.add(x)
    return len(columns)


def parse_ppm(data):
    """A binary PPM (P6, 8 bits) as (width, height, rgb bytes)."""
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos) + 1
            continue
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    if fields[0] != b"P6" or int(fields[3]) != 255:
        raise ValueError("not an 8-bit binary PPM")
    width, height = int(fields[1]), int(fields[2])
    pixels = data[pos + 1:pos + 1 + width * height * 3]
    if len(pixels) != width * height * 3:
        raise ValueError("PPM data too short")
    return width, height, pixels


def poll(probe, seconds):
    """probe() until it returns something true or `seconds` have gone; its last value."""
    deadline = time.monotonic() + seconds
    while True:
        value = probe()
        if value or time.monotonic() >= deadline:
            return value
        time.sleep(POLL_SECONDS)


def _die_with_parent():
    # If this script is killed outright, its direct children are told to end too.
    try:
        libc = ctypes.CDLL(None, use_errno=True)
        libc.prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG
    except (OSError, AttributeError):
        pass


class Desktop:
    """The processes of one session and the X tools that look at it."""

    def __init__(self, work):
        self.work = work
        self.processes = []  # (name, Popen), in start order
        self.display = None
        home = os.path.join(work, "home")
        runtime = os.path.join(work, "runtime")
        os.makedirs(home)
        os.makedirs(runtime, mode=0o700)
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS",
                            "XAUTHORITY", "SESSION_MANAGER")}
        env.update(HOME=home, XDG_RUNTIME_DIR=runtime, LANG="C.UTF-8",
                   XDG_CONFIG_HOME=os.path.join(home, ".config"),
                   XDG_CACHE_HOME=os.path.join(home, ".cache"),
                   XDG_DATA_HOME=os.path.join(home, ".local/share"),
                   GSETTINGS_BACKEND="memory", NO_AT_BRIDGE="1")
        for name in [k for k in env if k.startswith("LC_") or k == "LANGUAGE"]:
            del env[name]
        self.env = env

    # --- processes ---

    def start(self, name, argv, env=None, **kwargs):
        log = open(os.path.join(self.work, name + ".log"), "wb")
        process = subprocess.Popen(argv, env=env or self.env, stdin=subprocess.DEVNULL,
                                   stdout=log, stderr=subprocess.STDOUT, start_new_session=True,
                                   preexec_fn=_die_with_parent, **kwargs)
        log.close()
        self.processes.append((name, process))
        return process

    def log(self, name):
        try:
            with open(os.path.join(self.work, name + ".log"), "rb") as f:
                return f.read().decode(errors="replace")
        except OSError:
            return ""

    def stop(self, process):
        """Ends the process and everything in its process group."""
        for sig, wait in ((signal.SIGTERM, 2), (signal.SIGKILL, 2)):
            if process.poll() is not None:
                break
            try:
                os.killpg(process.pid, sig)
            except ProcessLookupError:
                break
            try:
                process.wait(wait)
            except subprocess.TimeoutExpired:
                pass
        # Helpers left in the group (a bus daemon, say) go too.
        try:
            os.killpg(process.pid, signal.SIGKILL)
        except (ProcessLookupError, PermissionError):
            pass

    def stop_all(self):
        for _, process in reversed(self.processes):
            self.stop(process)

    def start_xvfb(self):
        read_end, write_end = os.pipe()
        # Without -noreset, the server resets each time its last client leaves, and drops a
        # client (the window manager, say) that connects meanwhile; these tools come and go.
        xvfb = self.start("xvfb", ["Xvfb", "-displayfd", str(write_end), "-noreset",
                                   "-screen", "0", "%dx%dx24" % SCREEN, "-nolisten", "tcp"],
                          pass_fds=(write_end,))
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + WINDOW_SECONDS
        while not number.endswith(b"\n") and time.monotonic() < deadline:
            ready, _, _ = select.select([read_end], [], [], 0.2)
            if ready:
                chunk = os.read(read_end, 16)
                if not chunk:
                    break
                number += chunk
        os.close(read_end)
        if not number.strip():
            raise SetupFailed("Xvfb did not start:\n" + self.log("xvfb"))
        self.display = ":" + number.decode().strip()
        self.env["DISPLAY"] = self.display
        print("Xvfb on display %s, screen %dx%d" % ((self.display,) + SCREEN))
        return xvfb

    # --- X tools ---

    def run(self, *argv):
        result = subprocess.run(argv, env=self.env, capture_output=True, text=True, timeout=20)
        return result.returncode, result.stdout

    def prop(self, window, name):
        target = ["-root"] if window == "root" else ["-id", str(window)]
        rc, out = self.run("xprop", *target, name)
        return parse_xprop(out) if rc == 0 else None

    def geometry(self, window):
        """The client window as (its Rect on the root window, whether it is viewable), or None
        once it is gone."""
        rc, out = self.run("xwininfo", "-id", str(window))
        if rc != 0:
            return None
        field = lambda label: int(re.search(label + r":\s+(-?\d+)", out).group(1))
        rect = Rect(field("Absolute upper-left X"), field("Absolute upper-left Y"),
                    field("Width"), field("Height"))
        return rect, "IsViewable" in out

    def parent(self, window):
        rc, out = self.run("xwininfo", "-id", str(window), "-children")
        if rc != 0:
            return None
        parent = re.search(r"Parent window id: (0x[0-9a-f]+)", out)
        root = re.search(r"Root window id: (0x[0-9a-f]+)", out)
        if not parent or (root and parent.group(1) == root.group(1)):
            return None
        return int(parent.group(1), 16)

    def visible_windows(self, *criteria):
        rc, out = self.run("xdotool", "search", "--onlyvisible", *criteria)
        return [int(w) for w in out.split()] if rc == 0 else []

    def focus_window(self):
        rc, out = self.run("xdotool", "getwindowfocus", "-f")
        return int(out.strip()) if rc == 0 and out.strip().isdigit() else None

    def focus_is_in(self, window):
        """Whether the X input focus is on `window` or one of its children."""
        current = self.focus_window()
        for _ in range(32):
            if current is None:
                return False
            if current == window:
                return True
            current = self.parent(current)
        return False

    def describe(self, window):
        if window is None or window <= 1:
            return {None: "no window", 0: "None", 1: "PointerRoot"}.get(window, str(window))
        name = self.prop(window, "_NET_WM_NAME") or self.prop(window, "WM_NAME") or ["?"]
        return "0x%x (%s)" % (window, name[0])

    def framed(self, window):
        """Whether the window manager has taken the window in: viewable inside a frame, with
        its frame extents published."""
        geometry = self.geometry(window)
        return bool(geometry and geometry[1] and self.parent(window) is not None
                    and self.prop(window, "_NET_FRAME_EXTENTS"))

    def outer_rect(self, window):
        geometry = self.geometry(window)
        extents = self.prop(window, "_NET_FRAME_EXTENTS")
        if not geometry or not extents or len(extents) != 4:
            return None
        client = geometry[0]
        left, right, top, bottom = (int(v) for v in extents)
        return client, (left, right, top, bottom), Rect(client.x - left, client.y - top,
                                                        client.width + left + right,
                                                        client.height + top + bottom)

    def snapshot(self, window):
        result = subprocess.run(["import", "-silent", "-window", str(window), "-depth", "8", "ppm:-"],
                                env=self.env, capture_output=True, timeout=20)
        try:
            return parse_ppm(result.stdout) if result.returncode == 0 else None
        except (ValueError, IndexError):
            return None

    # --- the window manager ---

    def start_window_manager(self, wm):
        process = self.start("wm", list(wm.command))
        return process, self.wait_until_managing(process)

    def wait_until_managing(self, wm_process):
        """Returns once the window manager has announced itself and has framed and focused a
        throwaway window: until then, a new window may go unmanaged or unfocused."""
        def announced():
            if wm_process.poll() is not None:
                raise SetupFailed("the window manager ended at once:\n" + self.log("wm"))
            check = self.prop("root", "_NET_SUPPORTING_WM_CHECK")
            if not check:
                return False
            window = int(check[0], 16)
            own = self.prop(window, "_NET_SUPPORTING_WM_CHECK")
            return bool(own) and int(own[0], 16) == window

        if not poll(announced, WM_SETTLE_SECONDS):
            raise SetupFailed("the window manager did not announce itself:\n" + self.log("wm"))
        # Openbox, just started, now and then leaves a window mapped in its first moments
        # unmanaged: a probe that is not taken in soon is replaced by another.
        deadline = time.monotonic() + WM_SETTLE_SECONDS
        attempt = 0
        while True:
            attempt += 1
            probe = self.start("probe", ["xmessage", "-name", "numerillo-desktop-probe",
                                         "-geometry", "+20+20", "probe"])

            def probe_taken_in():
                windows = self.visible_windows("--classname", "^numerillo-desktop-probe$")
                return bool(windows) and self.framed(windows[0]) and self.focus_is_in(windows[0])

            taken_in = poll(probe_taken_in, PROBE_SECONDS)
            self.stop(probe)
            if not poll(lambda: not self.visible_windows("--classname",
                                                         "^numerillo-desktop-probe$"),
                        WM_SETTLE_SECONDS):
                raise SetupFailed("the probe window did not go away")
            if taken_in:
                return attempt
            if time.monotonic() >= deadline:
                raise SetupFailed("the window manager framed and focused none of %d new windows:"
                                  "\n%s" % (attempt, self.log("wm")))

    def screen_size(self):
        rc, out = self.run("xwininfo", "-root")
        return int(re.search(r"Width: (\d+)", out).group(1)), int(re.search(r"Height: (\d+)", out).group(1))


class Checks:
    def __init__(self, label):
        self.label = label
        self.held = 0
        self.failed = []

    def record(self, name, ok, detail):
        print("%s %s: %s: %s" % ("[ ok ]" if ok else "[FAIL]", self.label, name, detail), flush=True)
        if ok:
            self.held += 1
        else:
            self.failed.append(name)
        return ok


class Session:
    def __init__(self, desktop, wm_name, program, checks):
        self.desktop = desktop
        self.wm = WINDOW_MANAGERS[wm_name]
        self.program_path = program
        self.checks = checks
        self.program = None

    def start_program(self):
        env = dict(self.desktop.env, QT_QPA_PLATFORM="xcb")
        self.program = self.desktop.start("numerillo", [self.program_path], env=env)

    def window_of_size(self, size, what):
        """The program's one viewable window of client size `size`, once the window manager
        has taken it in."""
        def found():
            if self.program.poll() is not None:
                raise CheckFailed("the program ended (status %s) before its %s appeared:\n%s"
                                  % (self.program.returncode, what, self.desktop.log("numerillo")))
            for window in self.desktop.visible_windows("--pid", str(self.program.pid)):
                geometry = self.desktop.geometry(window)
                if geometry and (geometry[0].width, geometry[0].height) == size:
                    return window
            return None

        window = poll(found, WINDOW_SECONDS)
        if not window:
            shown = ["0x%x %s" % (w, self.desktop.geometry(w))
                     for w in self.desktop.visible_windows("--pid", str(self.program.pid))]
            raise CheckFailed("no %s of client size %dx%d appeared; the program's viewable "
                              "windows: %s" % ((what,) + size + (shown or "none",)))
        if not poll(lambda: self.desktop.framed(window), WINDOW_SECONDS):
            raise CheckFailed("the window manager did not frame the %s 0x%x" % (what, window))
        return window

    def check_focus(self, window, what):
        focused = poll(lambda: self.desktop.focus_is_in(window), FOCUS_SECONDS)
        holder = self.desktop.describe(self.desktop.focus_window())
        self.checks.record("focus", focused, "%s 0x%x; X input focus on %s" % (what, window, holder))

    def settled_outer_rect(self, window):
        """The window's outer rectangle once two looks 0.1 s apart agree: the program may move
        the window once the window manager has told it the size of the frame."""
        deadline = time.monotonic() + FOCUS_SECONDS
        previous = None
        while True:
            now = self.desktop.outer_rect(window)
            if (now is not None and now == previous) or time.monotonic() >= deadline:
                return now
            previous = now
            time.sleep(0.1)

    def check_window(self, window, what):
        d = self.desktop
        measured = self.settled_outer_rect(window)
        if measured is None:
            self.checks.record("centred", False, "no geometry or frame extents for 0x%x" % window)
        else:
            client, (left, right, top, bottom), outer = measured
            screen = d.screen_size()
            dx, dy = centring_offsets(screen, outer)
            self.checks.record(
                "centred", abs(dx) <= 1 and abs(dy) <= 1,
                "%s: screen %dx%d, client %dx%d at (%d,%d), frame extents left %d right %d "
                "top %d bottom %d, outer %dx%d at (%d,%d), centred outer at (%.1f,%.1f): "
                "offset left %+.1f top %+.1f px"
                % (what, screen[0], screen[1], client.width, client.height, client.x, client.y,
                   left, right, top, bottom, outer.width, outer.height, outer.x, outer.y,
                   outer.x - dx, outer.y - dy, dx, dy))

        title = d.prop(window, "_NET_WM_NAME")
        self.checks.record("title", title == ["Numerillo"], "_NET_WM_NAME = %s" % title)

        state = d.prop(window, "_NET_WM_STATE")
        self.checks.record("skip taskbar", bool(state) and "_NET_WM_STATE_SKIP_TASKBAR" in state,
                           "_NET_WM_STATE = %s" % state)

        hints = d.prop(window, "_MOTIF_WM_HINTS")
        numbers = [int(v, 0) for v in hints] if hints else None
        offered = [name for name, yes in motif_offers(numbers).items() if yes]
        self.checks.record("motif hints", not offered,
                           "_MOTIF_WM_HINTS = %s; offers %s" % (hints, ", ".join(offered) or
                                                                 "no minimise, no maximise"))

        actions = d.prop(window, "_NET_WM_ALLOWED_ACTIONS") or []
        listed = [a for a in self.wm.refused_actions if a in actions]
        self.checks.record("allowed actions", not listed,
                           "_NET_WM_ALLOWED_ACTIONS = %s%s"
                           % (", ".join(actions) or "none",
                              "; must not list " + ", ".join(listed) if listed else ""))

    def press_escape_and_wait(self, what):
        self.desktop.run("xdotool", "key", "Escape")
        try:
            status = self.program.wait(EXIT_SECONDS)
        except subprocess.TimeoutExpired:
            status = None
        self.checks.record("escape ends program", status == 0,
                           "Escape on the %s: %s" % (what, "still running %d s later" % EXIT_SECONDS
                                                     if status is None else "exit status %d" % status))

    def scenario_start(self):
        self.start_program()
        start = self.window_of_size(START_WINDOW_SIZE, "start window")
        self.check_focus(start, "start window")
        self.check_window(start, "start window")
        self.press_escape_and_wait("start window")

    def scenario_quiz(self):
        d = self.desktop
        self.start_program()
        start = self.window_of_size(START_WINDOW_SIZE, "start window")
        x, y = CMDCOMINCIA.centre()
        d.run("xdotool", "mousemove", "--window", str(start), str(x), str(y), "click", "1")
        quiz = self.window_of_size(QUIZ_WINDOW_SIZE, "quiz window")
        gone = poll(lambda: not (d.geometry(start) or (None, False))[1], WINDOW_SECONDS)
        self.checks.record("start window closes", gone,
                           "start window 0x%x %s after the click on cmdcomincia"
                           % (start, "gone" if gone else "still viewable"))
        self.check_focus(quiz, "quiz window")
        self.check_typing(quiz)
        self.check_window(quiz, "quiz window")
        self.press_escape_and_wait("quiz window")

    def check_typing(self, quiz):
        d = self.desktop
        before = d.snapshot(quiz)
        d.run("xdotool", "type", TYPED_DIGITS)
        image = [None]

        def digits_shown():
            image[0] = d.snapshot(quiz)
            return image[0] is not None and dark_columns(image[0], TXT1) >= 6

        poll(digits_shown, PIXELS_SECONDS)
        if image[0] is None or before is None:
            self.checks.record("typing", False, "could not read the quiz window's pixels")
            return
        in_txt1 = dark_columns(image[0], TXT1)
        in_txt2 = dark_columns(image[0], TXT2)
        self.checks.record("typing", in_txt1 >= 6 and in_txt2 == 0,
                           "typed %s: columns with dark pixels in txt1 %d (before %d), in txt2 %d"
                           % (TYPED_DIGITS, in_txt1, dark_columns(before, TXT1), in_txt2))


def self_test():
    """The decoding of what the X server reports, on known cases."""
    failures = 0
    # (hints, expected offered names)
    motif_cases = [
        (None, {"minimise function", "maximise function", "minimise button", "maximise button"}),
        ([0x3, 0x26, 0x1e, 0, 0], set()),  # close, move, resize; border, title, menu
        ([0x3, 0x3e, 0x7e, 0, 0], {"minimise function", "maximise function",
                                   "minimise button", "maximise button"}),
        ([0x3, 0x19, 0x61, 0, 0], set()),  # ALL less minimise and maximise
        ([0x3, 0x11, 0x21, 0, 0], {"minimise function", "maximise button"}),
        ([0x2, 0x0, 0x1e, 0, 0], {"minimise function", "maximise function"}),
        ([0x1, 0x26, 0x0, 0, 0], {"minimise button", "maximise button"}),
    ]
    for hints, expected in motif_cases:
        got = {name for name, yes in motif_offers(hints).items() if yes}
        if got != expected:
            failures += 1
            print("motif_offers(%s) = %s, expected %s" % (hints, sorted(got), sorted(expected)))
    xprop_cases = [
        ("_NET_WM_STATE(ATOM) = _NET_WM_STATE_SKIP_TASKBAR, _NET_WM_STATE_FOCUSED\n",
         ["_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_FOCUSED"]),
        ("_NET_FRAME_EXTENTS(CARDINAL) = 1, 1, 20, 1\n", ["1", "1", "20", "1"]),
        ("_NET_WM_STATE:  not found.\n", None),
        ("_NET_WM_STATE(ATOM) =\n", []),
        ('_NET_WM_NAME(UTF8_STRING) = "Numerillo"\n', ["Numerillo"]),
        ("_NET_SUPPORTING_WM_CHECK(WINDOW): window id # 0x20020b\n", ["0x20020b"]),
    ]
    for text, expected in xprop_cases:
        if parse_xprop(text) != expected:
            failures += 1
            print("parse_xprop(%r) = %r, expected %r" % (text, parse_xprop(text), expected))
    # (screen, outer rectangle, expected offsets)
    centring_cases = [
        ((1280, 1024), Rect(306, 335, 668, 354), (0.0, 0.0)),
        ((1280, 1024), Rect(307, 326, 667, 353), (0.5, -9.5)),
        ((1280, 1024), Rect(308, 309, 665, 369), (0.5, -18.5)),
    ]
    for screen, outer, expected in centring_cases:
        if centring_offsets(screen, outer) != expected:
            failures += 1
            print("centring_offsets(%s, %s) = %s, expected %s"
                  % (screen, outer, centring_offsets(screen, outer), expected))
    # A 10x10 white image with a dark 2x4 block at (5,3) and a dark pixel at (1,1).
    pixels = bytearray(b"\xff" * 300)
    for y in range(3, 7):
        for x in (5, 6):
            pixels[(y * 10 + x) * 3:(y * 10 + x) * 3 + 3] = b"\x10\x10\x10"
    pixels[33:36] = b"\x00\x00\x00"
    image = parse_ppm(b"P6\n# made here\n10 10\n255\n" + bytes(pixels))
    column_cases = [(Rect(0, 0, 10, 10), 0, 3), (Rect(0, 0, 10, 10), 2, 2),
                    (Rect(0, 0, 5, 10), 0, 1), (Rect(7, 0, 3, 10), 0, 0)]
    for rect, inset, expected in column_cases:
        if dark_columns(image, rect, inset) != expected:
            failures += 1
            print("dark_columns(%s, inset %d) = %d, expected %d"
                  % (rect, inset, dark_columns(image, rect, inset), expected))
    print("self-test: %d failure(s)" % failures)
    return 1 if failures else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--program")
    parser.add_argument("--wm", choices=sorted(WINDOW_MANAGERS))
    parser.add_argument("--scenario", choices=("start", "quiz"))
    parser.add_argument("--self-test", action="store_true")
    args = parser.parse_args()
    if args.self_test:
        return self_test()
    if not (args.program and args.wm and args.scenario):
        parser.error("--program, --wm and --scenario are needed")

    tools = dict(COMMON_TOOLS, **WINDOW_MANAGERS[args.wm].tools)
    missing = ["%s (Debian package %s)" % (tool, package) for tool, package in tools.items()
               if not shutil.which(tool)]
    if missing:
        print("missing tools: " + ", ".join(missing))
        return 1
    if not os.access(args.program, os.X_OK):
        print("no program at " + args.program)
        return 1

    # ctest's timeout and ^C end the script through its clean-up.
    for sig in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(sig, lambda number, frame: sys.exit(128 + number))

    checks = Checks("%s %s" % (args.wm, args.scenario))
    began = time.monotonic()
    work = tempfile.mkdtemp(prefix="numerillo-desktop-")
    desktop = Desktop(work)
    try:
        desktop.start_xvfb()
        settle = time.monotonic()
        _, probes = desktop.start_window_manager(WINDOW_MANAGERS[args.wm])
        print("%s managing after %.2f s (%d probe window%s)"
              % (args.wm, time.monotonic() - settle, probes, "s" if probes > 1 else ""))
        session = Session(desktop, args.wm, args.program, checks)
        getattr(session, "scenario_" + args.scenario)()
    except SetupFailed as error:
        print("[FAIL] %s: desktop not set up: %s" % (checks.label, error))
        checks.failed.append("setup")
    except CheckFailed as error:
        checks.record("windows", False, str(error))
    except Exception:  # a fault of this script: still clean up and say so
        traceback.print_exc(file=sys.stdout)
        checks.failed.append("script error")
    finally:
        desktop.stop_all()
        if checks.failed:
            program_log = desktop.log("numerillo").strip()
            if program_log:
                print("program output:\n" + program_log)
        shutil.rmtree(work, ignore_errors=True)
    print("%s: %d checks held, %d did not%s; %.1f s"
          % (checks.label, checks.held, len(checks.failed),
             " (" + ", ".join(checks.failed) + ")" if checks.failed else "",
             time.monotonic() - began))
    return 1 if checks.failed else 0


if __name__ == "__main__":
    sys.exit(main())
