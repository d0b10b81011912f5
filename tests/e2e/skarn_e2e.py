"""The real program as a user meets it, for end-to-end tests.

A Desktop is an X server (Xvfb), a session bus and an accessibility bus of the
test's own; a Program is skarn-config installed into a scratch folder (a copy
of the executable beside a copy of its modules/) and started on that desktop
with --virtual-mouse and --hid-trace. Controls are found in the accessibility
tree by name and role, clicked at their centre with xdotool, and the HID trace
is read back; Quit in the tray menu ends the program. Screenshots are taken
with xwd and written as PNG by the small encoder below, so no image library is
needed.

pyatspi is imported only once the desktop's variables are set: libatspi finds
its bus when it is first used, and keeps it, so one process drives one Desktop.
"""

import importlib.util
import os
import shutil
import signal
import struct
import subprocess
import sys
import time
import zlib

# What a run needs besides the program; missing ones make the test skip.
TOOLS = ("Xvfb", "dbus-daemon", "dbus-send", "xdotool", "xwd")
BUS_LAUNCHERS = ("/usr/libexec/at-spi-bus-launcher", "/usr/lib/at-spi2-core/at-spi-bus-launcher")


# ctest's SKIP_RETURN_CODE for the scenarios.
SKIP = 77


class Failure(Exception):
    """A step of a scenario did not happen; the message says what was seen."""


class Skipped(Exception):
    """The scenario cannot run yet (a control it needs is not there); the
    test counts as skipped."""


def roles(*names):
    """The AT-SPI roles of the given names ("PUSH_BUTTON", ...)."""
    import pyatspi  # pylint: disable=import-outside-toplevel
    return tuple(getattr(pyatspi, "ROLE_" + n) for n in names)


def run(argv, usage, scenario, tray=True):
    """The command line every scenario shares: EXECUTABLE ARTEFACT-FOLDER.
    Runs scenario(desktop, executable, artefacts) on a desktop of its own and
    gives the exit code: 0 passed, 1 failed, SKIP when this machine lacks a
    requirement or the scenario is not ready, 2 for a wrong command line.
    Without tray the desktop has no notification area."""
    if len(argv) != 3:
        print(usage, file=sys.stderr)
        return 2
    executable, artefacts = os.path.abspath(argv[1]), os.path.abspath(argv[2])
    missing = missing_requirements()
    if missing:
        print("skipped: this machine lacks " + ", ".join(missing))
        return SKIP
    artefacts = scratch_folder(os.path.dirname(artefacts), os.path.basename(artefacts))
    try:
        with Desktop(scratch_folder(artefacts, "desktop"), tray=tray) as desktop:
            scenario(desktop, executable, artefacts)
    except Skipped as skipped:
        print("skipped:", skipped)
        return SKIP
    except Failure as failure:
        print("FAILED:", failure, file=sys.stderr)
        print("artefacts:", artefacts, file=sys.stderr)
        return 1
    return 0


def missing_requirements():
    """Names of what a run needs and this machine lacks (empty when complete)."""
    missing = [tool for tool in TOOLS if shutil.which(tool) is None]
    if bus_launcher() is None:
        missing.append("at-spi-bus-launcher (at-spi2-core)")
    if importlib.util.find_spec("pyatspi") is None:
        missing.append("pyatspi (python3-pyatspi)")
    return missing


def bus_launcher():
    return next((p for p in BUS_LAUNCHERS if os.access(p, os.X_OK)), None)


def wait_until(what, timeout, interval=0.1):
    """Polls what() until it returns something true; returns it, or None at the timeout."""
    deadline = time.monotonic() + timeout
    while True:
        result = what()
        if result:
            return result
        if time.monotonic() >= deadline:
            return None
        time.sleep(interval)


def _start(args, env, log, **kwargs):
    # Each helper leads its own process group, so that stopping it also stops
    # what it started (the accessibility bus launcher starts a bus daemon).
    return subprocess.Popen(args, env=env, stdout=log, stderr=subprocess.STDOUT, start_new_session=True, **kwargs)


def _stop(process, timeout=5):
    if process is None or process.poll() is not None:
        return
    try:
        os.killpg(process.pid, signal.SIGTERM)
    except ProcessLookupError:
        return
    try:
        process.wait(timeout)
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        process.wait()


