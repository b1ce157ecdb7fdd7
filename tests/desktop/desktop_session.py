#!/usr/bin/env python3
"""Numerillo on a real desktop: a private Xvfb, a real window manager, real X input.

    desktop_session.py --program PATH --wm NAME [--platform auto|wayland|wayland-only]
                       --scenario start|quiz|again
    desktop_session.py --self-test

Starts Xvfb, a session bus where the desktop wants one, and the window manager; waits until it
is managing and focusing new windows, puts a panel along the bottom of the screen (a window
with a strut, which takes it off the work area), starts the program, drives it with xdotool
(XTEST events, as from a mouse and a keyboard) and reads what happened back from the X server
with xdotool, xprop, xwininfo and ImageMagick's import.

  start  the start window: keyboard focus, centring on the whole screen with the frame counted
         and no move once framed, title, no task bar entry, no minimise, maximise or resize,
         and Escape ends the program with status 0.
  quiz   a click on the start button: the start window goes, the quiz window comes with the
         focus, typed digits land in the first answer box; then the same window checks as above
         and Escape ends the program with status 0.

The X11 window managers (openbox, metacity, mutter, kwin) run on the Xvfb itself. gnome-wayland
is GNOME's compositor (mutter) as a Wayland session in a window on the Xvfb, with Xwayland, and
plasma-wayland is KDE's (KWin) likewise: the mouse and keyboard input still goes to the Xvfb, into
the compositor's window. There the program is started as in a Wayland session, where --platform
says how:
  auto          QT_QPA_PLATFORM unset, DISPLAY and WAYLAND_DISPLAY set: the program picks X11
                and its windows are Xwayland's; every X11 check is made there.
  wayland       QT_QPA_PLATFORM=wayland: a native Wayland client, with DISPLAY still set.
  wayland-only  no DISPLAY at all: the program has to pick Wayland itself.
A Wayland window cannot be read from outside: the checks there go by what the compositor's window
shows on the Xvfb (the window's size, the typed digits) and by the program's exit status.

Everything the session starts runs in a private PID namespace where the system allows one, and
carries a marker in its environment in any case: at the end every such process is ended, and a
last check makes sure that none survived the test.

Each check prints what it measured. Exit status 0 when every check held, 1 otherwise (a missing
tool or a desktop that could not be set up also counts as a failure, with the reason printed).
"""

import argparse
import ctypes
import os
import re
import reprlib
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import traceback
import uuid
from dataclasses import dataclass, field


@dataclass(frozen=True)
class WindowManager:
    command: tuple
    # Tool -> Debian package, for the message when one is missing.
    tools: dict
    # Actions that _NET_WM_ALLOWED_ACTIONS must not list for the program's windows: resizing
    # for any window manager, as the windows have a fixed size.
    refused_actions: tuple
    # Whether it gets a private session bus (DBUS_SESSION_BUS_ADDRESS), as in a desktop session;
    # the program gets the same bus.
    session_bus: bool = False
    # Set for the window manager and the program alike, as the desktop's session would.
    session_env: dict = field(default_factory=dict)
    # Set for the window manager only.
    own_env: dict = field(default_factory=dict)
    # A Wayland compositor in a window on the Xvfb, with Xwayland, instead of an X11 window
    # manager on the Xvfb: which one ("mutter", "kwin"), for how it names its displays.
    nested: str = ""
    # Run from a copy without its file capabilities: KWin's Wayland compositor has
    # cap_sys_resource, which a container (and so it) cannot have, and then does not start.
    plain_copy: bool = False
    # Whether the program is to be centred on the whole screen beside a panel (start_panel). Not
    # where the compositor places the program's X11 windows itself, in its free area.
    panel: bool = True


SCREEN = (1280, 1024)
# A panel along the bottom of the screen, as a desktop's task bar: the window manager keeps it out
# of its work area, and the program's windows are centred on the whole screen all the same.
PANEL_HEIGHT = 50

ALWAYS_REFUSED = ("_NET_WM_ACTION_RESIZE", "_NET_WM_ACTION_MAXIMIZE")

WINDOW_MANAGERS = {
    # Openbox offers minimising every window it decorates, whatever the window asks for; it does
    # honour a fixed size and the Motif hints for maximising.
    "openbox": WindowManager(
        command=("openbox", "--sm-disable"),
        tools={"openbox": "openbox"},
        refused_actions=ALWAYS_REFUSED,
    ),
    "metacity": WindowManager(
        command=("metacity", "--replace"),
        tools={"metacity": "metacity"},
        refused_actions=ALWAYS_REFUSED + ("_NET_WM_ACTION_MINIMIZE",),
        session_bus=True,
    ),
    # GNOME's window manager on X11 (a GNOME on Xorg session).
    "mutter": WindowManager(
        command=("mutter", "--x11", "--replace"),
        tools={"mutter": "mutter"},
        refused_actions=ALWAYS_REFUSED + ("_NET_WM_ACTION_MINIMIZE",),
        session_bus=True,
        session_env={"XDG_CURRENT_DESKTOP": "GNOME", "XDG_SESSION_DESKTOP": "gnome"},
    ),
    # KDE Plasma's window manager on X11, with its Breeze window decoration. KWin is a Qt
    # program itself and is told to use X11 whatever the session says. It offers minimising
    # every normal window and dialog that is not transient for a window on show, whatever the
    # window's Motif hints say (it reads their close function, not their minimise function).
    "kwin": WindowManager(
        command=("kwin_x11", "--replace"),
        tools={"kwin_x11": "kwin-x11"},
        refused_actions=ALWAYS_REFUSED,
        session_bus=True,
        session_env={"XDG_CURRENT_DESKTOP": "KDE", "XDG_SESSION_DESKTOP": "KDE",
                     "KDE_FULL_SESSION": "true", "KDE_SESSION_VERSION": "5"},
        own_env={"QT_QPA_PLATFORM": "xcb"},
    ),
    # A GNOME Wayland session: mutter as the compositor, in a window on the Xvfb, with Xwayland.
    "gnome-wayland": WindowManager(
        command=("mutter", "--nested", "--wayland"),
        tools={"mutter": "mutter", "Xwayland": "xwayland"},
        refused_actions=ALWAYS_REFUSED + ("_NET_WM_ACTION_MINIMIZE",),
        session_bus=True,
        session_env={"XDG_CURRENT_DESKTOP": "GNOME", "XDG_SESSION_DESKTOP": "gnome",
                     "XDG_SESSION_TYPE": "wayland"},
        # The compositor's screen fills the Xvfb's.
        own_env={"MUTTER_DEBUG_DUMMY_MODE_SPECS": "%dx%d" % SCREEN},
        nested="mutter",
    ),
    # A Plasma Wayland session: KWin as the compositor, in a window on the Xvfb, with Xwayland.
    # The session's first program is a script that writes the displays into its log
    # (ANNOUNCE_DISPLAYS). KWin offers minimising whatever the window asks for, as on X11.
    "plasma-wayland": WindowManager(
        command=("kwin_wayland", "--x11-display", "{display}", "--width", str(SCREEN[0]),
                 "--height", str(SCREEN[1]), "--xwayland", "--socket", "wayland-0",
                 "--no-lockscreen", "--no-global-shortcuts", "--no-kactivities", "{announce}"),
        tools={"kwin_wayland": "kwin-wayland", "Xwayland": "xwayland"},
        refused_actions=ALWAYS_REFUSED,
        session_bus=True,
        session_env={"XDG_CURRENT_DESKTOP": "KDE", "XDG_SESSION_DESKTOP": "KDE",
                     "XDG_SESSION_TYPE": "wayland", "KDE_FULL_SESSION": "true",
                     "KDE_SESSION_VERSION": "5"},
        nested="kwin",
        plain_copy=True,
        panel=False,
    ),
}

