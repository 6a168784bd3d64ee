"""End-to-end bench: starts the real Varo programs under Wine and drives them
like a person through varo_driver.exe, a small Windows program that runs next
to them and answers JSON commands.

    class CopyToolTest(E2ETestCase):
        def test_copies_a_folder(self):
            folder = self.program_folder(["VaroSelect.exe"], settings={"Lang": "en"})
            pid = self.start(folder.exe("VaroSelect.exe"), quote(windows_path(source)))
            window = self.driver.wait_window(pid, cls="#32770", child_id=1003)
            ...
            self.assertEqual(self.driver.wait_exit(pid), 0)

One driver serves a whole test class; each test gets its own temporary root,
its own program folder (whose name gives it its own settings folder) and
ends every process it started. Standard library only.
"""

from __future__ import annotations

import functools
import json
import os
import re
import secrets
import select
import shutil
import subprocess
import sys
import tempfile
import time
import types
import unittest
from dataclasses import dataclass
from pathlib import Path, PureWindowsPath
from typing import Callable, Iterable, Mapping, Optional, TypeVar

ROOT = Path(os.environ.get("VARO_ROOT", Path(__file__).resolve().parents[2]))
BIN = Path(os.environ.get("VARO_BIN", ROOT / "build" / "bin"))
SCREENSHOTS = BIN.parent / "e2e-screenshots"
LOGS = BIN.parent / "e2e-logs"

# Generous for a loaded CI machine, finite so that nothing hangs.
DEFAULT_TIMEOUT = 20.0
# Extra time the Python side gives the driver beyond a command's own timeout.
ANSWER_MARGIN = 15.0
POLL_INTERVAL = 0.02

# Dialog and message ids the tests need.
IDOK, IDCANCEL, IDYES, IDNO = 1, 2, 6, 7
WM_CLOSE = 0x0010
WM_COMMAND = 0x0111
WM_LBUTTONDBLCLK = 0x0203
WM_RBUTTONDOWN = 0x0204
WM_APP = 0x8000
VK_TAB, VK_RETURN, VK_ESCAPE, VK_SPACE, VK_END, VK_HOME = 0x09, 0x0D, 0x1B, 0x20, 0x23, 0x24
CSIDL_PERSONAL, CSIDL_APPDATA, CSIDL_LOCAL_APPDATA = 5, 26, 28

T = TypeVar("T")


class DriverError(RuntimeError):
    """The driver refused a command or stopped answering."""


class WaitTimeout(DriverError):
    """Something awaited did not happen in time."""


# ---- Wine environment and paths -------------------------------------------


def wine_environment() -> dict[str, str]:
    """The environment for Wine: the checkout's private prefix (as
    scripts/env.sh sets it) and a working display, started when missing."""
    env = dict(os.environ)
    env.setdefault("WINEPREFIX", str(ROOT / ".cache" / "wine"))
    env.setdefault("WINEARCH", "win64")
    env.setdefault("WINEDEBUG", "-all")
    env.setdefault("WINEDLLOVERRIDES", "mscoree,mshtml=")
    if not _display_works(env.get("DISPLAY")):
        env["DISPLAY"] = _start_display()
    return env


def _display_works(display: Optional[str]) -> bool:
    if not display:
        return False
    try:
        return subprocess.run(["xdpyinfo"], env={**os.environ, "DISPLAY": display}, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=10).returncode == 0
    except (OSError, subprocess.TimeoutExpired):
        return False


def _start_display() -> str:
    script = f'source "{ROOT}/scripts/env.sh" && varo_ensure_display >&2 && echo "$DISPLAY"'
    done = subprocess.run(["bash", "-c", script], stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                          timeout=60)
    if done.returncode != 0:
        raise RuntimeError("no X display for Wine: " + done.stderr.strip())
    return done.stdout.strip()


def windows_path(path: os.PathLike | str) -> str:
    """The Windows path of a Linux path as Wine sees it: the prefix's drive C:
    for files under drive_c, else Z:, which maps the Linux root."""
    resolved = Path(path).resolve()
    drive_c = (Path(wine_prefix()) / "drive_c").resolve()
    if resolved == drive_c or drive_c in resolved.parents:
        rest = resolved.relative_to(drive_c)
        return "C:\\" + "\\".join(rest.parts)
    return "Z:" + str(resolved).replace("/", "\\")


