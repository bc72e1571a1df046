"""Test bed for driving the Windows exes under Wine, for the end-to-end tests.

Each test module runs in a Session of its own: its own Wine prefix (a copy of
one template prefix, so modules run in parallel without sharing a
wineserver, drive letters or windows), its own Xvfb, and its own temp folder.
Everything is ended by process id or by `wineserver -k` for that prefix.

    import harness

    def setUpModule():
        global wine
        wine = harness.Session(__name__)

    def tearDownModule():
        wine.close()

    disc = wine.new_disc()
    disc.write_ini("[DIALOG]\\nShow=False\\nDefaultAction=setup.exe /Q\\n")
    disc.add_probe("setup.exe")
    run = wine.run(disc.launcher(), cwd=disc.win)
    assert run.exit_code == 0
    assert wine.take_probe_log()[0]["argv"][1:] == ["/Q"]

Session.run() drives tests/tools/inspector.exe; its options are documented at
the top of tests/tools/inspector.cpp and map onto run()'s arguments:
pixels=[(x, y)], actions=["click:100", "key:tab", "close", ...],
screenshot=path, screen_shot=path, settle_ms, timeout_ms, children_ms.
The result is a Run: .exit_code, .message_boxes, .window, .steps,
.job_processes (every process of the launcher's job: image, pid, parent),
.started_programs (how many programs the launcher started, Wine's own
helpers left out), .raw (all of the inspector's JSON).

Session(name, dpi=144) makes a prefix whose programs see 144 DPI. Wine does
not scale DPI-unaware programs as Windows does: they see that DPI too.
Session(name, lang="de_AT.UTF-8") runs Wine under that Unix locale, so the
user's language is de-AT (use_language() switches between runs; the locale
is compiled once with localedef); winedebug="-all,+exec" sets the session's
WINEDEBUG, whose traces land in Run.stderr. set_windows_version("x.exe",
"win7") makes Wine report that version to programs of that name.

probe.exe (tests/tools/probe.cpp) appends one JSON line per start to the
session's probe log: command_line, argv, cwd, module, pid. take_probe_log()
returns the lines so far and empties the log. The inspector waits for the
programs the launcher starts, so the log is complete when run() returns.

Environment (set by tests/e2e/CMakeLists.txt; needed to run a module by hand):
LAUNCHER_X64_DIR (the x64 cross build), LAUNCHER_NAME, LAUNCHER_TITLE,
E2E_WORK_DIR (holds the template prefix and the sessions' folders).

Command line: `harness.py setup` makes the template prefix (once; kept
between runs while the Wine version is the same), `harness.py cleanup` ends
its wineserver.
"""

import json
import os
import re
import select
import shutil
import signal
import socket
import stat
import subprocess
import sys
import tempfile
import time

X64_DIR = os.environ.get("LAUNCHER_X64_DIR", "")
LAUNCHER_NAME = os.environ.get("LAUNCHER_NAME", "launcher")
APP_TITLE = os.environ.get("LAUNCHER_TITLE", "Setup")
WORK_DIR = os.environ.get("E2E_WORK_DIR") or os.path.join(tempfile.gettempdir(), "launcher-e2e")
TEMPLATE_PREFIX = os.path.join(WORK_DIR, "wineprefix-template")
READY_MARKER = os.path.join(TEMPLATE_PREFIX, ".e2e-ready")

LAUNCHER_EXE = os.path.join(X64_DIR, LAUNCHER_NAME + ".exe")
INSPECTOR_EXE = os.path.join(X64_DIR, "tests", "tools", "inspector.exe")
PROBE_EXE = os.path.join(X64_DIR, "tests", "tools", "probe.exe")
INI_DIFF_EXE = os.path.join(X64_DIR, "tests", "tools", "ini_diff.exe")