# Run by a compositor as its session's first program: names the displays it was given.
ANNOUNCE_DISPLAYS = """#!/bin/sh
printf 'session display: DISPLAY=%s\\n' "$DISPLAY"
printf 'session display: WAYLAND_DISPLAY=%s\\n' "$WAYLAND_DISPLAY"
printf 'session display: XAUTHORITY=%s\\n' "$XAUTHORITY"
"""

# How the program is started in a Wayland session (see above); on X11 only "auto" applies.
PLATFORMS = ("auto", "wayland", "wayland-only")

COMMON_TOOLS = {"Xvfb": "xvfb", "xdotool": "xdotool", "xprop": "x11-utils",
                "xwininfo": "x11-utils", "xmessage": "x11-utils", "import": "imagemagick",
                "dbus-daemon": "dbus-daemon"}

# In the environment of every process of a session (the value tells the sessions apart), and of
# the program and whatever it starts.
SESSION_MARKER = "NUMERILLO_DESKTOP_SESSION"
PROGRAM_MARKER = "NUMERILLO_DESKTOP_PROGRAM"

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
STILL_SECONDS = 0.4
PROBE_SECONDS = 2
WINDOW_SECONDS = 15
FOCUS_SECONDS = 5
EXIT_SECONDS = 5
# A second start hands over and ends within this.
AGAIN_SECONDS = 4
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


def crop(image, rect):
    """The part of an image (as parse_ppm gives it) inside rect, which must lie within it."""
    width, _, pixels = image
    rows = [pixels[((rect.y + row) * width + rect.x) * 3:
                   ((rect.y + row) * width + rect.x + rect.width) * 3]
            for row in range(rect.height)]
    return rect.width, rect.height, b"".join(rows)


# Colour levels in 16 steps, on two grids half a step apart: a colour channel that moves by
# fewer than 8 levels changes its step on one grid at most, one that moves by 16 or more on both.
_STEPS = (bytes(v >> 4 for v in range(256)), bytes(min(v + 8, 255) >> 4 for v in range(256)))


