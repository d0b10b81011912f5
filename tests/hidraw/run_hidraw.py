"""The real HID path on the fake hidraw kernel.

Runs the unmodified skarnctl and skarn-config (no --virtual-mouse) in a
private mount namespace whose /sys is a tmpfs holding the mouse as
fake_hidraw_kernel lays it out, with FakeHidraw's library preloaded in place
of the /dev/hidraw nodes: libudev enumerates, hidapi's hidraw backend opens,
polls, reads, writes and asks its ioctls, and the virtual mouse's firmware
answers on the other end. Each scenario asserts the protocol trace; the
profile change must give the same transfers as the golden traces the virtual
mouse gives (the time column aside, which is real time here).

    run_hidraw.py BIN_DIR PRELOAD GOLDEN_DIR

Exit codes: 0 passed, 1 failed, 77 skipped (not root, or no mount namespace).
"""

import contextlib
import json
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time

BIN, PRELOAD, GOLDEN = (os.path.abspath(a) for a in sys.argv[1:4])
DENIED = "permission denied \u2014 see README, udev rule"
PAGE = [v for b in range(16) for v in ((8, 0, 2, 0) if b == 1 else (0, 0, 0xF0 + b % 3, 0))]
# What the golden traces record (bench/ProfileChange.h), as skarnctl calls.
PROFILE_CHANGE = [
    ["mouseSetKeyMatrix", PAGE, True, [10, 20, 30]],
    ["mouseSetReportRate", 3],
    ["mouseSetDpi", 4, "3360", [400, 800, 1600, 3200, 6000, 6000, 6000, 6000]],
    ["mouseSetRGBEffect", 1, 2, 3],
    ["mouseResetKeyMatrix"],
]
TRANSFERS = ("set_feature", "get_feature", "write", "read")
RUNNING = []  # the processes a failed scenario leaves behind


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(predicate, what, seconds=30.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if predicate():
            return
        time.sleep(0.02)
    raise Failure("timed out waiting for " + what)


def preload_env(exe):
    """LD_PRELOAD for exe: a sanitizer runtime it links must come first."""
    libs = subprocess.run(["ldd", exe], capture_output=True, text=True, check=False).stdout.split("\n")
    runtime = [line.split()[2] for line in libs if "=> /" in line and ("libasan" in line or "libtsan" in line)]
    return " ".join(runtime + [PRELOAD])


def cmd_lines(trace, start=0):
    """The command interface's lines from byte start on, without the time."""
    lines = [line.split(" ", 1)[1] for line in trace[start:].decode().splitlines()]
    return [line for line in lines if line.startswith("cmd ")]


def read(path):
    with open(path, "rb") as f:
        return f.read()


class Kernel:
    """fake_hidraw_kernel on a fresh /sys and a copy of the shipped data."""

    def __init__(self, work, ic_type="553", *options):
        for entry in os.listdir("/sys"):
            path = os.path.join("/sys", entry)
            shutil.rmtree(path) if os.path.isdir(path) and not os.path.islink(path) else os.unlink(path)
        self.data = os.path.join(work, "data")
        shutil.copytree(os.path.join(BIN, "modules"), os.path.join(self.data, "modules"),
                        ignore=shutil.ignore_patterns("qml"))
        config = os.path.join(self.data, "modules", "setting", "apConfig.bin")
        text = read(config).decode()
        with open(config, "w", encoding="utf-8") as f:
            f.write("\n".join(f"icType={ic_type}" if l.startswith("icType=") else l for l in text.split("\n")))
        self.socket = os.path.join(work, "kernel")
        self.process = subprocess.Popen([os.path.join(BIN, "fake_hidraw_kernel"), self.socket, "/sys", self.data,
                                         *options], stdout=subprocess.PIPE, text=True,
                                        env=dict(os.environ, QT_LOGGING_RULES="*.debug=false"))
        RUNNING.append(self.process)
        wait_for(lambda: os.path.exists(self.socket), "the fake kernel's socket")
        self.env = dict(os.environ, SKARN_FAKE_HIDRAW=self.socket, LC_ALL="C", GSETTINGS_BACKEND="memory",
                        HOME=work, XDG_RUNTIME_DIR=work, XDG_DATA_HOME=work, XDG_CONFIG_HOME=work)

    def ask(self, text):
        with socket.socket(socket.AF_UNIX, socket.SOCK_SEQPACKET) as s:
            s.connect(self.socket)
            s.send(text.encode())
            return s.recv(16).decode()

    def press(self, stage):
        wait_for(lambda: self.ask(f"press {stage}") == "ok", "an open event interface")

    def quit(self, strict=True):
        """What the firmware saw; with strict, no protocol error."""
        self.ask("quit")
        report = json.loads(self.process.communicate(timeout=10)[0])
        check(not strict or self.process.returncode == 0, f"the firmware met protocol errors: {report['messages']}")
        return report

    def skarnctl(self, *args, stdin=None):
        exe = os.path.join(BIN, "skarnctl")
        return subprocess.Popen([exe, "--data", self.data, *args], stdin=stdin, stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, env=dict(self.env, LD_PRELOAD=preload_env(exe)))


def ioctl_table(work):
    """The preload's answers to each hidraw ioctl, asked by Python (whose
    open, ioctl and read go through it just as hidapi's do)."""
    kernel = Kernel(work)
    code = r"""
import errno, fcntl, os, struct, sys
def ioc(d, nr, size): return (d << 30) | (size << 16) | (ord('H') << 8) | nr
R, RW = 2, 3
descriptor = open('/sys/class/hidraw/hidraw0/device/report_descriptor', 'rb').read()
name = b'TALVORN SKARN MOUSE R410'
fd = os.open('/dev/hidraw0', os.O_RDWR | os.O_NONBLOCK)
rows = [  # (ioctl, argument, expected result or errno name, expected bytes out)
    (ioc(R, 1, 4), bytes(4), 0, struct.pack('i', len(descriptor))),
    (ioc(R, 2, 4100), struct.pack('I', 4095) + bytes(4096), 0, struct.pack('I', 4095) + descriptor),
    (ioc(R, 2, 4100), struct.pack('I', 5) + bytes(4096), 0, struct.pack('I', 5) + descriptor[:5]),
    (ioc(R, 2, 4100), struct.pack('I', 4096) + bytes(4096), 'EINVAL', None),
    (ioc(R, 3, 8), bytes(8), 0, struct.pack('Ihh', 3, 0x04d9, 0xa1ee - 0x10000)),
    (ioc(R, 4, 64), bytes(64), len(name) + 1, name + b'\0'),
    (ioc(R, 4, 4), bytes(4), 4, name[:4]),
    (ioc(R, 5, 64), bytes(64), 26, b'usb-0000:00:14.0-1/input0\0'),
    (ioc(RW, 0x30, 4), bytes(4), 'ENOTTY', None),
]
for request, arg, result, out in rows:
    buf = bytearray(arg)
    try:
        got = fcntl.ioctl(fd, request, buf, True)
    except OSError as e:
        got = errno.errorcode[e.errno]
    assert got == result, (hex(request), got, result)
    assert out is None or bytes(buf[:len(out)]) == out, (hex(request), bytes(buf[:len(out)]), out)
try:
    os.read(fd, 64)
    raise AssertionError('a read with nothing queued returned')
except BlockingIOError:
    pass
for path, error in (('/dev/hidraw7', errno.ENOENT),):
    try:
        os.open(path, os.O_RDWR)
        raise AssertionError(path + ' opened')
    except OSError as e:
        assert e.errno == error, (path, e)
assert os.access('/dev/hidraw1', os.R_OK | os.W_OK)
os.close(fd)
"""
    result = subprocess.run([sys.executable, "-c", code], env=dict(kernel.env, LD_PRELOAD=PRELOAD),
                            capture_output=True, text=True, check=False)
    check(result.returncode == 0, "the ioctl table:\n" + result.stderr)
    return kernel.quit()["state"]


def profile_change(work, ic_type, *layout):
    """Detection by usage page, a DPI press through the listener, and the
    profile change compared with its golden trace. Returns the number of
    command transfers before the profile change."""
    kernel = Kernel(work, ic_type, *layout)
    trace_file = os.path.join(work, "trace")
    ctl = kernel.skarnctl("--hid-trace", trace_file, "run", stdin=subprocess.PIPE)

    def call(op):
        ctl.stdin.write((json.dumps(op) + "\n").encode())
        ctl.stdin.flush()
        return ctl.stdout.readline().decode().strip()

    check(call(["getGlobalData", "mouse/icType"]) == f'"{ic_type}"', "skarnctl did not answer")
    check(any(l.startswith("cmd get_feature 00 00") for l in cmd_lines(read(trace_file))),
          "no handshake on the command interface")
    kernel.press(3)
    wait_for(lambda: b" evt read 06 07 00 03\n" in read(trace_file), "the DPI press in the listener's trace")
    start = len(read(trace_file))
    for op in PROFILE_CHANGE:
        call(op)
    ctl.stdin.close()
    check(ctl.wait(timeout=60) == 0, "skarnctl failed: " + ctl.stderr.read().decode())
    opens = kernel.quit()["opens"]
    trace = read(trace_file)
    golden = [l.split(" ", 1)[1] for l in read(os.path.join(GOLDEN, f"golden-{ic_type}-gun.trace")).decode().splitlines()]
    got = cmd_lines(trace, start)
    for i, (want, line) in enumerate(zip(golden + [""] * len(got), got + [""] * len(golden))):
        check(want == line, f"golden-{ic_type}-gun.trace line {i + 1}: expected '{want}', got '{line}'")
    nodes = {"plain": {"0", "1"}, "reordered": {"1", "2"}}["reordered" if layout else "plain"]
    check(set(opens) == nodes, f"opened nodes {sorted(opens)}, expected {sorted(nodes)}")
    before = [l for l in cmd_lines(trace[:start]) if l.split(" ")[1] in TRANSFERS]
    return len(before), len([l for l in got if l.split(" ")[1] in TRANSFERS])


def vanish_mid_transfer(work, transfers_before, factory_state):
    """The device goes at the second output report of the key matrix's
    payload: that write fails, nothing more goes out, the firmware applied
    nothing half, and a new check finds no mouse."""
    kernel = Kernel(work, "553", "--vanish-after", str(transfers_before + 3))
    trace_file = os.path.join(work, "trace")
    ctl = kernel.skarnctl("--hid-trace", trace_file, "run", stdin=subprocess.PIPE)
    ops = "".join(json.dumps(op) + "\n" for op in PROFILE_CHANGE).encode()
    out, err = ctl.communicate(ops, timeout=60)
    check(ctl.returncode == 0, "skarnctl failed: " + err.decode())
    lines = [l for l in cmd_lines(read(trace_file)) if l.split(" ")[1] in TRANSFERS + ("error",)]
    failed = [i for i, l in enumerate(lines) if l.startswith("cmd error ")]
    check(len(failed) == 1 and failed[0] == len(lines) - 1 and failed[0] == transfers_before + 2,
          "expected one failed write as the last transfer:\n" + "\n".join(lines[transfers_before:]))
    again = kernel.skarnctl("-v", "call", "mouseSetReportRate", "2")
    _, err = again.communicate(timeout=60)
    check("Device DisConnect" in err.decode(), "a new check found a mouse:\n" + err.decode())
    state = kernel.quit(strict=False)["state"]
    check(state["keyMatrices"] == factory_state["keyMatrices"], "the firmware holds half a key matrix")
    for name in os.listdir(os.path.join(kernel.data, "modules", "setting")):
        check(os.path.getsize(os.path.join(kernel.data, "modules", "setting", name)) > 0, name + " was emptied")


def permission_denied(work):
    """A node the user may not open: the line once, and no mouse."""
    kernel = Kernel(work, "553", "--deny")
    ctl = kernel.skarnctl("-v", "run", stdin=subprocess.PIPE)
    _, err = ctl.communicate(b'["mouseSetReportRate", 2]\n["mouseGetCurrentDPI"]\n', timeout=60)
    lines = err.decode().splitlines()
    check(lines.count(f"cannot open /dev/hidraw0: {DENIED}") == 1 and "Device DisConnect" in lines,
          "expected the permission line once:\n" + err.decode())
    kernel.quit()


def tray_program(work):
    """skarn-config headless: the DPI press reaches it through the listener's
    hid_read_timeout, and when the node vanishes the listener frees the link
    and the window shows "No mouse connected" (the device is gone)."""
    kernel = Kernel(work)
    exe = os.path.join(work, "skarn-config")
    shutil.copy(os.path.join(BIN, "skarn-config"), exe)
    shutil.copytree(os.path.join(kernel.data, "modules"), os.path.join(work, "modules"), dirs_exist_ok=True)
    trace_file = os.path.join(work, "trace")
    with open(os.path.join(work, "stderr"), "wb") as log:
        program = subprocess.Popen([exe, "--hid-trace", trace_file], stdout=subprocess.DEVNULL, stderr=log,
                                   env=dict(kernel.env, LD_PRELOAD=preload_env(exe), QT_QPA_PLATFORM="offscreen",
                                            # Qt Quick's image cache lives until exit.
                                            ASAN_OPTIONS="detect_leaks=0"))
        RUNNING.append(program)
        try:
            kernel.press(2)
            wait_for(lambda: b" evt read 06 07 00 02\n" in read(trace_file), "the DPI press in the listener's trace")
            # The pages take the press by asking the mouse for its stage (553: 8BH).
            wait_for(lambda: b"cmd get_feature 00 8b" in read(trace_file).split(b" evt read 06 07 00 02\n", 1)[1],
                     "the press to reach the pages")
            check(kernel.ask("vanish") == "ok", "the kernel did not take the node away")
            wait_for(lambda: b"Device removed" in read(log.name), "the listener to see the device gone")
            check(program.poll() is None, "skarn-config ended when the device went")
        finally:
            program.terminate()
            program.wait(timeout=30)
    errors = read(log.name).decode()
    check("Sanitizer" not in errors, errors)
    kernel.quit()


def scenarios():
    factory = run_in("ioctls", ioctl_table)
    before, count = run_in("553", profile_change, "553")
    run_in("560, reordered", profile_change, "560", "--reordered")
    run_in("vanish", vanish_mid_transfer, before, factory)
    run_in("denied", permission_denied)
    run_in("skarn-config", tray_program)
    print(f"hidraw: the golden profile changes passed through hidapi ({count} transfers for 553)")


def run_in(name, scenario, *args):
    started = time.monotonic()
    with tempfile.TemporaryDirectory(prefix="hidraw.") as work:
        try:
            result = scenario(work, *args)
        finally:
            for process in RUNNING:
                if process.poll() is None:
                    process.kill()
                    process.wait()
            RUNNING.clear()
    print(f"hidraw: {name}: passed in {time.monotonic() - started:.1f} s", flush=True)
    return result


def main():
    if os.geteuid() != 0:
        print("hidraw: skipped: needs root for a private mount namespace")
        return 77
    if os.environ.get("SKARN_HIDRAW_NAMESPACE") != "1":
        probe = subprocess.run(["unshare", "-m", "--propagation", "private", "true"], capture_output=True, check=False)
        if probe.returncode != 0:
            print("hidraw: skipped: mount namespaces are not allowed here: " + probe.stderr.decode().strip())
            return 77
        return subprocess.run(["unshare", "-m", "--propagation", "private", sys.executable, *sys.argv],
                              env=dict(os.environ, SKARN_HIDRAW_NAMESPACE="1"), check=False).returncode
    if subprocess.run(["mount", "-t", "tmpfs", "fake-sysfs", "/sys"], check=False).returncode != 0:
        print("hidraw: skipped: cannot mount a tmpfs over /sys in the namespace")
        return 77
    try:
        scenarios()
    except (Failure, AssertionError, subprocess.TimeoutExpired) as e:
        print(f"hidraw: FAILED: {e}")
        return 1
    return 0


if __name__ == "__main__":
    with contextlib.suppress(KeyboardInterrupt):
        sys.exit(main())