def _exit_codes():
    """The launcher's exit codes, one per kind of error, read from the one
    place that defines them (launcher/errors.h): IniMissing becomes
    EXIT_INI_MISSING, and so on."""
    source = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "launcher", "errors.h")
    with open(source, encoding="utf-8") as f:
        body = f.read().split("enum class ErrorKind", 1)[1].split("};", 1)[0]
    codes = {"EXIT_OK": 0}
    for name, number in re.findall(r"^\s*(\w+)\s*=\s*(\d+)\s*,", body, re.MULTILINE):
        if name != "None":
            codes["EXIT_" + re.sub(r"(?<!^)(?=[A-Z])", "_", name).upper()] = int(number)
    return codes


globals().update(_exit_codes())

# Generous limits that only catch a hang, never a slow machine: a run of
# the program, and the wait for the programs it started once it has ended.
RUN_LIMIT_MS = 60000
CHILDREN_LIMIT_MS = 20000
WINEBOOT_TIMEOUT_S = 180
# Beyond the inspector's own limits: Wine's start-up and shut-down.
INSPECTOR_SLACK_S = 30


def base_wine_env(prefix):
    env = dict(os.environ)
    env.update({
        "WINEPREFIX": prefix,
        # E2E_WINEDEBUG=+msgbox,+win (say) to see Wine's traces in a failure.
        "WINEDEBUG": os.environ.get("E2E_WINEDEBUG", "-all"),
        "WINEDLLOVERRIDES": "mscoree,mshtml=",
    })
    # Wine takes the ANSI code page from the locale: fix it, so text in an
    # ANSI INI reads the same everywhere (code page 1252).
    env["LANG"] = "en_US.UTF-8"
    env.pop("LC_ALL", None)
    env.pop("DISPLAY", None)
    return env


LOCALE_DIR = os.path.join(WORK_DIR, "locales")