def changed_box(before, after):
    """The smallest Rect holding every pixel that differs between two images of one size by 16
    or more levels in a colour channel (by 8 at least), or None where none does. The compositor
    renders its background again now and then, a level or two off here and there."""
    width, height, old = before
    _, _, new = after
    stride = width * 3
    ones = int.from_bytes(b"\x0f" * stride, "big")
    fives = int.from_bytes(b"\x10" * stride, "big")
    left, right, top, bottom = width, -1, None, None
    for y in range(height):
        a, b = old[y * stride:(y + 1) * stride], new[y * stride:(y + 1) * stride]
        if a == b:
            continue
        # Per byte: a step value of 0-15 on each side, so their xor is 0-15, and adding 15
        # sets bit 4 exactly where it is not 0, without carrying into the next byte.
        both = -1
        for steps in _STEPS:
            xor = (int.from_bytes(a.translate(steps), "big")
                   ^ int.from_bytes(b.translate(steps), "big"))
            both &= (xor + ones) & fives
        if not both:
            continue
        first = (stride - 1 - (both.bit_length() - 1) // 8) // 3
        last = (stride - 1 - ((both & -both).bit_length() - 1) // 8) // 3
        left, right = min(left, first), max(right, last)
        top = y if top is None else top
        bottom = y
    if right < 0:
        return None
    return Rect(left, top, right - left + 1, bottom - top + 1)


def blank(rect, *images):
    """The images with the part inside rect made black, for comparisons that leave it out."""
    blanked = []
    for width, height, pixels in images:
        pixels = bytearray(pixels)
        for y in range(max(rect.y, 0), min(rect.y + rect.height, height)):
            start = (y * width + max(rect.x, 0)) * 3
            end = (y * width + min(rect.x + rect.width, width)) * 3
            pixels[start:end] = bytes(end - start)
        blanked.append((width, height, bytes(pixels)))
    return blanked


def hide_parked_pointer(*images):
    """The images (of the compositor's screen) with the corner where the pointer waits blanked
    out: the compositor draws the pointer into its screen, there or wherever it has gone."""
    return blank(Rect(SCREEN[0] - 32, SCREEN[1] - 32, 32, 32), *images)


def client_in_frame(outer, size):
    """Where a window's client area of `size` lies inside the outer Rect of the window with the
    frame that the program draws itself on Wayland (Qt's decoration): a title bar on top and
    borders of one width on the other three sides. None when the outer size cannot be that."""
    border2 = outer.width - size[0]
    if border2 < 0 or border2 % 2 or outer.height - size[1] < border2 // 2:
        return None
    border = border2 // 2
    return Rect(outer.x + border, outer.y + outer.height - border - size[1], size[0], size[1])


def numbered_title(title):
    """Whether a window manager has numbered the title to tell it from another one of the same
    name, as KWin does ("Numerillo <2>")."""
    return bool(title and re.search(r"<\d+>", title))


def nested_displays(log):
    """The X11 display (":N") and the Wayland display name that mutter says it serves, from its
    log; None for either not named yet."""
    x11 = re.search(r"Using public X11 display (:\d+)", log)
    wayland = re.search(r"Using Wayland display name '([^']+)'", log)
    return (x11.group(1) if x11 else None), (wayland.group(1) if wayland else None)


def announced_displays(log):
    """The X11 display, the Wayland display and the X authority file (None where there is none)
    that ANNOUNCE_DISPLAYS, run as the session's first program, wrote into the compositor's log;
    None for the displays not named yet."""
    def value(name):
        found = re.search(r"^session display: %s=(.*)$" % name, log, re.M)
        return found.group(1).strip() if found else None
    return value("DISPLAY"), value("WAYLAND_DISPLAY"), value("XAUTHORITY") or None


def environ_has(environ, name, value):
    """Whether a process's environment, as /proc/PID/environ holds it, sets name=value."""
    return ("%s=%s" % (name, value)).encode() in environ.split(b"\0")


def session_processes(marker, exclude=()):
    """The processes whose environment carries the session's marker, as {pid: description}.
    Zombies have none left: only processes still running are found."""
    found = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit() or int(entry) in exclude:
            continue
        pid = int(entry)
        try:
            with open("/proc/%d/environ" % pid, "rb") as f:
                environ = f.read()
            if not environ_has(environ, SESSION_MARKER, marker):
                continue
            found[pid] = describe_process(pid, environ)
        except OSError:
            continue
    return found


def describe_process(pid, environ=b""):
    try:
        with open("/proc/%d/cmdline" % pid, "rb") as f:
            command = f.read().replace(b"\0", b" ").decode(errors="replace").strip()
        with open("/proc/%d/stat" % pid) as f:
            ppid = int(f.read().rsplit(")", 1)[1].split()[1])
    except (OSError, ValueError, IndexError):
        return "pid %d (gone)" % pid
    origin = " [started by the program]" if environ_has(environ, PROGRAM_MARKER, "1") else ""
    return "pid %d, parent %d: %s%s" % (pid, ppid, command[:160], origin)


def parse_xprop_many(output):
    """xprop's output for several properties as {name: values}, each as parse_xprop reads it."""
    values = {}
    for line in output.splitlines():
        name = re.match(r"([A-Za-z0-9_]+)[(:]", line)
        if name:
            values[name.group(1)] = parse_xprop(line)
    return values


def _die_with_parent():
    # If this script is killed outright, its direct children are told to end too.
    try:
        libc = ctypes.CDLL(None, use_errno=True)
        libc.prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG
    except (OSError, AttributeError):
        pass


def _become_subreaper():
    # Processes that leave their parent (a daemon forking twice) become this script's children
    # instead of init's, so that the clean-up can tell them apart.
    try:
        libc = ctypes.CDLL(None, use_errno=True)
        libc.prctl(36, 1)  # PR_SET_CHILD_SUBREAPER
    except (OSError, AttributeError):
        pass


def pid_namespace_available():
    """Whether a private PID namespace can be made here (as root, or where the system lets users
    make them)."""
    if not shutil.which("unshare"):
        return False
    try:
        return subprocess.run(UNSHARE + ["true"], stdin=subprocess.DEVNULL,
                              capture_output=True, timeout=10).returncode == 0
    except (OSError, subprocess.TimeoutExpired):
        return False


# The session's own PID namespace: the script is its first process, and when that ends the kernel
# ends every other process in it. --kill-child ends the script when unshare is killed. An X
# server there could not tell another one's lock file from a stale one (the pid in it is not
# seen), and would take over its display: the session also gets its own network namespace (for
# the abstract sockets X clients try first) and its own /tmp (sockets and lock files).
UNSHARE = ["unshare", "--pid", "--fork", "--kill-child", "--mount-proc", "--net"]


def make_tmp_private(work, keep=()):
    """Mounts an empty /tmp over the shared one, for this mount namespace only, with the
    directory `work` (on the shared /tmp) seen at the path returned. The paths in `keep` that
    lie on the shared /tmp (a program built there, say) stay where they were: the top directory
    of each under /tmp is bound into the private one at the same path."""
    libc = ctypes.CDLL(None, use_errno=True)
    libc.mount.argtypes = (ctypes.c_char_p, ctypes.c_char_p, ctypes.c_char_p, ctypes.c_ulong,
                           ctypes.c_char_p)
    ms_bind = 4096
    kept = set()
    for path in keep:
        parts = os.path.realpath(path).split(os.sep)
        if len(parts) > 2 and parts[1] == "tmp":
            kept.add(os.sep.join(parts[:3]))
    # Opened before the shared /tmp is covered, and bound from there once it is.
    opened = {"/tmp/session": (os.open(work, os.O_PATH), True)}
    try:
        for path in sorted(kept):
            opened[path] = (os.open(path, os.O_PATH), os.path.isdir(path))
        if libc.mount(b"tmpfs", b"/tmp", b"tmpfs", 0, b"mode=1777") != 0:
            raise OSError(ctypes.get_errno(), "mounting a private /tmp")
        for path, (descriptor, is_directory) in opened.items():
            if is_directory:
                os.mkdir(path, 0o700)
            else:
                os.close(os.open(path, os.O_CREAT | os.O_WRONLY, 0o600))
            if libc.mount(("/proc/self/fd/%d" % descriptor).encode(), path.encode(), None,
                          ms_bind, None) != 0:
                raise OSError(ctypes.get_errno(), "binding %s into the private /tmp" % path)
    finally:
        for descriptor, _ in opened.values():
            os.close(descriptor)
    return "/tmp/session"


class Desktop:
    """The processes of one session and the X tools that look at it."""

    def __init__(self, work, marker, wm):
        self.work = work
        self.marker = marker
        self.wm = wm
        self.processes = []  # (name, Popen), in start order
        self.display = None
        # Where the input goes and what the compositor shows: the Xvfb, also for a nested
        # compositor. self.env is where the program's X11 windows are: Xwayland's display there.
        self.host_env = None
        self.nested_origin = (0, 0)
        self.nested_window = None
        self.wayland_display = None
        home = os.path.join(work, "home")
        runtime = os.path.join(work, "runtime")
        os.makedirs(home, exist_ok=True)
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS",
                            "XAUTHORITY", "SESSION_MANAGER", "QT_QPA_PLATFORM",
                            "XDG_SESSION_TYPE", "XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP")}
        env.update(HOME=home, XDG_RUNTIME_DIR=runtime, LANG="C.UTF-8",
                   XDG_CONFIG_HOME=os.path.join(home, ".config"),
                   XDG_CACHE_HOME=os.path.join(home, ".cache"),
                   XDG_DATA_HOME=os.path.join(home, ".local/share"),
                   GSETTINGS_BACKEND="memory", NO_AT_BRIDGE="1")
        env[SESSION_MARKER] = marker
        for name in [k for k in env if k.startswith("LC_") or k == "LANGUAGE"]:
            del env[name]
        self.env = env
        # What the desktop's session sets for every program in it.
        self.session_env = dict(wm.session_env)

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
        # Helpers left in the group go too.
        try:
            os.killpg(process.pid, signal.SIGKILL)
        except (ProcessLookupError, PermissionError):
            pass

    def stop_all(self):
        """Ends what this session started, then whatever got away from its process groups (a
        daemon that forked twice, a service a bus started): every process with the session's
        marker. Returns the descriptions of those that had got away."""
        for _, process in reversed(self.processes):
            self.stop(process)
        own = {os.getpid()} | {p.pid for _, p in self.processes}
        strays = session_processes(self.marker, exclude=own)
        for sig in (signal.SIGTERM, signal.SIGKILL):
            for pid in session_processes(self.marker, exclude=own):
                try:
                    os.kill(pid, sig)
                except ProcessLookupError:
                    pass
            poll(lambda: not session_processes(self.marker, exclude=own), 2)
        self.reap_orphans(own)
        return strays

    def reap_orphans(self, own):
        # Orphans that ended as this script's children (it is their reaper): not the processes
        # it started itself, whose status their Popen collects.
        for entry in os.listdir("/proc"):
            if entry.isdigit() and int(entry) not in own:
                try:
                    with open("/proc/%s/stat" % entry) as f:
                        fields = f.read().rsplit(")", 1)[1].split()
                    if fields[0] == "Z" and int(fields[1]) == os.getpid():
                        os.waitpid(int(entry), os.WNOHANG)
                except (OSError, ValueError, IndexError, ChildProcessError):
                    pass

    def start_xvfb(self):
        read_end, write_end = os.pipe()
        # Without -noreset, the server resets each time its last client leaves, and drops a
        # client (the window manager, say) that connects meanwhile; these tools come and go.
        xvfb = self.start("xvfb", ["Xvfb", "-displayfd", str(write_end), "-noreset",
                                   "-screen", "0", "%dx%dx24" % SCREEN, "-nolisten", "tcp"],
                          pass_fds=(write_end,))
        os.close(write_end)
        number = self.read_line(read_end)
        if not number:
            raise SetupFailed("Xvfb did not start:\n" + self.log("xvfb"))
        self.display = ":" + number
        self.env["DISPLAY"] = self.display
        self.host_env = dict(self.env)
        print("Xvfb on display %s, screen %dx%d" % ((self.display,) + SCREEN))
        return xvfb

    def read_line(self, fd):
        """The first line written to the pipe `fd` (which is then closed), or "" if none came."""
        text = b""
        deadline = time.monotonic() + WINDOW_SECONDS
        while not text.endswith(b"\n") and time.monotonic() < deadline:
            ready, _, _ = select.select([fd], [], [], 0.2)
            if ready:
                chunk = os.read(fd, 256)
                if not chunk:
                    break
                text += chunk
        os.close(fd)
        return text.decode(errors="replace").strip()

    def start_session_bus(self):
        read_end, write_end = os.pipe()
        self.start("dbus", ["dbus-daemon", "--session", "--nofork",
                            "--print-address=%d" % write_end], pass_fds=(write_end,))
        os.close(write_end)
        address = self.read_line(read_end)
        if not address:
            raise SetupFailed("the session bus did not start:\n" + self.log("dbus"))
        self.session_env["DBUS_SESSION_BUS_ADDRESS"] = address

    def program_env(self, platform):
        """The environment the desktop's session gives the program."""
        env = dict(self.env, **self.session_env)
        env[PROGRAM_MARKER] = "1"
        if not self.wm.nested:
            env["XDG_SESSION_TYPE"] = "x11"
            return env
        env["WAYLAND_DISPLAY"] = self.wayland_display
        if platform == "wayland":
            env["QT_QPA_PLATFORM"] = "wayland"
        elif platform == "wayland-only":
            del env["DISPLAY"]
            env.pop("XAUTHORITY", None)
        return env

    # --- X tools ---

    def run(self, *argv):
        """An X tool on the display of the program's X11 windows."""
        result = subprocess.run(argv, env=self.env, capture_output=True, text=True, timeout=20)
        return result.returncode, result.stdout

    def run_input(self, *argv):
        """An X tool on the Xvfb, where the mouse and the keyboard are."""
        result = subprocess.run(argv, env=self.host_env, capture_output=True, text=True,
                                timeout=20)
        return result.returncode, result.stdout

    def prop(self, window, name):
        target = ["-root"] if window == "root" else ["-id", str(window)]
        rc, out = self.run("xprop", *target, name)
        return parse_xprop(out) if rc == 0 else None

    def props(self, window, *names):
        rc, out = self.run("xprop", "-id", str(window), *names)
        return parse_xprop_many(out) if rc == 0 else None

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

    def to_input(self, x, y):
        """A point on the program's X display as a point on the Xvfb."""
        return x + self.nested_origin[0], y + self.nested_origin[1]

    def click(self, x, y, x11=True):
        """A click with the first button at (x, y) on the program's X display, or on the nested
        compositor's screen. A nested compositor passes the pointer on to a window only once it
        has seen it there: the click waits until Xwayland has the pointer at (x, y) (x11), or
        until the compositor has drawn it there."""
        hx, hy = self.to_input(x, y)
        before = self.nested_screen() if self.wm.nested and not x11 else None
        self.run_input("xdotool", "mousemove", "--sync", str(hx), str(hy))
        if self.wm.nested and x11:
            poll(lambda: self.pointer() == (x, y), PIXELS_SECONDS)
        elif before is not None:
            spot = Rect(x, y, 16, 16)
            poll(lambda: (lambda now: now is not None and crop(now, spot) != crop(before, spot))(
                self.nested_screen()), PIXELS_SECONDS)
        self.run_input("xdotool", "click", "1")

    def pointer(self):
        """Where the pointer is on the program's X display."""
        rc, out = self.run("xdotool", "getmouselocation")
        found = re.search(r"x:(-?\d+) y:(-?\d+)", out) if rc == 0 else None
        return (int(found.group(1)), int(found.group(2))) if found else None

    def screenshot(self):
        """The Xvfb's screen, as parse_ppm gives it, or None."""
        result = subprocess.run(["import", "-silent", "-window", "root", "-depth", "8", "ppm:-"],
                                env=self.host_env, capture_output=True, timeout=20)
        try:
            return parse_ppm(result.stdout) if result.returncode == 0 else None
        except (ValueError, IndexError):
            return None

    def nested_screen(self):
        """What the nested compositor shows, from the Xvfb's screen."""
        image = self.screenshot()
        if image is None:
            return None
        x, y = self.nested_origin
        return crop(image, Rect(x, y, SCREEN[0], SCREEN[1]))

    def snapshot(self, window):
        """The pixels of an X11 window of the program, as the person sees them."""
        if self.wm.nested:
            geometry = self.geometry(window)
            screen = self.nested_screen()
            if geometry is None or screen is None:
                return None
            return crop(screen, geometry[0])
        result = subprocess.run(["import", "-silent", "-window", str(window), "-depth", "8",
                                 "ppm:-"], env=self.env, capture_output=True, timeout=20)
        try:
            return parse_ppm(result.stdout) if result.returncode == 0 else None
        except (ValueError, IndexError):
            return None

    # --- the window manager ---

    def start_window_manager(self):
        wm = self.wm
        if wm.session_bus:
            self.start_session_bus()
        env = dict(self.env, **self.session_env)
        env.update(wm.own_env)
        announce = os.path.join(self.work, "announce-displays")
        with open(announce, "w") as f:
            f.write(ANNOUNCE_DISPLAYS)
        os.chmod(announce, 0o755)
        command = [part.format(display=self.display, announce=announce) for part in wm.command]
        if wm.plain_copy:
            # shutil.copy leaves extended attributes, and with them file capabilities, behind.
            found = shutil.which(command[0])
            command[0] = os.path.join(self.work, os.path.basename(found))
            shutil.copy(found, command[0])
        process = self.start("wm", command, env=env)
        if wm.nested:
            self.enter_nested_session(process)
        return process, self.wait_until_managing(process)

    def enter_nested_session(self, compositor):
        """Waits for the nested compositor's displays, then points the X tools at its Xwayland
        and gives the compositor's window on the Xvfb the keyboard."""
        def displays():
            if compositor.poll() is not None:
                raise SetupFailed("the compositor ended at once:\n" + self.log("wm"))
            runtime = self.env["XDG_RUNTIME_DIR"]
            if self.wm.nested == "kwin":
                x11, wayland, key = announced_displays(self.log("wm"))
            else:
                x11, wayland = nested_displays(self.log("wm"))
                keys = [n for n in os.listdir(runtime) if n.startswith(".mutter-Xwaylandauth.")]
                key = os.path.join(runtime, keys[0]) if keys else None
                if not key:
                    return None
            if x11 and wayland and os.path.exists(os.path.join(runtime, wayland)):
                return x11, wayland, key
            return None

        found = poll(displays, WM_SETTLE_SECONDS)
        if not found:
            raise SetupFailed("the compositor named no Xwayland and Wayland displays:\n"
                              + self.log("wm"))
        x11, self.wayland_display, key = found
        self.env["DISPLAY"] = x11
        if key:
            self.env["XAUTHORITY"] = key
        print("nested compositor: Wayland display %s, Xwayland on %s"
              % (self.wayland_display, x11))
        _, out = self.run_input("xwininfo", "-root")
        root = int(re.search(r"Window id: (0x[0-9a-f]+)", out).group(1), 16)

        def shown():
            rc, out = self.run_input("xdotool", "search", "--onlyvisible", "--maxdepth", "1",
                                     "--name", "")
            return [int(w) for w in out.split() if int(w) != root] if rc == 0 else []

        windows = poll(lambda: shown() or None, WM_SETTLE_SECONDS) or []
        if len(windows) != 1:
            raise SetupFailed("expected the compositor's one window on the Xvfb, found %s"
                              % ", ".join(self.run_input("xwininfo", "-id", str(w))[1]
                                          for w in windows))
        self.nested_window = windows[0]
        rc, out = self.run_input("xwininfo", "-id", str(windows[0]))
        origin = re.search(r"Absolute upper-left X:\s+(-?\d+).*?Absolute upper-left Y:\s+(-?\d+)",
                           out, re.S)
        self.nested_origin = (int(origin.group(1)), int(origin.group(2)))
        # No window manager on the Xvfb: the focus is given outright, and the pointer waits in
        # the compositor's bottom right corner, away from the program's windows.
        self.run_input("xdotool", "windowfocus", "--sync", str(windows[0]))
        self.park_pointer()

    def park_pointer(self):
        if not self.wm.nested:
            return
        x, y = self.to_input(SCREEN[0] - 1, SCREEN[1] - 1)
        rc, out = self.run_input("xdotool", "getmouselocation")
        # xdotool's --sync waits for the pointer to move: not when it is there already.
        if rc != 0 or not out.startswith("x:%d y:%d " % (x, y)):
            self.run_input("xdotool", "mousemove", "--sync", str(x), str(y))

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

    def start_panel(self):
        """A window along the bottom of the screen that keeps PANEL_HEIGHT pixels to itself (a
        strut, which any window may claim), once the window manager has taken it off its work
        area."""
        width, height = SCREEN
        self.start("panel", ["xmessage", "-name", "numerillo-desktop-panel", "-geometry",
                             "%dx%d+0+%d" % (width, PANEL_HEIGHT, height - PANEL_HEIGHT), "panel"])
        windows = poll(lambda: self.visible_windows("--classname", "^numerillo-desktop-panel$"),
                       WINDOW_SECONDS)
        if not windows:
            raise SetupFailed("the panel window did not appear")
        # left, right, top, bottom, then the start and end of each edge's strip
        strut = (0, 0, 0, PANEL_HEIGHT, 0, 0, 0, 0, 0, 0, 0, width - 1)
        self.run("xprop", "-id", str(windows[0]), "-f", "_NET_WM_STRUT_PARTIAL", "32c", "-set",
                 "_NET_WM_STRUT_PARTIAL", ",".join(map(str, strut)))
        work_area = ["0", "0", str(width), str(height - PANEL_HEIGHT)]
        if not poll(lambda: (self.prop("root", "_NET_WORKAREA") or [])[:4] == work_area,
                    WM_SETTLE_SECONDS):
            raise SetupFailed("the window manager kept the panel in its work area: "
                              "_NET_WORKAREA = %s" % self.prop("root", "_NET_WORKAREA"))

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

    def note(self, name, detail):
        """What was measured without a verdict: what the desktop does that the program has no
        say in."""
        print("[info] %s: %s: %s" % (self.label, name, detail), flush=True)