def linux_path(path: str) -> Path:
    """The Linux path of a Windows path under Wine (through the prefix's
    drive links, so C:, Z: and any other drive work)."""
    windows = PureWindowsPath(path)
    drive = windows.drive.lower()
    if len(drive) != 2 or drive[1] != ":":
        raise ValueError(f"not an absolute drive path: {path!r}")
    root = (Path(wine_prefix()) / "dosdevices" / drive).resolve()
    return root.joinpath(*windows.parts[1:])


def wine_prefix() -> str:
    return os.environ.get("WINEPREFIX", str(ROOT / ".cache" / "wine"))


def quote(argument: str) -> str:
    """One command-line argument in double quotes, as Explorer passes paths."""
    return f'"{argument}"'


def wait_until(check: Callable[[], T], timeout: float = DEFAULT_TIMEOUT, what: str = "condition") -> T:
    """Polls check() until it gives a true value and returns that value."""
    deadline = time.monotonic() + timeout
    while True:
        value = check()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise WaitTimeout(f"timed out after {timeout:.1f} s waiting for {what}")
        time.sleep(POLL_INTERVAL)


# ---- settings files ---------------------------------------------------------


def settings_folder_name(program_folder_name: str) -> str:
    """The settings subfolder under %APPDATA%\\kestrel of a program folder:
    "varo" for a folder named Varo, else "varo_" and the folder's name in
    lower case without a leading "varo" or "varo_"."""
    name = "".join(c.lower() if "A" <= c <= "Z" else c for c in program_folder_name)
    if name == "varo":
        return "varo"
    derived = name
    if len(name) > 4 and name.startswith("varo"):
        derived = name[5:] if len(name) > 5 and name[4] == "_" else name[4:]
    return "varo_" + derived


def write_ini(path: Path, values: Mapping[str, object], section: str = "Env") -> None:
    """Writes a settings file the way the programs write it: UTF-16LE with
    FF FE first, CR LF line ends, one section."""
    lines = [f"[{section}]"] + [f"{key}={_ini_value(value)}" for key, value in values.items()]
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(b"\xff\xfe" + ("\r\n".join(lines) + "\r\n").encode("utf-16-le"))


def _ini_value(value: object) -> str:
    if isinstance(value, bool):
        return "1" if value else "0"
    return str(value)


def read_ini(path: Path, section: str = "Env") -> dict[str, str]:
    """The keys of one section of a settings file (UTF-16LE with a byte-order
    mark, or UTF-8)."""
    data = path.read_bytes()
    text = data[2:].decode("utf-16-le") if data.startswith(b"\xff\xfe") else data.decode("utf-8-sig")
    values: dict[str, str] = {}
    current = None
    for line in text.splitlines():
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            current = line[1:-1]
        elif current == section and "=" in line:
            key, value = line.split("=", 1)
            values[key] = value
    return values


# ---- files -------------------------------------------------------------------


def make_files(root: Path, files: Mapping[str, bytes | str | None]) -> Path:
    """Creates files under root from {"a/b.txt": content}; text is written as
    UTF-8, and a name ending in "/" makes an empty folder."""
    for relative, content in files.items():
        path = root / relative
        if relative.endswith("/"):
            path.mkdir(parents=True, exist_ok=True)
            continue
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(content.encode("utf-8") if isinstance(content, str) else content)
    return root


def set_modified(path: Path, year: int, month: int, day: int, hour: int = 12, minute: int = 0) -> None:
    """Sets a file's modification time (local time), for the date conditions."""
    stamp = time.mktime((year, month, day, hour, minute, 0, 0, 0, -1))
    os.utime(path, (stamp, stamp))


def read_tree(root: Path) -> dict[str, bytes | None]:
    """Every file and folder under root: {"a/b.txt": bytes, "a/": None}, for
    comparing a copy with its source byte for byte."""
    tree: dict[str, bytes | None] = {}
    for path in sorted(root.rglob("*")):
        relative = path.relative_to(root).as_posix()
        tree[relative + "/" if path.is_dir() else relative] = None if path.is_dir() else path.read_bytes()
    return tree


def read_utf16(path: Path) -> str:
    """A UTF-16LE text file (the copy result list) without its FF FE."""
    data = path.read_bytes()
    if not data.startswith(b"\xff\xfe"):
        raise ValueError(f"{path} does not start with FF FE")
    return data[2:].decode("utf-16-le")


# ---- what the driver reports ------------------------------------------------