def compile_locale(name):
    """Makes the Unix locale `name` ("de_AT.UTF-8") for Wine, once, under
    LOCALE_DIR (no root needed: processes find it through LOCPATH). Wine
    takes the user's language from the Unix locale, but only from one that
    exists."""
    target = os.path.join(LOCALE_DIR, name)
    if os.path.isdir(target):
        return LOCALE_DIR
    os.makedirs(LOCALE_DIR, exist_ok=True)
    source, _, charset = name.partition(".")
    # Built aside and renamed, so a module running in parallel never sees
    # half a locale.
    building = tempfile.mkdtemp(prefix=name + "-", dir=LOCALE_DIR)
    subprocess.run(["localedef", "-i", source, "-f", charset or "UTF-8", os.path.join(building, name)],
                   check=True, timeout=120, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        os.rename(os.path.join(building, name), target)
    except OSError:
        if not os.path.isdir(target):
            raise
    shutil.rmtree(building, ignore_errors=True)
    return LOCALE_DIR


def wine_version():
    out = subprocess.run(["wine", "--version"], capture_output=True, text=True, timeout=30)
    return out.stdout.strip()


def win_path(path):
    """The Windows path of a Unix path, through Wine's Z: drive (the root)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def setup_template():
    """Creates the template prefix once; later runs reuse it."""
    version = wine_version()
    if os.path.exists(READY_MARKER):
        with open(READY_MARKER, encoding="utf-8") as f:
            if f.read().strip() == version:
                return
    shutil.rmtree(TEMPLATE_PREFIX, ignore_errors=True)
    os.makedirs(WORK_DIR, exist_ok=True)
    env = base_wine_env(TEMPLATE_PREFIX)
    subprocess.run(["wineboot", "-i"], env=env, timeout=WINEBOOT_TIMEOUT_S,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    # Without a window manager a managed window is waited on for 2 s each
    # time it is hidden (the withdrawn state never comes); unmanaged windows
    # are not.
    subprocess.run(["wine", "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed",
                    "/t", "REG_SZ", "/d", "N", "/f"], env=env, timeout=60,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    subprocess.run(["wineserver", "-w"], env=env, timeout=60, check=True)
    with open(READY_MARKER, "w", encoding="utf-8") as f:
        f.write(version + "\n")


def cleanup_template():
    if os.path.isdir(TEMPLATE_PREFIX):
        subprocess.run(["wineserver", "-k"], env=base_wine_env(TEMPLATE_PREFIX), timeout=60,
                       stderr=subprocess.DEVNULL)


# Files Wine only ever reads once a prefix exists: they are shared with the
# template through hard links (most of the prefix's 700 MB). Everything else,
# the registry above all, which Wine rewrites in place, is copied.
_SHARED_SUFFIXES = (".dll", ".exe", ".drv", ".sys", ".ocx", ".cpl", ".acm", ".tlb", ".ax",
                    ".ds", ".nls", ".ttf", ".fon", ".msstyles", ".mui")


def copy_prefix(source, target):
    for root, dirs, files in os.walk(source):
        rel = os.path.relpath(root, source)
        out_dir = os.path.join(target, rel) if rel != "." else target
        os.makedirs(out_dir, exist_ok=True)
        for name in dirs + files:
            src = os.path.join(root, name)
            dst = os.path.join(out_dir, name)
            if os.path.islink(src):
                os.symlink(os.readlink(src), dst)
                if name in dirs:
                    dirs.remove(name)
            elif name in files:
                if name == os.path.basename(READY_MARKER) and rel == ".":
                    continue
                if name.lower().endswith(_SHARED_SUFFIXES):
                    os.link(src, dst)
                else:
                    shutil.copy2(src, dst)


class Xvfb:
    """An X server of our own; the system picks a free display number."""

    ATTEMPTS = 3

    def __init__(self, size="1024x768x24", log_path=os.devnull):
        self.process = None
        self.number_pipe = None
        self.log_path = log_path
        for _ in range(self.ATTEMPTS):
            self.display = self._start(size)
            if self.display:
                return
        raise RuntimeError("Xvfb would not start: " + self.log())

    def _start(self, size):
        self.close()
        read_end, write_end = os.pipe()
        with open(self.log_path, "ab") as log:
            try:
                self.process = subprocess.Popen(
                    ["Xvfb", "-displayfd", str(write_end), "-screen", "0", size,
                     "-nolisten", "tcp", "-noreset"],
                    pass_fds=(write_end,), stdin=subprocess.DEVNULL,
                    stdout=subprocess.DEVNULL, stderr=log)
            finally:
                os.close(write_end)
        # The read end stays open while the server runs: Xvfb writes its
        # number again when it starts a new generation, and dies if it cannot.
        self.number_pipe = read_end
        ready, _, _ = select.select([read_end], [], [], 20)
        number = os.read(read_end, 64).decode().strip() if ready else ""
        # A display number is no proof that the server stays: make sure it
        # still runs and answers on its socket.
        if number.isdigit() and self._answers(number):
            return ":" + number
        return None

    def _answers(self, number):
        deadline = time.monotonic() + 5
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                return False
            with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as probe:
                try:
                    probe.connect("/tmp/.X11-unix/X" + number)
                    return self.process.poll() is None
                except OSError:
                    time.sleep(0.1)
        return False

    def alive(self):
        return self.process is not None and self.process.poll() is None

    def log(self):
        try:
            with open(self.log_path, encoding="utf-8", errors="replace") as f:
                return f.read()[-2000:]
        except OSError:
            return ""

    def close(self):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(timeout=10)
        if self.number_pipe is not None:
            os.close(self.number_pipe)
            self.number_pipe = None


class Run:
    """What the inspector saw of one run of a program."""

    def __init__(self, raw, stderr=""):
        self.raw = raw
        self.stderr = stderr

    @property
    def exit_code(self):
        return self.raw.get("exit_code")

    @property
    def message_boxes(self):
        return self.raw.get("message_boxes", [])

    @property
    def window(self):
        return self.raw.get("window")

    @property
    def steps(self):
        return self.raw.get("steps", [])

    @property
    def job_processes(self):
        """Every process that was in the launcher's job, the launcher first."""
        return self.raw.get("job", {}).get("processes", [])

    @property
    def started_programs(self):
        """How many programs the launcher started: its job, less itself and
        less the processes Wine starts for itself (see the inspector)."""
        pid = self.raw.get("pid")
        return len([p for p in self.job_processes if p["pid"] != pid and not p["wine_own"]])

    def box_texts(self):
        return [box["text"] for box in self.message_boxes]

    def __repr__(self):
        return "Run(%s)%s" % (json.dumps(self.raw, indent=1)[:4000],
                              "\nstderr:\n" + self.stderr[-20000:] if self.stderr.strip() else "")


class Disc:
    """A folder standing for the disc's root."""

    def __init__(self, path):
        self.path = path
        os.makedirs(path, exist_ok=True)

    @property
    def win(self):
        return win_path(self.path)

    def file(self, name):
        return os.path.join(self.path, name)

    def win_file(self, name):
        return win_path(self.file(name))

    def write_ini(self, content, name=LAUNCHER_NAME + ".ini", encoding="latin-1"):
        """Writes the INI exactly as given: str in `encoding` (e.g. "utf-16"
        for UTF-16 with a BOM), bytes unchanged. Newlines are not touched."""
        data = content if isinstance(content, bytes) else content.encode(encoding)
        with open(self.file(name), "wb") as f:
            f.write(data)
        return self.file(name)

    def add_file(self, source, name=None):
        target = self.file(name or os.path.basename(source))
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copyfile(source, target)
        return target

    def add_probe(self, name="probe.exe"):
        return self.add_file(PROBE_EXE, name)

    def add_launcher(self, name=LAUNCHER_NAME + ".exe"):
        """The launcher copied onto the disc; returns its Windows path."""
        self.add_file(LAUNCHER_EXE, name)
        return self.win_file(name)


# A folder's names with their sizes, times and modes: what a program that
# only reads it leaves as it was.
def listing(root):
    entries = {}
    for folder, dirs, files in os.walk(root):
        for name in dirs + files:
            path = os.path.join(folder, name)
            info = os.lstat(path)
            entries[os.path.relpath(path, root)] = (info.st_size, info.st_mtime_ns, info.st_ctime_ns, info.st_mode)
    return entries


# Read-only for everyone, as on a disc, or writable again.
def set_writable(root, writable):
    for folder, dirs, files in os.walk(root):
        for path in [folder] + [os.path.join(folder, name) for name in files]:
            mode = os.lstat(path).st_mode
            os.chmod(path, mode | stat.S_IWUSR if writable else mode & ~(stat.S_IWUSR | stat.S_IWGRP | stat.S_IWOTH))


def direct_launch_ini(action, show="False"):
    """An INI text for direct-launch mode with the given default action."""
    return "[DIALOG]\r\nShow=%s\r\nDefaultAction=%s\r\n" % (show, action)


class Session:
    """One module's Wine: prefix, X server, temp folder, probe log."""

    def __init__(self, name="e2e", dpi=None, screen="1024x768x24", virtual_desktop=None, registry=(), lang=None,
                 winedebug=None):
        if not os.path.exists(READY_MARKER):
            raise RuntimeError("no template prefix; run `harness.py setup` first (ctest does)")
        os.makedirs(WORK_DIR, exist_ok=True)
        self.root = tempfile.mkdtemp(prefix=name.replace(".", "_") + "-", dir=WORK_DIR)
        self.prefix = os.path.join(self.root, "prefix")
        self.xvfb = None
        try:
            copy_prefix(TEMPLATE_PREFIX, self.prefix)
            self.xvfb = Xvfb(screen, os.path.join(self.root, "xvfb.log"))
            self.probe_log = os.path.join(self.root, "probe.log")
            self.env = base_wine_env(self.prefix)
            self.env["DISPLAY"] = self.xvfb.display
            self.env["LAUNCHER_PROBE_LOG"] = win_path(self.probe_log)
            if lang:
                self.use_language(lang)
            if winedebug:
                self.env["WINEDEBUG"] = winedebug
            self._discs = 0
            self._drives = []
            # Both are read at start-up: set them before the session's server
            # starts. So are the module's own `registry` settings, (key, value
            # name, type, data): saved to the prefix's files now, they cannot
            # turn up there in the middle of a later test.
            settings = list(registry)
            if dpi:
                settings.append((r"HKCU\Control Panel\Desktop", "LogPixels", "REG_DWORD", str(dpi)))
            if virtual_desktop:
                # Wine's virtual desktop draws frames and title bars, for screenshots.
                settings += [(r"HKCU\Software\Wine\Explorer", "Desktop", "REG_SZ", "Default"),
                             (r"HKCU\Software\Wine\Explorer\Desktops", "Default", "REG_SZ", virtual_desktop)]
            for key, value_name, kind, value in settings:
                self.wine(["reg", "add", key, "/v", value_name, "/t", kind, "/d", value, "/f"])
            if registry:
                # Wine's services act on some settings (a drive's type makes
                # a device) and write the registry themselves: let them, and
                # let the server save it all on its way out.
                subprocess.run(["wine", "cmd", "/c", "exit"], env=self.env, timeout=120,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            if settings:
                subprocess.run(["wineserver", "-w"], env=self.env, timeout=60)
            self._start_server()
        except BaseException:
            self.close()
            raise

    def _start_server(self):
        # A wineserver that stays for the whole session, and Wine's own
        # services started once with no pipes of ours: otherwise each run
        # would wait for them to let go of its output pipes.
        subprocess.run(["wineserver", "-p"], env=self.env, timeout=60,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["wine", "cmd", "/c", "exit"], env=self.env, timeout=120,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def save_registry(self):
        """Ends the session's wineserver, which writes the whole registry to
        the prefix's files (while it runs, it saves only now and then), and
        starts it again."""
        subprocess.run(["wineserver", "-k"], env=self.env, timeout=60, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=self.env, timeout=60, stderr=subprocess.DEVNULL)
        self._start_server()

    def use_language(self, lang):
        """Later runs see the Unix locale `lang` ("de_AT.UTF-8"), so Windows
        reports its language as the user's (de-AT); None: back to the
        session's default. Wine reads it as each process starts."""
        if not lang:
            self.env.update(LANG="en_US.UTF-8")
            for name in ("LC_ALL", "LOCPATH"):
                self.env.pop(name, None)
            return
        self.env.update(LANG=lang, LC_ALL=lang, LOCPATH=compile_locale(lang))

    def set_windows_version(self, exe_name, version):
        """The Windows version ("win7", "win81", "win10") Wine reports to
        programs named exe_name ("old.exe"); read as each program starts."""
        self.wine(["reg", "add", r"HKCU\Software\Wine\AppDefaults\%s" % exe_name, "/v", "Version",
                   "/d", version, "/f"])

    def wine(self, args, timeout=60):
        """Runs `wine ARGS` in this session; returns its exit code."""
        return subprocess.run(["wine"] + list(args), env=self.env, timeout=timeout,
                              stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode

    def new_disc(self, name=None):
        self._discs += 1
        return Disc(os.path.join(self.root, name or "disc%d" % self._discs))

    def run(self, exe, cwd=None, args=None, timeout_ms=RUN_LIMIT_MS, settle_ms=None, children_ms=CHILDREN_LIMIT_MS,
            pixels=(), screenshot=None, screen_shot=None, actions=()):
        """Starts exe (a Windows path) through the inspector; returns a Run.
        The limits only catch a hang: a run ends as soon as the program and
        the programs it started have ended."""
        if not self.xvfb.alive():
            raise AssertionError("the session's Xvfb has ended:\n" + self.xvfb.log())
        command = ["wine", INSPECTOR_EXE, "--exe", exe, "--timeout-ms", str(timeout_ms)]
        if cwd:
            command += ["--cwd", cwd]
        if args:
            command += ["--args", args]
        if settle_ms is not None:
            command += ["--settle-ms", str(settle_ms)]
        command += ["--children-ms", str(children_ms)]
        for x, y in pixels:
            command += ["--pixel", "%d,%d" % (x, y)]
        if screenshot:
            command += ["--screenshot", win_path(screenshot)]
        if screen_shot:
            command += ["--screen-shot", win_path(screen_shot)]
        for action in actions:
            command += ["--action", action]
        limit = (timeout_ms + children_ms) / 1000
        # Output goes to files, not pipes: a Wine process started on the way
        # may hold a pipe open long after the inspector has ended.
        with tempfile.TemporaryFile(dir=self.root) as out_file, \
                tempfile.TemporaryFile(dir=self.root) as err_file:
            process = subprocess.Popen(command, env=self.env, stdin=subprocess.DEVNULL,
                                       stdout=out_file, stderr=err_file, start_new_session=True)
            try:
                process.wait(timeout=limit + INSPECTOR_SLACK_S)
            except subprocess.TimeoutExpired:
                # Only the inspector's own process group; its job ends the launcher.
                os.killpg(process.pid, signal.SIGKILL)
                process.wait()
                raise AssertionError("inspector did not finish: %s" % command)
            out_file.seek(0)
            err_file.seek(0)
            out = out_file.read().decode("utf-8", "replace")
            err = err_file.read().decode("utf-8", "replace")
        lines = [line for line in out.splitlines() if line.startswith("{")]
        if not lines:
            raise AssertionError("inspector printed no report (exit %s)\nstdout: %s\nstderr: %s"
                                 % (process.returncode, out, err))
        raw = json.loads(lines[-1])
        if "usage_error" in raw:
            raise AssertionError("inspector usage: " + raw["usage_error"])
        if not raw.get("started"):
            raise AssertionError("could not start %s: error %s" % (exe, raw.get("start_error")))
        return Run(raw, err)

    def take_probe_log(self):
        """The probe's records so far, oldest first; the log starts afresh."""
        if not os.path.exists(self.probe_log):
            return []
        with open(self.probe_log, encoding="utf-8") as f:
            records = [json.loads(line) for line in f if line.strip()]
        os.remove(self.probe_log)
        return records

    def map_drive(self, letter, folder):
        """Makes `letter`: stand for folder; returns the root, e.g. "R:\\"."""
        link = os.path.join(self.prefix, "dosdevices", letter.lower() + ":")
        if os.path.lexists(link):
            os.remove(link)
        os.symlink(os.path.abspath(folder), link)
        self._drives.append(link)
        return letter.upper() + ":\\"

    def unmap_drive(self, letter):
        link = os.path.join(self.prefix, "dosdevices", letter.lower() + ":")
        if os.path.lexists(link):
            os.remove(link)
        if link in self._drives:
            self._drives.remove(link)

    def close(self):
        if os.path.isdir(self.prefix):
            subprocess.run(["wineserver", "-k"], env=base_wine_env(self.prefix), timeout=60,
                           stderr=subprocess.DEVNULL)
        if self.xvfb:
            self.xvfb.close()
            self.xvfb = None
        if not os.environ.get("E2E_KEEP"):
            shutil.rmtree(self.root, ignore_errors=True)


def main(argv):
    if argv[1:] == ["setup"]:
        setup_template()
    elif argv[1:] == ["cleanup"]:
        cleanup_template()
    else:
        print("usage: harness.py setup|cleanup", file=sys.stderr)
        return 2
    return 0



def module_fixtures(namespace, **session_args):
    """setUpModule and tearDownModule for a test module whose tests share one
    Session, kept in the module's global `wine`:
        setUpModule, tearDownModule = harness.module_fixtures(globals())"""
    def set_up_module():
        namespace["wine"] = Session(namespace["__name__"], **session_args)

    def tear_down_module():
        if namespace.get("wine"):
            namespace["wine"].close()

    return set_up_module, tear_down_module

if __name__ == "__main__":
    sys.exit(main(sys.argv))