class TitleWatch:
    """Follows the name, the name the window manager shows, and the state of each of the
    program's X11 windows, from when it is first seen viewable until the end, change by change
    (xprop -spy)."""

    NAMES = ("_NET_WM_NAME", "_NET_WM_VISIBLE_NAME", "_NET_WM_STATE")

    def __init__(self, desktop, pid):
        self.desktop = desktop
        self.pid = pid
        self.began = time.monotonic()
        self.history = []  # (seconds, window, xprop's line)
        self.spies = {}  # window -> Popen
        self.readers = []
        self.done = threading.Event()
        self.thread = threading.Thread(target=self.run, daemon=True)
        self.thread.start()

    def run(self):
        while not self.done.is_set():
            try:
                for window in self.desktop.visible_windows("--pid", str(self.pid)):
                    if window not in self.spies:
                        self.spy(window)
            except (subprocess.SubprocessError, OSError):
                pass
            self.done.wait(POLL_SECONDS)

    def spy(self, window):
        spy = subprocess.Popen(["xprop", "-spy", "-id", str(window)] + list(self.NAMES),
                               env=self.desktop.env, stdin=subprocess.DEVNULL,
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                               errors="replace", preexec_fn=_die_with_parent)
        self.spies[window] = spy

        def read():
            for line in spy.stdout:
                self.history.append((time.monotonic() - self.began, window, line.strip()))

        reader = threading.Thread(target=read, daemon=True)
        reader.start()
        self.readers.append(reader)

    def stop(self):
        self.done.set()
        self.thread.join(10)
        for spy in self.spies.values():
            spy.terminate()
            spy.wait(5)
        for reader in self.readers:
            reader.join(5)

    def titles(self):
        titles = []
        for _, _, line in self.history:
            if line.startswith(("_NET_WM_NAME", "_NET_WM_VISIBLE_NAME")):
                titles += parse_xprop(line) or []
        return titles

    def report(self, checks):
        for seconds, window, line in sorted(self.history):
            checks.note("window properties", "%+.3f s 0x%x: %s" % (seconds, window, line))
        numbered = sorted({t for t in self.titles() if numbered_title(t)})
        checks.record("title never numbered", not numbered,
                      "titles seen on the program's windows: %s"
                      % (", ".join(repr(t) for t in sorted(set(self.titles()))) or "none"))