@dataclass(frozen=True)
class Window:
    hwnd: int
    cls: str
    title: str
    pid: int
    visible: bool
    enabled: bool

    @staticmethod
    def from_answer(answer: dict) -> "Window":
        return Window(answer["hwnd"], answer["class"], answer["title"], answer["pid"], answer["visible"],
                      answer["enabled"])


@dataclass(frozen=True)
class Control:
    hwnd: int
    id: int
    cls: str
    text: str
    visible: bool
    enabled: bool
    parent: int
    style: int

    @staticmethod
    def from_answer(answer: dict) -> "Control":
        return Control(answer["hwnd"], answer["id"], answer["class"], answer["text"], answer["visible"],
                       answer["enabled"], answer["parent"], answer["style"])


@dataclass(frozen=True)
class TreeItem:
    item: int
    text: str


@dataclass(frozen=True)
class MessageBox:
    hwnd: int
    pid: int
    title: str
    text: str
    buttons: dict[int, str]  # id -> text ("&Yes")


# ---- the driver -------------------------------------------------------------


class Driver:
    """One varo_driver.exe under Wine. Every call answers or raises within its
    timeout (seconds); a driver that stops answering is killed."""

    def __init__(self, log_name: str = "driver"):
        exe = BIN / "varo_driver.exe"
        if not exe.is_file():
            raise RuntimeError(f"{exe} is missing: build the varo_driver target first")
        self.env = wine_environment()
        LOGS.mkdir(parents=True, exist_ok=True)
        self.log_path = LOGS / f"{log_name}.log"
        self._log = open(self.log_path, "wb")
        self._process = subprocess.Popen(["wine", str(exe)], cwd=BIN, env=self.env, stdin=subprocess.PIPE,
                                         stdout=subprocess.PIPE, stderr=self._log)
        self._buffer = b""
        try:
            self.request("ping", timeout=60)  # the first Wine start may be slow
        except DriverError:
            self.close()
            raise

    # -- plumbing

    @property
    def alive(self) -> bool:
        return self._process.poll() is None

    def request(self, cmd: str, timeout: float = DEFAULT_TIMEOUT, **args) -> dict:
        """Sends one command and returns its answer; raises DriverError when
        the driver says no, WaitTimeout when a wait ran out."""
        if not self.alive:
            raise DriverError("the driver has ended")
        args = {key: value for key, value in args.items() if value is not None}
        line = json.dumps({"cmd": cmd, "timeout_ms": int(timeout * 1000), **args}, ensure_ascii=False)
        try:
            self._process.stdin.write(line.encode("utf-8") + b"\n")
            self._process.stdin.flush()
        except OSError as error:
            raise DriverError(f"the driver does not take commands: {error}") from error
        answer = json.loads(self._read_line(timeout + ANSWER_MARGIN))
        if not answer.get("ok"):
            message = answer.get("error", "unknown failure")
            kind = WaitTimeout if message.startswith("timed out") else DriverError
            raise kind(f"{cmd}: {message}")
        return answer

    def _read_line(self, timeout: float) -> str:
        deadline = time.monotonic() + timeout
        stdout = self._process.stdout
        while b"\n" not in self._buffer:
            left = deadline - time.monotonic()
            if left <= 0:
                self.kill_driver()
                raise DriverError(f"the driver did not answer within {timeout:.0f} s (killed)")
            ready, _, _ = select.select([stdout], [], [], left)
            if ready:
                chunk = os.read(stdout.fileno(), 65536)
                if not chunk:
                    raise DriverError(f"the driver ended; see {self.log_path}")
                self._buffer += chunk
        line, self._buffer = self._buffer.split(b"\n", 1)
        return line.decode("utf-8")

    def close(self) -> None:
        """Ends the driver, which ends every process it started."""
        if self.alive:
            try:
                self.request("quit", timeout=5)
                self._process.wait(timeout=15)
            except (DriverError, subprocess.TimeoutExpired):
                self.kill_driver()
        for stream in (self._process.stdin, self._process.stdout):
            stream.close()
        self._log.close()

    def kill_driver(self) -> None:
        self._process.kill()
        self._process.wait(timeout=15)

    # -- processes

    def start(self, exe: str, args: str = "", cwd: Optional[str] = None,
              env: Optional[Mapping[str, str]] = None) -> int:
        """Starts a Windows program; its command line is `"exe" args`, with
        args exactly as given, and its environment the driver's with `env`
        added. Returns the process id."""
        return self.request("start", exe=exe, args=args, cwd=cwd, env=dict(env) if env else None)["pid"]

    def wait_exit(self, pid: int, timeout: float = DEFAULT_TIMEOUT) -> int:
        """Waits for the process to end and returns its exit code (signed)."""
        answer = self.request("wait_exit", pid=pid, timeout=timeout)
        if not answer["exited"]:
            raise WaitTimeout(f"process {pid} still runs after {timeout:.1f} s")
        return answer["exit_code"]

    def exit_code(self, pid: int) -> Optional[int]:
        """The exit code of an ended process, None while it runs."""
        answer = self.request("wait_exit", pid=pid, timeout=0)
        return answer["exit_code"] if answer["exited"] else None

    def kill(self, pid: int) -> None:
        """Ends the process and everything it started."""
        self.request("kill", pid=pid)

    def processes(self) -> list[dict]:
        """Every Wine process: {"pid", "parent", "exe"}."""
        return self.request("processes")["processes"]

    def wait_child_process(self, parent: int, exe_name: str, timeout: float = DEFAULT_TIMEOUT) -> int:
        """The id of a process that `parent` started (VaroSetting.exe, explorer.exe)."""

        def find():
            for entry in self.processes():
                if entry["parent"] == parent and entry["exe"].lower() == exe_name.lower():
                    return entry["pid"]
            return None

        return wait_until(find, timeout, f"{exe_name} started by process {parent}")

    # -- windows

    def windows(self, pid: Optional[int] = None) -> list[Window]:
        """Top-level windows (of one process), hidden ones included."""
        return [Window.from_answer(w) for w in self.request("windows", pid=pid)["windows"]]

    def wait_window(self, pid: Optional[int], cls: Optional[str] = None, title: Optional[str] = None,
                    child_id: Optional[int] = None, child_class: Optional[str] = None, message_box: bool = False,
                    exclude: Iterable[int] = (), visible: bool = True, timeout: float = DEFAULT_TIMEOUT) -> Window:
        """Waits for a top-level window of the process that matches every given
        criterion: class, exact title, holding a control with child_id or of
        child_class, being a message box; visible unless visible=False; not one
        of `exclude`. Give a pid: tests run in parallel and see each other's
        windows."""
        answer = self.request("wait_window", pid=pid, timeout=timeout, title=title, child_id=child_id,
                              child_class=child_class, message_box=message_box, exclude=list(exclude),
                              visible=visible, **({"class": cls} if cls else {}))
        return Window.from_answer(answer)

    def wait_gone(self, hwnd: int, timeout: float = DEFAULT_TIMEOUT) -> None:
        """Waits until the window is destroyed or hidden."""
        self.request("wait_gone", hwnd=hwnd, timeout=timeout)

    def text(self, hwnd: int, id: Optional[int] = None) -> str:
        """The text of a window, or of its control `id` (WM_GETTEXT)."""
        return self.request("text", hwnd=hwnd, id=id)["text"]

    def wait_text(self, hwnd: int, id: Optional[int], expected: str | Callable[[str], bool],
                  timeout: float = DEFAULT_TIMEOUT) -> str:
        """Polls a control's text until it equals `expected` (or satisfies it)."""
        check = expected if callable(expected) else (lambda text: text == expected)
        last = [None]

        def read():
            last[0] = self.text(hwnd, id)
            return check(last[0])

        try:
            wait_until(read, timeout, f"text of control {id}")
        except WaitTimeout as error:
            raise WaitTimeout(f"{error}; last text {last[0]!r}, wanted {expected!r}") from None
        return last[0]

    def controls(self, hwnd: int) -> list[Control]:
        """Every control inside a window (nested ones included)."""
        return [Control.from_answer(c) for c in self.request("controls", hwnd=hwnd)["controls"]]

    def control(self, hwnd: int, id: int) -> Control:
        for control in self.controls(hwnd):
            if control.id == id:
                return control
        raise DriverError(f"window {hwnd} has no control {id}")

    def rect(self, hwnd: int, id: Optional[int] = None) -> dict:
        """{"window": screen rectangle, "client": client rectangle}, each with
        left, top, right, bottom."""
        answer = self.request("rect", hwnd=hwnd, id=id)
        return {"window": answer["window"], "client": answer["client"]}

    # -- acting

    def press(self, hwnd: int, id: Optional[int] = None, text: Optional[str] = None, mouse: bool = False) -> None:
        """Presses a control found by id or text (without "&", any case):
        BM_CLICK for a button, else a left click at its centre (a notifying
        static). mouse=True clicks a button too. Fails for a hidden or
        disabled control, as a person could not press it either."""
        self.request("press", hwnd=hwnd, id=id, text=text, mouse=mouse)

    def key(self, hwnd: int, vk: int, id: Optional[int] = None) -> None:
        """A key press and release delivered to the window or its control."""
        self.request("key", hwnd=hwnd, id=id, vk=vk)

    def type_text(self, hwnd: int, chars: str, id: Optional[int] = None) -> None:
        """Types characters into the window or its control (WM_CHAR each)."""
        self.request("type", hwnd=hwnd, id=id, chars=chars)

    def set_text(self, hwnd: int, value: str, id: Optional[int] = None) -> None:
        """Replaces a control's text at once (WM_SETTEXT)."""
        self.request("set_text", hwnd=hwnd, id=id, value=value)

    def post(self, hwnd: int, msg: int, wparam: int = 0, lparam: int = 0, id: Optional[int] = None) -> None:
        self.request("post", hwnd=hwnd, id=id, msg=msg, wparam=wparam, lparam=lparam)

    def send(self, hwnd: int, msg: int, wparam: int = 0, lparam: int = 0, id: Optional[int] = None,
             answer_within_ms: Optional[int] = None) -> int:
        """Sends a message whose arguments are plain numbers and returns its
        result (a check box's BM_GETCHECK, a list's count). With `answer_within_ms`,
        a window that does not answer within that time raises DriverError."""
        return self.request("send", hwnd=hwnd, id=id, msg=msg, wparam=wparam, lparam=lparam,
                            answer_within_ms=answer_within_ms)["result"]

    def set_event(self, name: str) -> None:
        """Sets a named event that a program made (a test gate it waits on)."""
        self.request("set_event", name=name)

    def register_message(self, name: str) -> int:
        """The number of a registered window message ("TaskbarCreated")."""
        return self.request("register_message", name=name)["message"]

    def tray_icon_exists(self, hwnd: int, icon: int = 1) -> bool:
        """Whether the taskbar shows the window's notification-area icon."""
        return self.request("tray_icon", hwnd=hwnd, icon=icon, action="exists")["result"]

    def delete_tray_icon(self, hwnd: int, icon: int = 1) -> bool:
        """Removes the window's icon, as a taskbar that restarts loses it."""
        return self.request("tray_icon", hwnd=hwnd, icon=icon, action="delete")["result"]

    def list_view_items(self, hwnd: int, id: Optional[int] = None) -> list[dict]:
        """The rows of a list view: {"text" (first column), "selected", "focused"}."""
        return self.request("list_view_items", hwnd=hwnd, id=id)["items"]

    def list_view_select(self, hwnd: int, row: int, selected: bool = True, id: Optional[int] = None) -> None:
        """Selects and focuses a row of a list view, or clears it; row -1 for every row."""
        self.request("list_view_select", hwnd=hwnd, id=id, row=row, selected=selected)

    def combo_items(self, hwnd: int, id: Optional[int] = None) -> list[str]:
        """The items of a combo box's list."""
        return self.request("combo_items", hwnd=hwnd, id=id)["items"]

    def drop_files(self, hwnd: int, paths: Iterable[str], id: Optional[int] = None) -> None:
        """Drops files (Windows paths) on a window as Explorer would: WM_DROPFILES."""
        self.request("drop_files", hwnd=hwnd, id=id, files=list(paths))

    def close_window(self, hwnd: int) -> None:
        """The system close (the title bar's x, Alt+F4): WM_CLOSE."""
        self.post(hwnd, WM_CLOSE)

    def special_folder(self, csidl: int) -> str:
        """A shell folder's Windows path as the programs see it."""
        return self.request("special_folder", csidl=csidl)["path"]

    # -- message boxes

    def message_box(self, hwnd: int) -> MessageBox:
        answer = self.request("message_box", hwnd=hwnd)
        return MessageBox(answer["hwnd"], answer["pid"], answer["title"], answer["text"],
                          {button["id"]: button["text"] for button in answer["buttons"]})

    def wait_message_box(self, pid: int, timeout: float = DEFAULT_TIMEOUT, exclude: Iterable[int] = ()) -> MessageBox:
        """Waits for a message box of the process (a #32770 dialog of statics
        and buttons, its text in the static 0xFFFF) and reads it."""
        window = self.wait_window(pid, message_box=True, exclude=exclude, timeout=timeout)
        return self.message_box(window.hwnd)

    def answer(self, box: MessageBox, button_id: int, timeout: float = DEFAULT_TIMEOUT) -> None:
        """Presses a button of the box (IDOK, IDYES, IDNO, ...) and waits until
        the box has gone, so the next wait cannot find it again."""
        if button_id not in box.buttons:
            raise DriverError(f"the box has no button {button_id}: {box.buttons}")
        self.press(box.hwnd, id=button_id)
        self.wait_gone(box.hwnd, timeout)

    # -- the folder browser (SHBrowseForFolder)

    def wait_folder_browser(self, pid: int, timeout: float = DEFAULT_TIMEOUT) -> Window:
        """Waits for a folder browser of the process: a dialog holding a tree."""
        return self.wait_window(pid, cls="#32770", child_class="SysTreeView32", timeout=timeout)

    def browser_edit(self, browser: int) -> Control:
        """The browser's "Folder:" edit box (BIF_EDITBOX)."""
        for control in self.controls(browser):
            if control.cls.lower() == "edit" and control.visible:
                return control
        raise DriverError("the folder browser has no edit box")

    def folder_tree(self, browser: int) -> Control:
        """The browser's folder tree."""
        for control in self.controls(browser):
            if control.cls.lower() == "systreeview32":
                return control
        raise DriverError("the folder browser has no tree")

    def tree_children(self, tree: int, item: int = 0) -> list[TreeItem]:
        """The children of a tree item, expanded first (0: the root items)."""
        return [TreeItem(i["item"], i["text"]) for i in self.request("tree_children", hwnd=tree, item=item)["items"]]

    def foreground(self) -> int:
        """The handle of the foreground window (0 when there is none)."""
        return self.request("foreground")["hwnd"]

    def focus(self, hwnd: int) -> dict:
        """The control with the keyboard focus in the window's thread: {"hwnd", "id"}."""
        return self.request("focus", hwnd=hwnd)

    def tab_captions(self, hwnd: int, id: Optional[int] = None) -> list[str]:
        """The captions of a tab control's tabs, in order."""
        return self.request("tab_captions", hwnd=hwnd, id=id)["captions"]

    def tree_selection(self, tree: int) -> list[TreeItem]:
        """The selected tree item and its ancestors, selected item first."""
        return [TreeItem(i["item"], i["text"]) for i in self.request("tree_selection", hwnd=tree)["items"]]

    def choose_folder(self, browser: int, path: str, timeout: float = DEFAULT_TIMEOUT) -> None:
        """Chooses an existing folder in the browser and presses OK, as a
        person does: clicks through the tree down to the folder, types its
        full path into the edit box and presses OK.

        The tree is what counts under Wine 8: its browser ignores the typed
        path and answers with the selected folder (on Windows the typed path
        wins; both are the same folder here)."""
        tree = self.folder_tree(browser).hwnd
        item = self._tree_item_of(tree, PureWindowsPath(path))
        self.request("tree_select", hwnd=tree, item=item.item)
        edit = self.browser_edit(browser)
        wait_until(lambda: _browser_shows(self.text(edit.hwnd), path), timeout, f"the browser to show {path!r}")
        self.set_text(edit.hwnd, path)
        self.press(browser, id=IDOK)
        self.wait_gone(browser, timeout)

    def _tree_item_of(self, tree: int, path: PureWindowsPath) -> TreeItem:
        item = self.tree_drive_item(tree, path.drive.upper())
        for name in path.parts[1:]:
            children = self.tree_children(tree, item.item)
            found = [child for child in children if child.text.lower() == name.lower()]
            if not found:
                raise DriverError(f"the folder browser shows no {name!r} in {item.text!r} "
                                  f"(it shows {[c.text for c in children]})")
            item = found[0]
        return item

    def tree_drive_item(self, tree: int, drive: str) -> TreeItem:
        """The tree item of a drive ("Local Disk (C:)"): among the siblings
        of the drive that holds the current selection, else searched from
        the root down through the first levels (My Computer)."""
        mark = f"({drive})"
        selection = self.tree_selection(tree)
        for index, entry in enumerate(selection[:-1]):
            if _is_drive_text(entry.text):
                for sibling in self.tree_children(tree, selection[index + 1].item):
                    if mark in sibling.text.upper():
                        return sibling
        level = self.tree_children(tree)
        for _ in range(3):
            for entry in level:
                if mark in entry.text.upper():
                    return entry
            level = [child for entry in level for child in self.tree_children(tree, entry.item)]
        raise DriverError(f"the folder browser shows no drive {drive}")

    def cancel_folder_browser(self, browser: int, timeout: float = DEFAULT_TIMEOUT) -> None:
        self.press(browser, id=IDCANCEL)
        self.wait_gone(browser, timeout)