class Desktop:
    """Xvfb, a private session bus with a notification-area host on it (unless
    tray is false), and the accessibility bus; torn down on exit."""

    def __init__(self, folder, screen="2400x1500x24", tray=True):
        self.folder = folder
        self.screen = screen
        self.tray = tray
        self.env = None
        self._processes = []

    def __enter__(self):
        try:
            self._start()
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def __exit__(self, *exc):
        for process in reversed(self._processes):
            _stop(process)
        self._processes = []

    def _log(self, name):
        return open(os.path.join(self.folder, name + ".log"), "wb")  # pylint: disable=consider-using-with

    def _start(self):
        env = dict(os.environ)
        for name in ("DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS"):
            env.pop(name, None)
        runtime = os.path.join(self.folder, "runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        env["XDG_RUNTIME_DIR"] = runtime

        # Xvfb names its display on the descriptor it is given once it
        # listens. Without -noreset it would reset whenever its last client
        # leaves, refusing connections meanwhile.
        read_end, write_end = os.pipe()
        with self._log("xvfb") as log:
            xvfb = _start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", self.screen, "-nolisten", "tcp",
                           "-noreset"], env, log, pass_fds=(write_end,))
        self._processes.append(xvfb)
        os.close(write_end)
        with os.fdopen(read_end, "rb") as pipe:
            number = pipe.readline().strip().decode()
        if not number:
            raise Failure("Xvfb did not start (see xvfb.log)")
        env["DISPLAY"] = ":" + number
        if subprocess.run(["xdotool", "getdisplaygeometry"], env=env, capture_output=True, check=False).returncode:
            raise Failure("the X server on %s takes no clients (see xvfb.log)" % env["DISPLAY"])

        with self._log("session-bus") as log:
            bus = subprocess.Popen(  # pylint: disable=consider-using-with
                ["dbus-daemon", "--session", "--nofork", "--nopidfile", "--print-address=1"],
                env=env, stdout=subprocess.PIPE, stderr=log, start_new_session=True)
        self._processes.append(bus)
        address = bus.stdout.readline().strip().decode()
        if not address:
            raise Failure("the session bus did not start (see session-bus.log)")
        env["DBUS_SESSION_BUS_ADDRESS"] = address

        # A panel's notification-area host, so that the tray menu (and its
        # Quit) is on the bus.
        if self.tray:
            self._start_tray_host(env)

        with self._log("a11y-bus") as log:
            self._processes.append(_start([bus_launcher(), "--launch-immediately"], env, log))

        # Asked without activating it: the session bus would start a second
        # launcher of its own.
        def bus_answers():
            probe = subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus", "/",
                                    "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.Bus"],
                                   env=env, capture_output=True, check=False)
            return probe.returncode == 0 and b"boolean true" in probe.stdout

        if not wait_until(bus_answers, 10, 0.1):
            raise Failure("the accessibility bus did not start (see a11y-bus.log)")

        # Ours and the program's: libatspi and Qt find the buses through these.
        os.environ.update({k: env[k] for k in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR")})
        self.env = env

    def _start_tray_host(self, env):
        with self._log("tray-host") as log:
            host = subprocess.Popen(  # pylint: disable=consider-using-with
                [sys.executable, os.path.join(os.path.dirname(os.path.abspath(__file__)), "tray_host.py")],
                env=env, stdout=subprocess.PIPE, stderr=log, start_new_session=True)
        self._processes.append(host)
        if host.stdout.readline().strip() != b"ready":
            raise Failure("the tray host did not start (see tray-host.log)")

    def run(self, args, timeout=30):
        """Runs a client of this desktop to its end; its output is captured."""
        try:
            return subprocess.run(args, env=self.env, capture_output=True, check=False, timeout=timeout)
        except subprocess.TimeoutExpired as expired:
            raise Failure("%s did not end within %d s" % (" ".join(args), timeout)) from expired

    def click(self, x, y):
        """A left click at screen position (x, y), after the pointer has moved there."""
        # Without --sync, which waits for ever when the pointer is already
        # there; the server handles the move before the click anyway.
        result = self.run(["xdotool", "mousemove", str(x), str(y), "sleep", "0.1", "click", "1"])
        if result.returncode != 0:
            raise Failure("xdotool could not click at (%d, %d): %s" % (x, y, result.stderr.decode(errors="replace")))

    def screenshot(self, path, box=None):
        """The screen, or the part box = (x, y, width, height) of it, as a PNG
        file at path; returns the image."""
        result = self.run(["xwd", "-root", "-silent"])
        if result.returncode != 0:
            raise Failure("xwd failed: " + result.stderr.decode(errors="replace"))
        width, height, rows = xwd_to_rgb(result.stdout)
        if box is not None:
            x, y, w, h = box
            x0, y0 = max(0, x), max(0, y)
            x1, y1 = min(width, x + w), min(height, y + h)
            if x1 <= x0 or y1 <= y0:
                raise Failure("the area %r is off the %dx%d screen" % (box, width, height))
            rows = [row[3 * x0:3 * x1] for row in rows[y0:y1]]
            width, height = x1 - x0, y1 - y0
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as out:
            out.write(rgb_to_png(width, height, rows))
        return Image(path, width, height, rows)


class Image:
    """A screenshot: where it was saved, its size, its rows of RGB bytes."""

    def __init__(self, path, width, height, rows):
        self.path, self.width, self.height, self.rows = path, width, height, rows

    def colours(self, step=4):
        """How many colours a grid of every step-th pixel shows."""
        seen = set()
        for row in self.rows[::step]:
            seen.update(row[i:i + 3] for i in range(0, len(row), 3 * step))
        return len(seen)


def xwd_to_rgb(data):
    """Width, height and rows of RGB bytes of an XWD image of a TrueColor or
    DirectColor screen with 8 bits a channel (the X server may store 3 or 4
    bytes a pixel)."""
    fields = struct.unpack(">25I", data[:100])
    header_size, version = fields[0], fields[1]
    width, height, byte_order = fields[4], fields[5], fields[7]
    bits_per_pixel, bytes_per_line, visual_class = fields[11], fields[12], fields[13]
    masks, ncolors = fields[14:17], fields[19]
    shifts = [(mask & -mask).bit_length() - 1 for mask in masks]
    step = bits_per_pixel // 8
    if version != 7 or visual_class not in (4, 5) or step not in (3, 4) or \
            any(mask >> shift != 0xFF or shift % 8 for mask, shift in zip(masks, shifts)):
        raise Failure("unsupported XWD image (version %d, visual class %d, %d bits a pixel, masks %r)" %
                      (version, visual_class, bits_per_pixel, masks))
    # Where each channel's byte sits within a pixel.
    offsets = [shift // 8 if byte_order == 0 else step - 1 - shift // 8 for shift in shifts]
    # A DirectColor screen maps each channel through the colour map, which
    # follows the header: pixel (4 bytes), red, green, blue (2 bytes each),
    # flags, padding.
    tables = [None, None, None]
    if visual_class == 5 and ncolors >= 256:
        colors = [struct.unpack(">IHHHBx", data[header_size + 12 * i:header_size + 12 * (i + 1)])
                  for i in range(ncolors)]
        tables = []
        for k, (mask, shift) in enumerate(zip(masks, shifts)):
            table = bytearray(range(256))
            for color in colors:
                table[(color[0] & mask) >> shift] = color[1 + k] >> 8
            tables.append(bytes(table))
    pixels = header_size + 12 * ncolors
    rows = []
    for y in range(height):
        line = data[pixels + y * bytes_per_line:pixels + y * bytes_per_line + width * step]
        row = bytearray(width * 3)
        for channel in range(3):
            values = line[offsets[channel]::step]
            row[channel::3] = values.translate(tables[channel]) if tables[channel] else values
        rows.append(bytes(row))
    return width, height, rows


def rgb_to_png(width, height, rows):
    """A PNG file (8-bit RGB, no filtering) of rows of RGB bytes."""
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    raw = b"".join(b"\0" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))


def frame(command, *arguments):
    """A command frame as the trace shows a feature report: report id 0, the
    command byte, six argument bytes, and the checksum that makes the eight
    bytes after the report id add up to 0xFF."""
    body = [command] + list(arguments) + [0] * (6 - len(arguments))
    body.append((0xFF - sum(body)) & 0xFF)
    return " ".join("%02x" % b for b in [0] + body)


class Trace:
    """The HID trace the program writes: lines 'time channel operation bytes…'."""

    def __init__(self, path):
        self.path = path

    def lines(self):
        try:
            with open(self.path, encoding="ascii", errors="replace") as f:
                return [line.rstrip("\n") for line in f if line.strip()]
        except FileNotFoundError:
            return []

    def sent_frames(self):
        """The command frames sent so far, in order."""
        result = []
        for line in self.lines():
            parts = line.split(" ", 3)
            if len(parts) == 4 and parts[1] == "cmd" and parts[2] == "set_feature":
                result.append(parts[3])
        return result

    def writes_after(self, select, size):
        """For each command frame that select(bytes) picks, oldest first: the
        frame's bytes and the first size bytes of the data writes after it
        (without their report ids); frames followed by fewer are left out."""
        found, current = [], None
        for line in self.lines():
            parts = line.split(" ", 3)
            if len(parts) != 4 or parts[1] != "cmd":
                continue
            data = [int(b, 16) for b in parts[3].split()]
            if parts[2] == "set_feature":
                current = (data, []) if select(data) else None
                if current is not None:
                    found.append(current)
            elif parts[2] == "write" and current is not None and len(current[1]) < size:
                current[1].extend(data[1:])
        return [(frame, body[:size]) for frame, body in found if len(body) >= size]

    def tail(self, count=15):
        """The last lines, without the listener's idle read time-outs."""
        return "\n".join([line for line in self.lines() if not line.endswith("evt read-timeout")][-count:])


class Program:
    """skarn-config on the virtual mouse, from a scratch installation. quit()
    ends it as a user would; one still running at the end of the with block
    gets SIGTERM."""

    def __init__(self, desktop, executable, folder, extra_env=None, arguments=()):
        self.desktop = desktop
        install = os.path.join(folder, "app")
        os.makedirs(install, exist_ok=True)
        # The program reads the modules/ beside its executable (the resolved
        # one, so a symbolic link would not do).
        self.executable = os.path.join(install, "skarn-config")
        shutil.copy2(executable, self.executable)
        shutil.copytree(os.path.join(os.path.dirname(executable), "modules"), os.path.join(install, "modules"),
                        ignore=shutil.ignore_patterns("qml"))
        self.trace = Trace(os.path.join(folder, "hid.trace"))
        self.log_path = os.path.join(folder, "program.log")
        env = dict(desktop.env)
        env.update({"QT_QPA_PLATFORM": "xcb", "QT_ACCESSIBILITY": "1", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"})
        env.pop("QT_SCALE_FACTOR", None)
        env.update(extra_env or {})
        runtime = os.path.join(folder, "runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        env["XDG_RUNTIME_DIR"] = runtime
        with open(self.log_path, "wb") as log:
            self.process = _start([self.executable, "--virtual-mouse", "--hid-trace", self.trace.path] +
                                  list(arguments), env, log, cwd=folder)
        self._app = None

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()

    def stop(self):
        """Ends the program if it still runs (SIGTERM)."""
        _stop(self.process)

    def quit(self, timeout=15):
        """Chooses Quit in the tray menu, as a user would in the panel, and
        waits for the program to end; fails unless it ends with code 0."""
        from gi.repository import Gio, GLib  # pylint: disable=import-outside-toplevel
        bus = Gio.DBusConnection.new_for_address_sync(
            self.desktop.env["DBUS_SESSION_BUS_ADDRESS"],
            Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)

        def call(service, path, interface, method, arguments, reply):
            return bus.call_sync(service, path, interface, method, arguments, GLib.VariantType(reply),
                                 Gio.DBusCallFlags.NONE, 5000, None).unpack()

        def get(service, path, interface, name):
            return call(service, path, "org.freedesktop.DBus.Properties", "Get", GLib.Variant("(ss)", (interface, name)),
                        "(v)")[0]

        try:
            items = get("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher", "org.kde.StatusNotifierWatcher",
                        "RegisteredStatusNotifierItems")
            # An item is a bus name (the program's own or its unique one),
            # perhaps followed by an object path; those of programs that have
            # ended stay listed.
            def pid_of(item):
                try:
                    return call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                "GetConnectionUnixProcessID", GLib.Variant("(s)", (item.split("/")[0],)), "(u)")[0]
                except GLib.Error:
                    return None

            ours = [i for i in items if pid_of(i) == self.process.pid]
            if not ours:
                raise Failure("the program has no tray icon (items on the bus: %r)" % (items,))
            service = ours[0]
            menu = get(service, "/StatusNotifierItem", "org.kde.StatusNotifierItem", "Menu")
            layout = call(service, menu, "com.canonical.dbusmenu", "GetLayout", GLib.Variant("(iias)", (0, -1, [])),
                          "(u(ia{sv}av))")[1]
            entry = _menu_entry(layout, "Quit")
            if entry is None:
                raise Failure("the tray menu has no Quit: %r" % (layout,))
            call(service, menu, "com.canonical.dbusmenu", "Event",
                 GLib.Variant("(isvu)", (entry, "clicked", GLib.Variant("i", 0), 0)), "()")
        except GLib.Error as error:
            raise Failure("the tray menu did not answer: %s" % error.message) from error
        finally:
            bus.close_sync(None)
        try:
            code = self.process.wait(timeout)
        except subprocess.TimeoutExpired as expired:
            raise Failure("the program did not end within %d s of Quit:\n%s" % (timeout, self.output())) from expired
        if code != 0:
            raise Failure("the program ended with %d after Quit:\n%s" % (code, self.output()))

    def values_in_binary_form(self):
        """Lines of the program's data files that hold a value in Qt's binary
        form ("@Variant(...)"): what the settings write for a value they
        cannot store as text, such as a script value. The shipped files have
        none."""
        found = []
        data = os.path.join(os.path.dirname(self.executable), "modules")
        for folder, _, names in os.walk(data):
            for name in sorted(names):
                path = os.path.join(folder, name)
                with open(path, encoding="utf-8", errors="replace") as f:
                    found += ["%s: %s" % (os.path.relpath(path, data), line.strip()) for line in f if "=@Variant(" in line]
        return found

    def output(self):
        with open(self.log_path, encoding="utf-8", errors="replace") as f:
            return f.read()

    # The accessibility tree

    def application(self):
        """The program's accessible application, once it has registered."""
        import pyatspi  # pylint: disable=import-outside-toplevel
        if self._app is None:
            desktop = pyatspi.Registry.getDesktop(0)
            for i in range(desktop.childCount):
                app = desktop.getChildAtIndex(i)
                try:
                    if app is not None and app.get_process_id() == self.process.pid:
                        self._app = app
                except Exception:  # pylint: disable=broad-except
                    continue  # an application that went away while we looked
        return self._app

    def find_all(self, name, roles=None):
        """Showing accessibles named name, or any of the names when name is a
        tuple (with one of roles, when given)."""
        import pyatspi  # pylint: disable=import-outside-toplevel
        names = name if isinstance(name, tuple) else (name,)
        app = self.application()
        if app is None:
            return []
        app.clear_cache()
        found = []
        for acc in _walk(app):
            try:
                if acc.name in names and (roles is None or acc.getRole() in roles) and \
                        acc.getState().contains(pyatspi.STATE_SHOWING):
                    found.append(acc)
            except Exception:  # pylint: disable=broad-except
                continue
        return found

    def wait_for(self, name, roles=None, timeout=15, pick=None):
        """The one showing accessible named name, once it has stopped moving
        (lists and dialogs may open with an animation); fails with the tree
        when it does not show in time. When more than one shows, pick chooses
        among them (see lowest); without it that fails too."""
        what = "%s named %r" % ("/".join(_role_names(roles)) if roles else "accessible", name)
        last = {}

        def settled():
            found = self.find_all(name, roles) if self._alive() else []
            if len(found) > 1:
                if pick is None:
                    raise Failure("%d showing %ss\n%s" % (len(found), what, self.describe()))
                found = [pick(found)]
            try:
                place = extents(found[0]) if found else None
            except Exception:  # pylint: disable=broad-except
                place = None  # gone while we looked
            previous, last["place"] = last.get("place"), place
            return found[0] if place is not None and place == previous and place[2] > 0 and place[3] > 0 else None

        acc = wait_until(settled, timeout, 0.15)
        if acc is None:
            raise Failure("no showing %s within %d s\n%s" % (what, timeout, self.describe()))
        return acc

    def _alive(self):
        if self.process.poll() is not None:
            raise Failure("the program ended with %s:\n%s" % (self.process.returncode, self.output()))
        return True

    def click(self, acc):
        """Clicks the centre of acc on the screen."""
        x, y, w, h = extents(acc)
        self.desktop.click(x + w // 2, y + h // 2)

    def press(self, name, roles=None, timeout=15, pick=None):
        """Waits for the control and clicks it."""
        self.click(self.wait_for(name, roles, timeout, pick))

    def window_box(self):
        """The screen rectangle (x, y, width, height) of the program's window in
        the screen's pixels, whatever the scale factor."""
        ids = self.desktop.run(["xdotool", "search", "--onlyvisible", "--pid", str(self.process.pid)])
        boxes = []
        for window in ids.stdout.decode().split():
            shell = self.desktop.run(["xdotool", "getwindowgeometry", "--shell", window]).stdout.decode()
            values = dict(line.split("=", 1) for line in shell.split() if "=" in line)
            try:
                boxes.append(tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT")))
            except (KeyError, ValueError):
                continue
        if not boxes:
            raise Failure("the program shows no window\n" + self.describe())
        return max(boxes, key=lambda box: box[2] * box[3])

    def describe(self, limit=400):
        """The accessible tree as indented lines: role, name, place, states."""
        import pyatspi  # pylint: disable=import-outside-toplevel
        app = self.application()
        if app is None:
            return "(the program has not registered on the accessibility bus)"
        app.clear_cache()
        lines = []
        for acc, depth in _walk(app, with_depth=True):
            if len(lines) >= limit:
                lines.append("…")
                break
            # Each part on its own: a hidden item may answer some questions
            # and not others.
            parts = []
            for part in (lambda: acc.getRoleName(), lambda: repr(acc.name),
                         lambda: "%d,%d %dx%d" % extents(acc) if acc is not app else "",
                         lambda: "[%s]" % "".join(c for c, state in (("S", pyatspi.STATE_SHOWING),
                                                                     ("V", pyatspi.STATE_VISIBLE),
                                                                     ("E", pyatspi.STATE_ENABLED))
                                                  if acc.getState().contains(state))):
                try:
                    parts.append(part())
                except Exception as error:  # pylint: disable=broad-except
                    parts.append("(%s)" % type(error).__name__)
            lines.append("  " * depth + " ".join(p for p in parts if p))
        return "\n".join(lines)


def _menu_entry(layout, label):
    """The id of the entry of a D-Bus menu layout (id, properties, children)
    whose label, without its mnemonic marks, starts with label."""
    entry, properties, children = layout
    if properties.get("label", "").replace("_", "").startswith(label):
        return entry
    for child in children:
        found = _menu_entry(child, label)
        if found is not None:
            return found
    return None


def lowest(accessibles):
    """The one placed lowest on the screen, such as a button of a window's
    bottom bar rather than a page's button of the same name."""
    return max(accessibles, key=lambda acc: extents(acc)[1])


def extents(acc):
    """(x, y, width, height) of acc in screen coordinates."""
    import pyatspi  # pylint: disable=import-outside-toplevel
    box = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x, box.y, box.width, box.height


def _walk(root, with_depth=False, max_depth=40):
    stack = [(root, 0)]
    while stack:
        acc, depth = stack.pop()
        yield (acc, depth) if with_depth else acc
        if depth >= max_depth:
            continue
        try:
            children = [acc.getChildAtIndex(i) for i in range(acc.childCount)]
        except Exception:  # pylint: disable=broad-except
            continue
        stack.extend((c, depth + 1) for c in reversed(children) if c is not None)


def _role_names(roles):
    return [str(r).replace("ROLE_", "").lower() for r in roles]


def scratch_folder(parent, name):
    """A new empty folder named name under parent (an older one is removed)."""
    path = os.path.join(parent, name)
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)
    return path