class Session:
    def __init__(self, desktop, platform, program, checks):
        self.desktop = desktop
        self.wm = desktop.wm
        self.platform = platform
        self.program_path = program
        self.checks = checks
        self.program = None
        self.watch = None

    @property
    def native_wayland(self):
        return self.wm.nested and self.platform != "auto"

    def start_program(self):
        env = self.desktop.program_env(self.platform)
        self.program = self.desktop.start("numerillo", [self.program_path], env=env)
        if not self.native_wayland:
            self.watch = TitleWatch(self.desktop, self.program.pid)

    def finish(self):
        if self.watch:
            self.watch.stop()
            self.watch.report(self.checks)

    # --- the program's X11 windows ---

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
        placed = d.outer_rect(window)
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
            # Framed where it stays: a window the window manager placed first elsewhere jumps.
            first = placed[2] if placed else None
            self.checks.record("placed once", first == outer,
                               "%s: outer %s when framed, %s after" % (what, first, outer))

        title = d.prop(window, "_NET_WM_NAME")
        shown = d.prop(window, "_NET_WM_VISIBLE_NAME")
        self.checks.record("title", title == ["Numerillo"] and shown in (None, ["Numerillo"]),
                           "_NET_WM_NAME = %s, _NET_WM_VISIBLE_NAME = %s" % (title, shown))

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
        self.dump_window(window, what)

    def dump_window(self, window, what):
        """What the program told the window manager about the window, for the record."""
        rc, out = self.desktop.run("xprop", "-id", str(window), "WM_TRANSIENT_FOR",
                                   "_NET_WM_WINDOW_TYPE", "WM_CLIENT_LEADER", "WM_HINTS",
                                   "WM_NORMAL_HINTS", "_NET_WM_STATE")
        lines = " | ".join(line.strip() for line in out.splitlines() if line.strip())
        self.checks.note("%s properties" % what, lines if rc == 0 else "xprop failed")
        leader = self.desktop.prop(window, "WM_CLIENT_LEADER")
        if leader:
            geometry = self.desktop.geometry(int(leader[0], 16))
            self.checks.note("%s client leader" % what, "%s: %s" % (
                leader[0], "viewable" if geometry and geometry[1] else "not viewable (unmapped)"))

    def press_escape_and_wait(self, what):
        self.desktop.run_input("xdotool", "key", "Escape")
        try:
            status = self.program.wait(EXIT_SECONDS)
        except subprocess.TimeoutExpired:
            status = None
        self.checks.record("escape ends program", status == 0,
                           "Escape on the %s: %s" % (what, "still running %d s later" % EXIT_SECONDS
                                                     if status is None else "exit status %d" % status))
        if status is not None:
            left = {pid: text for pid, text in
                    session_processes(self.desktop.marker, exclude={os.getpid()}).items()
                    if "[started by the program]" in text}
            self.checks.record("program leaves nothing running", not left,
                               "; ".join(left.values()) or "no process it started is left")

    def scenario_start(self):
        if self.native_wayland:
            return self.wayland_start()
        self.start_program()
        start = self.window_of_size(START_WINDOW_SIZE, "start window")
        self.check_focus(start, "start window")
        self.check_window(start, "start window")
        self.press_escape_and_wait("start window")

    def scenario_quiz(self):
        if self.native_wayland:
            return self.wayland_quiz()
        d = self.desktop
        self.start_program()
        start = self.window_of_size(START_WINDOW_SIZE, "start window")
        geometry = d.geometry(start)
        if geometry is None:
            raise CheckFailed("the start window 0x%x went away" % start)
        x, y = CMDCOMINCIA.centre()
        d.click(geometry[0].x + x, geometry[0].y + y)
        quiz = self.window_of_size(QUIZ_WINDOW_SIZE, "quiz window")
        d.park_pointer()
        gone = poll(lambda: not (d.geometry(start) or (None, False))[1], WINDOW_SECONDS)
        self.checks.record("start window closes", gone,
                           "start window 0x%x %s after the click on cmdcomincia"
                           % (start, "gone" if gone else "still viewable"))
        self.check_focus(quiz, "quiz window")
        self.check_typing(lambda: d.snapshot(quiz), lambda image: image)
        self.check_window(quiz, "quiz window")
        self.press_escape_and_wait("quiz window")

    def start_again(self, what):
        """Starts the program a second time: that start must end at once, having handed over to
        the running one, whose window must then have the focus and be on top."""
        d = self.desktop
        began = time.monotonic()
        again = d.start("numerillo-again", [self.program_path], env=d.program_env(self.platform))
        try:
            status = again.wait(AGAIN_SECONDS)
        except subprocess.TimeoutExpired:
            status = None
            d.stop(again)
        self.checks.record("second start ends", status == 0,
                           "%s: the second start %s" % (what, "still ran %d s later" % AGAIN_SECONDS
                                                        if status is None else
                                                        "ended with status %d after %.2f s"
                                                        % (status, time.monotonic() - began)))

    def on_top(self, window):
        stacking = self.desktop.prop("root", "_NET_CLIENT_LIST_STACKING") or []
        return bool(stacking) and int(stacking[-1], 16) == window

    def scenario_again(self):
        """The program started again while its window is covered, then while it is minimised:
        the window comes back, restored, on top and with the focus, and the new start ends."""
        d = self.desktop
        if self.native_wayland:
            # Not seen from X11: a second start ends, and the window is still there for Escape.
            background = self.wayland_background()
            self.start_program()
            self.wayland_window(background, START_WINDOW_SIZE, "start window")
            self.start_again("Wayland")
            self.press_escape_and_wait("start window")
            return
        self.start_program()
        start = self.window_of_size(START_WINDOW_SIZE, "start window")
        self.check_focus(start, "start window")
        cover = d.start("cover", ["xmessage", "-name", "numerillo-desktop-cover", "-geometry",
                                  "%dx%d+0+0" % SCREEN, "cover"])
        covered = poll(lambda: not d.focus_is_in(start) and not self.on_top(start),
                       FOCUS_SECONDS)
        self.checks.record("covered", covered, "a window of the screen's size over the start "
                           "window, with the focus")
        self.start_again("covered")
        self.check_focus(start, "start window after the second start")
        self.checks.record("on top", poll(lambda: self.on_top(start), FOCUS_SECONDS),
                           "_NET_CLIENT_LIST_STACKING = %s"
                           % d.prop("root", "_NET_CLIENT_LIST_STACKING"))
        d.stop(cover)

        # Minimised, where the window manager minimises it at all.
        skip = "_NET_WM_STATE_SKIP_TASKBAR"

        def state():
            return d.prop(start, "_NET_WM_STATE") or []

        def state_once_skipping(skips):
            """_NET_WM_STATE once the program has (or has not) taken the window out of the task
            bar, as `skips` says, or FOCUS_SECONDS on."""
            poll(lambda: (skip in state()) == skips, FOCUS_SECONDS)
            return state()

        d.run("xdotool", "windowminimize", str(start))
        if poll(lambda: "_NET_WM_STATE_HIDDEN" in state(), FOCUS_SECONDS):
            # The program answers the window manager's HIDDEN with its own change of state.
            minimised = state_once_skipping(False)
            self.checks.record("minimised in task bar", skip not in minimised,
                               "minimised: _NET_WM_STATE = %s" % minimised)
            self.start_again("minimised")
            self.check_focus(start, "start window restored by the second start")
            restored = state_once_skipping(True)
            self.checks.record("restored out of task bar", skip in restored,
                               "restored: _NET_WM_STATE = %s" % restored)
        else:
            self.checks.note("minimise", "the window manager does not minimise the window")
        self.press_escape_and_wait("start window")

    def check_typing(self, look, client_area):
        """Types digits, then looks for them in the first answer box and not in the second:
        look() takes a picture, client_area(picture) is the quiz window's client area in it."""
        def area():
            image = look()
            return client_area(image) if image is not None else None

        # The window as drawn before typing, with the first box empty but for the text cursor:
        # one not drawn yet (black, as a compositor shows it at first) would pass for one with
        # digits in it, and one that a compositor still shows growing or fading in has its boxes
        # elsewhere. Two looks in a row agree but for the cursor blinking in the box.
        last = [None]

        def drawn_and_empty():
            image = area()
            steady = (image is not None and last[0] is not None
                      and changed_box(*blank(TXT1, last[0], image)) is None)
            last[0] = image
            return image if steady and dark_columns(image, TXT1) <= 2 else None

        before = poll(drawn_and_empty, PIXELS_SECONDS)
        if before is None:
            self.checks.record("typing", False, "the quiz window did not hold still with its "
                               "first answer box empty before typing")
            return
        self.desktop.run_input("xdotool", "type", TYPED_DIGITS)
        image = [None]

        def digits_shown():
            image[0] = area()
            return image[0] is not None and dark_columns(image[0], TXT1) >= 6

        poll(digits_shown, PIXELS_SECONDS)
        if image[0] is None:
            self.checks.record("typing", False, "could not read the quiz window's pixels")
            return
        in_txt1 = dark_columns(image[0], TXT1)
        in_txt2 = dark_columns(image[0], TXT2)
        self.checks.record("typing", in_txt1 >= 6 and in_txt2 == 0,
                           "typed %s: columns with dark pixels in txt1 %d (before %d), in txt2 %d"
                           % (TYPED_DIGITS, in_txt1, dark_columns(before, TXT1), in_txt2))

    # --- a native Wayland window, seen only on the compositor's screen ---

    def wayland_window(self, background, size, what):
        """The outer Rect of the program's window with client area `size`, as the compositor's
        screen shows it: what differs from the background, once it holds still at a size that
        fits. Qt draws the frame itself on Wayland."""
        last = [None]

        def settled():
            if self.program.poll() is not None:
                raise CheckFailed("the program ended (status %s) before its %s appeared:\n%s"
                                  % (self.program.returncode, what, self.desktop.log("numerillo")))
            screen = self.desktop.nested_screen()
            box = changed_box(*hide_parked_pointer(background, screen)) if screen else None
            fits = box is not None and client_in_frame(box, size) is not None
            stable = fits and box == last[0]
            last[0] = box
            return box if stable else None

        box = poll(settled, WINDOW_SECONDS)
        if box is None:
            raise CheckFailed("no %s with a client area of %dx%d showed on the compositor's "
                              "screen; what changed there: %s" % ((what,) + size + (last[0],)))
        client = client_in_frame(box, size)
        dx, dy = centring_offsets(SCREEN, box)
        self.checks.note("%s placement" % what,
                         "outer %dx%d at (%d,%d), client area at (%d,%d): offset from the centre "
                         "left %+.1f top %+.1f px (the compositor places Wayland windows)"
                         % (box.width, box.height, box.x, box.y, client.x, client.y, dx, dy))
        return box

    def check_not_on_xwayland(self):
        """A Wayland client has no X11 windows: none of the program's on Xwayland."""
        if self.platform == "wayland-only":
            return
        windows = self.desktop.visible_windows("--pid", str(self.program.pid))
        self.checks.record("native wayland", not windows,
                           "the program's viewable windows on Xwayland: %s"
                           % (", ".join("0x%x" % w for w in windows) or "none"))

    def wayland_background(self):
        """The compositor's screen before the program starts, once it holds still (the probe
        window's closing may still be on show), but for the level or two that its background
        differs each time it is drawn. A compositor kept waiting by a busy machine shows the
        probe a while after it has gone, so still means still for STILL_SECONDS."""
        self.desktop.park_pointer()
        last = [None, time.monotonic()]

        def still():
            screen = self.desktop.nested_screen()
            if screen is None or last[0] is None or changed_box(last[0], screen):
                last[:] = [screen, time.monotonic()]
                return None
            return screen if time.monotonic() - last[1] >= STILL_SECONDS else None

        background = poll(still, WM_SETTLE_SECONDS)
        if background is None:
            raise SetupFailed("the compositor's screen did not hold still")
        return background

    def wayland_start(self):
        background = self.wayland_background()
        self.start_program()
        self.wayland_window(background, START_WINDOW_SIZE, "start window")
        self.check_not_on_xwayland()
        self.press_escape_and_wait("start window")

    def wayland_quiz(self):
        d = self.desktop
        background = self.wayland_background()
        self.start_program()
        start = client_in_frame(self.wayland_window(background, START_WINDOW_SIZE,
                                                    "start window"), START_WINDOW_SIZE)
        self.check_not_on_xwayland()
        x, y = CMDCOMINCIA.centre()
        # The pointer stays where it clicked, within the quiz window to come.
        d.click(start.x + x, start.y + y, x11=False)
        # Found only once nothing but the quiz window differs from the background: the start
        # window has gone by then.
        box = self.wayland_window(background, QUIZ_WINDOW_SIZE, "quiz window")
        quiz = client_in_frame(box, QUIZ_WINDOW_SIZE)
        self.check_typing(d.nested_screen, lambda image: crop(image, quiz))
        self.press_escape_and_wait("quiz window")