def _is_drive_text(text: str) -> bool:
    return re.search(r"\([A-Za-z]:\)", text) is not None


def _browser_shows(edit_text: str, path: str) -> bool:
    """Whether the browser's edit box names the folder: its last component,
    or for a drive root its display name "... (X:)"."""
    windows = PureWindowsPath(path)
    if windows.name:
        return edit_text.strip().lower() == windows.name.lower()
    return f"({windows.drive.upper()})" in edit_text.upper()


# ---- program folders -------------------------------------------------------


class ProgramFolder:
    """A fresh program folder holding copies of the programs. Its name
    (varo_e2e<random>) gives the programs their own settings folder
    %APPDATA%\\kestrel\\varo_e2e<random>\\, so tests never share settings."""

    def __init__(self, parent: Path, programs: Iterable[str], appdata: Path, name: Optional[str] = None):
        self.name = name or "varo_e2e" + secrets.token_hex(4)
        self.path = parent / self.name
        self.path.mkdir(parents=True)
        for program in programs:
            source = BIN / program
            if not source.is_file():
                raise FileNotFoundError(f"{source} is not built")
            shutil.copy2(source, self.path / program)
        self.settings_folder = appdata / "kestrel" / settings_folder_name(self.name)

    @property
    def settings_file(self) -> Path:
        return self.settings_folder / "varo.ini"

    @property
    def backup_file(self) -> Path:
        return self.path / "varo_bk.ini"

    def exe(self, program: str) -> str:
        """The Windows path of a program in this folder."""
        return windows_path(self.path / program)

    def write_settings(self, values: Mapping[str, object], file_name: str = "varo.ini") -> Path:
        """Writes varo.ini (or varo_tmp.ini) into the settings folder."""
        path = self.settings_folder / file_name
        write_ini(path, values)
        return path

    def read_settings(self, file_name: str = "varo.ini") -> dict[str, str]:
        return read_ini(self.settings_folder / file_name)

    def remove(self) -> None:
        shutil.rmtree(self.path, ignore_errors=True)
        shutil.rmtree(self.settings_folder, ignore_errors=True)