# Values as a failed case shows them: short, with long byte strings cut in the middle.
SHORT = reprlib.Repr()
SHORT.maxother = SHORT.maxstring = 80


def failed_cases(name, function, cases):
    """Calls function(*arguments) for each (arguments, expected) of cases, prints each case whose
    result differs, and returns how many did."""
    failures = 0
    for arguments, expected in cases:
        got = function(*arguments)
        if got != expected:
            failures += 1
            print("%s%s = %s, expected %s"
                  % (name, SHORT.repr(arguments), SHORT.repr(got), SHORT.repr(expected)))
    return failures


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
    failures += failed_cases(
        "motif_offers", lambda hints: {name for name, yes in motif_offers(hints).items() if yes},
        [((hints,), expected) for hints, expected in motif_cases])
    xprop_cases = [
        ("_NET_WM_STATE(ATOM) = _NET_WM_STATE_SKIP_TASKBAR, _NET_WM_STATE_FOCUSED\n",
         ["_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_FOCUSED"]),
        ("_NET_FRAME_EXTENTS(CARDINAL) = 1, 1, 20, 1\n", ["1", "1", "20", "1"]),
        ("_NET_WM_STATE:  not found.\n", None),
        ("_NET_WM_STATE(ATOM) =\n", []),
        ('_NET_WM_NAME(UTF8_STRING) = "Numerillo"\n', ["Numerillo"]),
        ("_NET_SUPPORTING_WM_CHECK(WINDOW): window id # 0x20020b\n", ["0x20020b"]),
    ]
    failures += failed_cases("parse_xprop", parse_xprop,
                             [((text,), expected) for text, expected in xprop_cases])
    # (screen, outer rectangle, expected offsets)
    failures += failed_cases("centring_offsets", centring_offsets, [
        (((1280, 1024), Rect(306, 335, 668, 354)), (0.0, 0.0)),
        (((1280, 1024), Rect(307, 326, 667, 353)), (0.5, -9.5)),
        (((1280, 1024), Rect(308, 309, 665, 369)), (0.5, -18.5)),
    ])
    # A 10x10 white image with a dark 2x4 block at (5,3) and a dark pixel at (1,1).
    pixels = bytearray(b"\xff" * 300)
    for y in range(3, 7):
        for x in (5, 6):
            pixels[(y * 10 + x) * 3:(y * 10 + x) * 3 + 3] = b"\x10\x10\x10"
    pixels[33:36] = b"\x00\x00\x00"
    image = parse_ppm(b"P6\n# made here\n10 10\n255\n" + bytes(pixels))
    # (rectangle, inset, expected dark columns)
    failures += failed_cases("dark_columns", lambda rect, inset: dark_columns(image, rect, inset), [
        ((Rect(0, 0, 10, 10), 0), 3), ((Rect(0, 0, 10, 10), 2), 2),
        ((Rect(0, 0, 5, 10), 0), 1), ((Rect(7, 0, 3, 10), 0), 0),
    ])
    # What changed between two images: the 2x4 block and the pixel, then nothing.
    white = (10, 10, b"\xff" * 300)
    box_cases = [((white, image), Rect(1, 1, 6, 6)), ((image, image), None),
                 ((white, crop(image, Rect(0, 0, 10, 10))), Rect(1, 1, 6, 6)),
                 ((crop(white, Rect(4, 2, 4, 6)), crop(image, Rect(4, 2, 4, 6))),
                  Rect(1, 1, 2, 4))]
    # A level or two off, as a background drawn again: no change; one pixel far off: a change.
    shaded = bytearray(b"\xfd" * 300)
    off = bytearray(shaded)
    off[(2 * 10 + 3) * 3 + 1] = 0xe0
    box_cases += [((white, (10, 10, bytes(shaded))), None),
                  ((white, (10, 10, bytes(off))), Rect(3, 2, 1, 1))]
    # Blanking a part leaves only the rest to compare.
    box_cases += [(blank(Rect(0, 0, 7, 7), white, image), None),
                  (blank(Rect(0, 0, 6, 10), white, image), Rect(6, 3, 1, 4))]
    failures += failed_cases("changed_box", changed_box, box_cases)
    # A frame drawn by the program: a title bar and even borders elsewhere.
    failures += failed_cases("client_in_frame", client_in_frame, [
        ((Rect(100, 50, 671, 368), (665, 332)), Rect(103, 83, 665, 332)),
        ((Rect(0, 0, 665, 332), (665, 332)), Rect(0, 0, 665, 332)),
        ((Rect(0, 0, 670, 368), (665, 332)), None),
        ((Rect(0, 0, 660, 368), (665, 332)), None),
        ((Rect(0, 0, 675, 336), (665, 332)), None),
    ])
    failures += failed_cases("numbered_title", numbered_title, [
        (("Numerillo",), False), (("Numerillo <2>",), True), (("Numerillo <2>\u200e",), True),
        (("",), False), ((None,), False), (("3 <x> 4",), False),
    ])
    log = ("libmutter-Message: 03:24:04.015: Using public X11 display :1, (using :2 for managed "
           "services)\nlibmutter-Message: 03:24:04.015: Using Wayland display name 'wayland-0'\n")
    failures += failed_cases("nested_displays", nested_displays, [
        ((log,), (":1", "wayland-0")), ((log.splitlines()[0],), (":1", None)),
        (("",), (None, None)),
    ])
    dump = ("kwin_core: DISPLAY=:9\nsession display: DISPLAY=:1\nsession display: "
            "WAYLAND_DISPLAY=wayland-0\nsession display: XAUTHORITY=\n")
    failures += failed_cases("announced_displays", announced_displays, [
        ((dump,), (":1", "wayland-0", None)),
        ((dump.replace("XAUTHORITY=", "XAUTHORITY=/r/x"),), (":1", "wayland-0", "/r/x")),
        (("kwin_core: something\n",), (None, None, None)),
    ])
    environ = b"HOME=/h\0%s=abc\0%s=1\0" % (SESSION_MARKER.encode(), PROGRAM_MARKER.encode())
    failures += failed_cases("environ_has", lambda name, value: environ_has(environ, name, value), [
        ((SESSION_MARKER, "abc"), True), ((SESSION_MARKER, "ab"), False),
        ((PROGRAM_MARKER, "1"), True), (("HOME", "/"), False),
    ])
    failures += failed_cases("parse_xprop_many", parse_xprop_many, [
        (('_NET_WM_NAME(UTF8_STRING) = "Numerillo"\n'
          "_NET_WM_VISIBLE_NAME:  not found.\n"
          "_NET_WM_STATE(ATOM) = _NET_WM_STATE_SKIP_TASKBAR\n",),
         {"_NET_WM_NAME": ["Numerillo"], "_NET_WM_VISIBLE_NAME": None,
          "_NET_WM_STATE": ["_NET_WM_STATE_SKIP_TASKBAR"]}),
    ])
    print("self-test: %d failure(s)" % failures)
    return 1 if failures else 0


def run_session(args, marker, work, checks):
    """The session itself: set up, the scenario, clean-up. Runs in the private PID namespace
    where there is one."""
    _become_subreaper()
    began = time.monotonic()
    if os.getpid() == 1:  # the first process of the session's own namespaces
        work = make_tmp_private(work, keep=(args.program, __file__))
    wm = WINDOW_MANAGERS[args.wm]
    desktop = Desktop(work, marker, wm)
    session = None
    try:
        desktop.start_xvfb()
        settle = time.monotonic()
        _, probes = desktop.start_window_manager()
        print("%s managing after %.2f s (%d probe window%s)"
              % (args.wm, time.monotonic() - settle, probes, "s" if probes > 1 else ""))
        # The panel where the program's windows are X11 windows, which can place themselves: on
        # Wayland itself the checks go by what changes on the screen, which the panel would be.
        if wm.panel and args.platform == "auto":
            desktop.start_panel()
        session = Session(desktop, args.platform, args.program, checks)
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
        if session:
            session.finish()
        strays = desktop.stop_all()
        for text in strays.values():
            checks.note("ended at clean-up", text)
        if checks.failed:
            for name in ("numerillo", "wm"):
                log = desktop.log(name).strip()
                if log:
                    print("%s output:\n%s" % ("program" if name == "numerillo" else name,
                                               log[-4000:]))
    print("%s: %d checks held, %d did not%s; %.1f s"
          % (checks.label, checks.held, len(checks.failed),
             " (" + ", ".join(checks.failed) + ")" if checks.failed else "",
             time.monotonic() - began), flush=True)
    return 1 if checks.failed else 0