# ---- test cases -------------------------------------------------------------


class E2ETestCase(unittest.TestCase):
    """Base of end-to-end tests: one driver per class, a temporary root per
    test (self.temp), every process started through self.start ended after
    the test, and on a failure a screenshot plus the windows' texts."""

    driver: Driver
    appdata: Path

    @classmethod
    def setUpClass(cls) -> None:
        super().setUpClass()
        cls.driver = Driver(log_name=_qualified_name(cls))
        cls.appdata = linux_path(cls.driver.special_folder(CSIDL_APPDATA))
        _remove_stale_settings_folders(cls.appdata / "kestrel")

    @classmethod
    def tearDownClass(cls) -> None:
        cls.driver.close()
        super().tearDownClass()

    def __init__(self, methodName: str = "runTest"):
        super().__init__(methodName)
        test = getattr(type(self), methodName, None)
        if isinstance(test, types.FunctionType):
            # A bound method, so that loading a single test by name still works.
            setattr(self, methodName, types.MethodType(_reporting_failures(test), self))

    def setUp(self) -> None:
        super().setUp()
        if not type(self).driver.alive:  # an earlier test killed a stuck driver
            type(self).driver = Driver(log_name=_qualified_name(type(self)))
        self._started: list[int] = []
        shutil.rmtree(self._screenshot_folder(), ignore_errors=True)  # none from an earlier run
        self.temp = Path(tempfile.mkdtemp(prefix="varo-e2e-"))
        if not os.environ.get("VARO_E2E_KEEP"):
            self.addCleanup(shutil.rmtree, self.temp, True)
        self.addCleanup(self._end_started_processes)

    def program_folder(self, programs: Iterable[str] = ("VaroSelect.exe",),
                       settings: Optional[Mapping[str, object]] = None, name: Optional[str] = None) -> ProgramFolder:
        """A program folder for this test with the programs copied in and,
        when given, a prepared varo.ini; removed after the test with its
        settings folder."""
        folder = ProgramFolder(self.temp, programs, self.appdata, name)
        if not os.environ.get("VARO_E2E_KEEP"):
            self.addCleanup(folder.remove)
        if settings is not None:
            folder.write_settings(settings)
        return folder

    def start(self, exe: str, args: str = "", cwd: Optional[str] = None,
              env: Optional[Mapping[str, str]] = None) -> int:
        """Starts a program; it (and all it started) is ended after the test."""
        pid = self.driver.start(exe, args, cwd, env)
        self._started.append(pid)
        return pid

    def _end_started_processes(self) -> None:
        for pid in self._started:
            try:
                self.driver.kill(pid)  # also ends what it started, after a clean exit too
            except DriverError as error:
                print(f"could not end process {pid}: {error}", file=sys.stderr)

    def screenshot(self, name: str, settle: float = 0.5) -> Optional[Path]:
        """Saves the whole virtual screen as build/e2e-screenshots/<test>/<name>.png,
        after `settle` seconds for new windows to paint. For looking at only."""
        time.sleep(settle)
        path = self._screenshot_folder() / f"{name}.png"
        path.parent.mkdir(parents=True, exist_ok=True)
        try:
            done = subprocess.run(["import", "-window", "root", str(path)], env=self.driver.env,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, timeout=30)
        except (OSError, subprocess.TimeoutExpired) as error:
            print(f"screenshot {name} failed: {error}", file=sys.stderr)
            return None
        if done.returncode != 0:
            print(f"screenshot {name} failed: {done.stderr.decode(errors='replace')}", file=sys.stderr)
            return None
        return path

    def move_pointer(self, x: int, y: int) -> None:
        """Moves the display's mouse pointer (xdotool), e.g. off a window whose
        tooltip would cover a screenshot."""
        subprocess.run(["xdotool", "mousemove", str(x), str(y)], env=self.driver.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30, check=True)

    def _screenshot_folder(self) -> Path:
        return SCREENSHOTS / f"{_qualified_name(type(self))}.{self._testMethodName}"

    def started_processes(self) -> list[int]:
        """The processes this test started and every process they started."""
        pids = list(self._started)
        entries = self.driver.processes()
        for pid in pids:  # grows while it is walked: children, then theirs
            pids += [entry["pid"] for entry in entries if entry["parent"] == pid and entry["pid"] not in pids]
        return pids

    def describe_windows(self) -> str:
        """The visible windows of this test's processes with their controls' texts."""
        lines = []
        for pid in self.started_processes():
            for window in self.driver.windows(pid):
                if not window.visible:
                    continue
                lines.append(f"[{window.pid}] {window.cls} {window.title!r} hwnd={window.hwnd}")
                for control in self.driver.controls(window.hwnd):
                    if control.visible:
                        lines.append(f"    {control.id:>5} {control.cls:<14} {control.text!r}")
        return "\n".join(lines)

    def _report_failure(self) -> None:
        try:
            shot = self.screenshot("FAILED")
            print(f"\n--- {self.id()} failed; screen: {shot}\n{self.describe_windows()}", file=sys.stderr)
        except Exception as error:  # the report must not hide the failure itself
            print(f"(could not describe the screen: {error})", file=sys.stderr)


def _qualified_name(test_class: type) -> str:
    """script.Class: test scripts run in parallel and may share class names."""
    module = sys.modules.get(test_class.__module__)
    script = Path(getattr(module, "__file__", None) or test_class.__module__).stem
    return f"{script}.{test_class.__name__}"


def _remove_stale_settings_folders(kestrel: Path) -> None:
    """Settings folders of test runs that were killed before their clean-up;
    a day old, so that no running test loses its folder."""
    day_ago = time.time() - 24 * 3600
    for folder in kestrel.glob("varo_e2e*"):
        if folder.is_dir() and folder.stat().st_mtime < day_ago:
            shutil.rmtree(folder, ignore_errors=True)


def _reporting_failures(test):
    """Wraps a test method: on a failure, screenshot and describe the screen
    while the test's windows are still there."""

    @functools.wraps(test)
    def run(self, *args, **kwargs):
        try:
            return test(self, *args, **kwargs)
        except unittest.SkipTest:
            raise
        except BaseException:
            self._report_failure()
            raise

    return run


def main() -> None:
    """Runs the tests of the calling script (ctest runs each script)."""
    unittest.main(module="__main__", verbosity=2)