def child_pids(pid):
    try:
        with open("/proc/%d/task/%d/children" % (pid, pid)) as f:
            return [int(p) for p in f.read().split()]
    except (OSError, ValueError):
        return []


def run_contained(args, checks):
    """Runs the session in a child (in its own PID namespace where one can be made), then makes
    sure that nothing of it is left: no process carrying its marker."""
    marker = uuid.uuid4().hex
    work = tempfile.mkdtemp(prefix="numerillo-desktop-")
    env = dict(os.environ, **{SESSION_MARKER: marker})
    command = [sys.executable, os.path.abspath(__file__), "--inner", work,
               "--program", args.program, "--wm", args.wm, "--platform", args.platform,
               "--scenario", args.scenario]
    contained = pid_namespace_available()
    if contained:
        command = UNSHARE + command
    print("session %s, %s" % (marker, "in its own PID namespace" if contained
                              else "no PID namespace to be had here"), flush=True)
    child = subprocess.Popen(command, env=env, stdin=subprocess.DEVNULL,
                             preexec_fn=_die_with_parent)
    try:
        status = child.wait()
    finally:
        if child.poll() is None:
            # unshare waits for its child without passing signals on: the session's first
            # process is told to end itself, with its clean-up.
            for pid in [child.pid] + child_pids(child.pid):
                try:
                    os.kill(pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
            try:
                child.wait(10)
            except subprocess.TimeoutExpired:
                child.kill()
                child.wait()
        survivors = session_processes(marker)
        for pid in survivors:
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        checks.record("nothing left running", not survivors,
                      "; ".join(survivors.values()) or "no process of the session survived it")
        shutil.rmtree(work, ignore_errors=True)
    return 1 if status or survivors else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--program")
    parser.add_argument("--wm", choices=sorted(WINDOW_MANAGERS))
    parser.add_argument("--platform", choices=PLATFORMS, default="auto")
    parser.add_argument("--scenario", choices=("start", "quiz", "again"))
    parser.add_argument("--self-test", action="store_true")
    parser.add_argument("--inner", metavar="WORK", help=argparse.SUPPRESS)
    args = parser.parse_args()
    if args.self_test:
        return self_test()
    if not (args.program and args.wm and args.scenario):
        parser.error("--program, --wm and --scenario are needed")
    wm = WINDOW_MANAGERS[args.wm]
    if args.platform != "auto" and not wm.nested:
        parser.error("--platform %s needs a Wayland session" % args.platform)

    tools = dict(COMMON_TOOLS, **wm.tools)
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

    label = "%s%s %s" % (args.wm, "" if args.platform == "auto" else " " + args.platform,
                         args.scenario)
    checks = Checks(label)
    if args.inner:
        return run_session(args, os.environ[SESSION_MARKER], args.inner, checks)
    return run_contained(args, checks)


if __name__ == "__main__":
    sys.exit(main())
