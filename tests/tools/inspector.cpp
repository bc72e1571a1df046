// inspector.exe: starts a program, watches what it shows, acts on it and
// reports everything as one JSON object on stdout (UTF-8, one line).
//
//   inspector.exe --exe PATH [--cwd DIR] [--args TEXT] [--timeout-ms N]
//                 [--settle-ms N] [--pixel X,Y]... [--screenshot FILE]
//                 [--screen-shot FILE] [--action ACTION]...
//
//   --exe PATH        program to start (CreateProcessW; its command line is
//                     "PATH" in quotes, then a blank and --args if given)
//   --cwd DIR         its current directory (default: the inspector's)
//   --timeout-ms N    the whole run's limit (default 10000); a process
//                     still running then is terminated and "timed_out" set
//   --settle-ms N     pause after the window appears and after each action,
//                     so the program can paint and react (default 300)
//   --children-ms N   once the program has ended, how long to wait for the
//                     programs it started (default 5000); they run in the
//                     inspector's job, and any still running then are ended
//   --pixel X,Y       colour at client point X,Y of the main window
//                     (GetPixel on GetDC(window)); repeatable
//   --screenshot FILE the main window's client area as a 24-bit BMP
//   --screen-shot FILE the whole screen as a 24-bit BMP
//   --action ACTION   done in order once the main window has appeared:
//       click:ID       BM_CLICK to the child with control ID (button i: 100+i)
//       close          WM_SYSCOMMAND SC_CLOSE to the main window
//       key:escape | key:enter | key:tab | key:shift+tab | key:alt+X
//                      the key to the focused control (posted messages, so
//                      the program's own loop must turn them into commands)
//       click-at:X,Y   left click at client point X,Y of the main window
//                      (posted to the visible child under it, if any)
//       hold-boxes     from now on record message boxes without answering
//       answer-boxes   answer the boxes held so far, and later ones again
//       wait-box       wait until the program has shown a message box
//       hover:ID       the mouse pointer to the middle of the child with
//                      control ID, then wait up to 3 s for one more
//                      tooltip to show;
//                      hover:0 to the main window's top-left corner, over
//                      no control
//       observe        record the main window again (as "window" is)
//       screenshot:FILE the client area now, as --screenshot
//       wait:MS        pause
//       wait-file:FILE pause until FILE exists (the test's signal)
//
// Watching: until the process ends or the time is up, every message box of
// the process (a top-level "#32770" without the splash window's buttons,
// control IDs 100-104) is recorded (title, text of its Static children,
// buttons) and answered with PostMessage(box, WM_COMMAND, IDOK, 0); more may
// follow. The first visible top-level window of the process that is not a
// message box is the main window: it is recorded with the pixels and the
// screenshot asked for, then the actions run. With no action given, the
// process is terminated once the window has been recorded ("terminated",
// "reason": "observed").
//
// Output (keys always present unless noted):
//   started, start_error, pid, message_boxes[], window (or null), window_ms,
//   steps[] {action, ok, t_ms, window_exists, focus, tips[] (the texts of
//   the program's visible tooltips), window (observe only)},
//   exited, exit_code (null when not exited), timed_out, terminated, reason,
//   job {tracked, total_processes (the program itself and all it started),
//   children_ended (some process other than Wine's own was still running
//   after --children-ms and was ended), processes[] {pid, parent_pid, image,
//   wine_own, running_at_end}: every process that was ever in
//   the job, the program first; image is "" when it ended before it could
//   be named}, elapsed_ms.
// A message box record: t_ms, hwnd, title, statics[], text, has_icon,
//   buttons[] {id, text}, owned_by_window, window_enabled (the main
//   window's state while the box was up; null before there is one).
// A window record: hwnd, title, class, style, exstyle, flags{caption,
//   sysmenu, minimizebox, maximizebox, thickframe, appwindow, toolwindow,
//   visible, enabled}, rect (window, screen), client{width,height},
//   client_origin (screen), monitor, work_area, dpi, dpi_source,
//   controls[] {hwnd, id, class, text, rect (client coordinates), visible,
//   enabled, default, tabstop, style}, focus {hwnd, id, class, text} or null,
//   pixels[] {x, y, rgb[3], hex}, screenshot.
// Rects are {left, top, right, bottom, width, height}.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bmp_writer.h"
#include "job_watch.h"
#include "json_writer.h"

namespace {

struct Point {
    int x = 0;
    int y = 0;
};

struct Options {
    std::wstring exe;
    std::wstring cwd;
    std::wstring args;
    DWORD timeoutMs = 10000;
    DWORD settleMs = 300;
    DWORD childrenMs = 5000;
    std::vector<Point> pixels;
    std::wstring screenshot;
    std::wstring screenShot;
    std::vector<std::wstring> actions;
};

bool ParsePoint(const std::wstring& text, Point& point) {
    return swscanf(text.c_str(), L"%d,%d", &point.x, &point.y) == 2;
}

bool ParseOptions(int argc, wchar_t** argv, Options& options, std::wstring& error) {
    for (int i = 1; i < argc; ++i) {
        std::wstring name = argv[i];
        if (i + 1 >= argc) {
            error = L"missing value after " + name;
            return false;
        }
        std::wstring value = argv[++i];
        Point point;
        if (name == L"--exe") options.exe = value;
        else if (name == L"--cwd") options.cwd = value;
        else if (name == L"--args") options.args = value;
        else if (name == L"--timeout-ms") options.timeoutMs = static_cast<DWORD>(_wtoi(value.c_str()));
        else if (name == L"--settle-ms") options.settleMs = static_cast<DWORD>(_wtoi(value.c_str()));
        else if (name == L"--children-ms") options.childrenMs = static_cast<DWORD>(_wtoi(value.c_str()));
        else if (name == L"--pixel" && ParsePoint(value, point)) options.pixels.push_back(point);
        else if (name == L"--screenshot") options.screenshot = value;
        else if (name == L"--screen-shot") options.screenShot = value;
        else if (name == L"--action") options.actions.push_back(value);
        else {
            error = L"unknown option or bad value: " + name + L" " + value;
            return false;
        }
    }
    if (options.exe.empty()) {
        error = L"--exe is required";
        return false;
    }
    return true;
}

std::wstring WindowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int written = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(written > 0 ? written : 0));
    return text;
}

std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring Hex(unsigned long long value) {
    wchar_t text[32];
    swprintf(text, 32, L"0x%llx", value);
    return text;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    return children;
}

std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
    struct Search {
        DWORD processId;
        std::vector<HWND> found;
    } search{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* s = reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->processId) s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The splash window's buttons carry IDs 100-104; a message box has none of
// them, so a dialog-class main window is not taken for a box.
bool IsMessageBox(HWND window) {
    if (ClassName(window) != L"#32770") return false;
    for (HWND child : Children(window)) {
        int id = GetDlgCtrlID(child);
        if (id >= 100 && id <= 104) return false;
    }
    return true;
}

void WriteRect(JsonWriter& json, const RECT& r) {
    json.BeginObject();
    json.Key("left").Number(r.left).Key("top").Number(r.top);
    json.Key("right").Number(r.right).Key("bottom").Number(r.bottom);
    json.Key("width").Number(r.right - r.left).Key("height").Number(r.bottom - r.top);
    json.EndObject();
}

bool IsButtonClass(const std::wstring& name) { return _wcsicmp(name.c_str(), L"Button") == 0; }

void WriteMessageBox(JsonWriter& json, HWND box, HWND mainWindow, DWORD tMs) {
    json.BeginObject();
    json.Key("t_ms").Number(tMs);
    json.Key("hwnd").String(Hex(reinterpret_cast<UINT_PTR>(box)));
    json.Key("title").String(WindowText(box));
    std::wstring text;
    bool hasIcon = false;
    json.Key("statics").BeginArray();
    std::vector<HWND> children = Children(box);
    for (HWND child : children) {
        if (_wcsicmp(ClassName(child).c_str(), L"Static") != 0) continue;
        LONG style = GetWindowLongW(child, GWL_STYLE);
        if ((style & SS_TYPEMASK) == SS_ICON) hasIcon = true;
        std::wstring piece = WindowText(child);
        if (piece.empty()) continue;
        json.String(piece);
        if (!text.empty()) text += L"\n";
        text += piece;
    }
    json.EndArray();
    json.Key("text").String(text);
    json.Key("has_icon").Bool(hasIcon);
    json.Key("buttons").BeginArray();
    for (HWND child : children) {
        if (!IsButtonClass(ClassName(child))) continue;
        if (!(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE)) continue;
        json.BeginObject();
        json.Key("id").Number(GetDlgCtrlID(child)).Key("text").String(WindowText(child));
        json.EndObject();
    }
    json.EndArray();
    HWND owner = GetWindow(box, GW_OWNER);
    json.Key("owned_by_window").Bool(owner != nullptr && owner == mainWindow);
    // Whether the main window (if any) takes input while the box is up.
    json.Key("window_enabled");
    if (mainWindow && IsWindow(mainWindow)) json.Bool(IsWindowEnabled(mainWindow)); else json.Null();
    json.EndObject();
}

void WriteControlRef(JsonWriter& json, HWND control) {
    if (!control) {
        json.Null();
        return;
    }
    json.BeginObject();
    json.Key("hwnd").String(Hex(reinterpret_cast<UINT_PTR>(control)));
    json.Key("id").Number(GetDlgCtrlID(control));
    json.Key("class").String(ClassName(control));
    json.Key("text").String(WindowText(control));
    json.EndObject();
}

HWND FocusedControl(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (!GetGUIThreadInfo(thread, &info)) return nullptr;
    return info.hwndFocus;
}

UINT WindowDpi(HWND window, const char*& source) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow) {
        if (UINT dpi = getDpiForWindow(window)) {
            source = "GetDpiForWindow";
            return dpi;
        }
    }
    source = "LOGPIXELSX";
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}

void WritePixels(JsonWriter& json, HWND window, const std::vector<Point>& points) {
    json.Key("pixels").BeginArray();
    HDC dc = GetDC(window);
    for (const Point& p : points) {
        COLORREF colour = GetPixel(dc, p.x, p.y);
        json.BeginObject();
        json.Key("x").Number(p.x).Key("y").Number(p.y);
        if (colour == CLR_INVALID) {
            json.Key("rgb").Null().Key("hex").Null();
        } else {
            json.Key("rgb").BeginArray();
            json.Number(GetRValue(colour)).Number(GetGValue(colour)).Number(GetBValue(colour));
            json.EndArray();
            wchar_t hex[8];
            swprintf(hex, 8, L"#%02x%02x%02x", GetRValue(colour), GetGValue(colour), GetBValue(colour));
            json.Key("hex").String(hex);
        }
        json.EndObject();
    }
    ReleaseDC(window, dc);
    json.EndArray();
}

void WriteWindow(JsonWriter& json, HWND window, const Options& options, const std::wstring& screenshot) {
    json.BeginObject();
    json.Key("hwnd").String(Hex(reinterpret_cast<UINT_PTR>(window)));
    json.Key("title").String(WindowText(window));
    json.Key("class").String(ClassName(window));
    LONG style = GetWindowLongW(window, GWL_STYLE);
    LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    json.Key("style").String(Hex(static_cast<ULONG>(style)));
    json.Key("exstyle").String(Hex(static_cast<ULONG>(exStyle)));
    json.Key("flags").BeginObject();
    json.Key("caption").Bool((style & WS_CAPTION) == WS_CAPTION);
    json.Key("sysmenu").Bool(style & WS_SYSMENU);
    json.Key("minimizebox").Bool(style & WS_MINIMIZEBOX);
    json.Key("maximizebox").Bool(style & WS_MAXIMIZEBOX);
    json.Key("thickframe").Bool(style & WS_THICKFRAME);
    json.Key("dlgframe").Bool(style & WS_DLGFRAME);
    json.Key("appwindow").Bool(exStyle & WS_EX_APPWINDOW);
    json.Key("toolwindow").Bool(exStyle & WS_EX_TOOLWINDOW);
    json.Key("visible").Bool(IsWindowVisible(window));
    json.Key("enabled").Bool(IsWindowEnabled(window));
    json.EndObject();

    RECT rect{};
    GetWindowRect(window, &rect);
    json.Key("rect");
    WriteRect(json, rect);
    RECT client{};
    GetClientRect(window, &client);
    json.Key("client").BeginObject();
    json.Key("width").Number(client.right).Key("height").Number(client.bottom);
    json.EndObject();
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    json.Key("client_origin").BeginObject().Key("x").Number(origin.x).Key("y").Number(origin.y).EndObject();

    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    json.Key("monitor");
    WriteRect(json, monitor.rcMonitor);
    json.Key("work_area");
    WriteRect(json, monitor.rcWork);
    const char* dpiSource = "";
    UINT dpi = WindowDpi(window, dpiSource);
    json.Key("dpi").Number(dpi);
    json.Key("dpi_source").String(std::wstring(dpiSource, dpiSource + strlen(dpiSource)));

    json.Key("controls").BeginArray();
    for (HWND child : Children(window)) {
        LONG childStyle = GetWindowLongW(child, GWL_STYLE);
        std::wstring className = ClassName(child);
        RECT childRect{};
        GetWindowRect(child, &childRect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&childRect), 2);
        json.BeginObject();
        json.Key("hwnd").String(Hex(reinterpret_cast<UINT_PTR>(child)));
        json.Key("id").Number(GetDlgCtrlID(child));
        json.Key("class").String(className);
        json.Key("text").String(WindowText(child));
        json.Key("rect");
        WriteRect(json, childRect);
        json.Key("visible").Bool(childStyle & WS_VISIBLE);
        json.Key("enabled").Bool(IsWindowEnabled(child));
        json.Key("default").Bool(IsButtonClass(className) && (childStyle & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
        json.Key("tabstop").Bool(childStyle & WS_TABSTOP);
        json.Key("style").String(Hex(static_cast<ULONG>(childStyle)));
        json.EndObject();
    }
    json.EndArray();
    json.Key("focus");
    WriteControlRef(json, FocusedControl(window));
    WritePixels(json, window, options.pixels);
    if (!screenshot.empty()) {
        json.Key("screenshot").String(screenshot);
        json.Key("screenshot_ok").Bool(SaveClientScreenshot(window, screenshot));
    }
    json.EndObject();
}

class Clock {
public:
    Clock() : start_(GetTickCount64()) {}
    DWORD Elapsed() const { return static_cast<DWORD>(GetTickCount64() - start_); }

private:
    ULONGLONG start_;
};

// Lets the program catch up with what it was sent: its thread has answered
// once it returns to its message loop, then it gets time to paint.
void Settle(HWND window, DWORD settleMs) {
    DWORD_PTR ignored = 0;
    if (window && IsWindow(window)) SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
    Sleep(settleMs);
    if (window && IsWindow(window)) SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
}

void PostKey(HWND target, UINT key) {
    UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
    LPARAM up = down | (1LL << 30) | (1LL << 31);
    PostMessageW(target, WM_KEYDOWN, key, down);
    PostMessageW(target, WM_KEYUP, key, up);
}

// Shift+Tab: the program asks GetKeyState(VK_SHIFT) when it reads the Tab,
// so the inspector shares the program's input state for that moment.
bool PostShiftTab(HWND target, DWORD settleMs) {
    DWORD targetThread = GetWindowThreadProcessId(target, nullptr);
    DWORD ownThread = GetCurrentThreadId();
    if (!AttachThreadInput(ownThread, targetThread, TRUE)) return false;
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    BYTE saved[256];
    memcpy(saved, keys, sizeof keys);
    keys[VK_SHIFT] = keys[VK_LSHIFT] = 0x80;
    SetKeyboardState(keys);
    PostKey(target, VK_TAB);
    Sleep(settleMs > 200 ? settleMs : 200);
    SetKeyboardState(saved);
    AttachThreadInput(ownThread, targetThread, FALSE);
    return true;
}

void PostAltLetter(HWND target, wchar_t letter) {
    UINT key = static_cast<UINT>(towupper(letter));
    UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    LPARAM context = (1LL << 29) | 1 | (static_cast<LPARAM>(scan) << 16);
    PostMessageW(target, WM_SYSKEYDOWN, key, context);
    PostMessageW(target, WM_SYSCHAR, letter, context);
    PostMessageW(target, WM_SYSKEYUP, key, context | (1LL << 30) | (1LL << 31));
}

void PostClickAt(HWND window, Point point) {
    POINT client{point.x, point.y};
    HWND target = ChildWindowFromPointEx(window, client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (!target) target = window;
    POINT local = client;
    if (target != window) MapWindowPoints(window, target, &local, 1);
    LPARAM at = MAKELPARAM(local.x, local.y);
    PostMessageW(target, WM_MOUSEMOVE, 0, at);
    PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(target, WM_LBUTTONUP, 0, at);
}

HWND ControlById(HWND window, int id) {
    for (HWND child : Children(window))
        if (GetDlgCtrlID(child) == id) return child;
    return nullptr;
}

// The texts of the process's visible tooltip controls. A tooltip answers
// WM_GETTEXT with the tip it shows.
std::vector<std::wstring> VisibleTips(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    std::vector<std::wstring> tips;
    for (HWND tip : TopLevelWindowsOf(processId)) {
        if (!IsWindowVisible(tip) || _wcsicmp(ClassName(tip).c_str(), L"tooltips_class32") != 0) continue;
        wchar_t text[512] = {};
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(tip, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &ignored);
        tips.push_back(text);
    }
    return tips;
}

// The pointer really moves (a tooltip asks where it is before it shows);
// the posted move reaches the control even when the X server is slow.
bool Hover(HWND window, HWND control) {
    RECT rect{};
    GetWindowRect(control ? control : window, &rect);
    POINT at{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    if (!control) {
        at = POINT{0, 0};
        ClientToScreen(window, &at);
    }
    const std::size_t shown = VisibleTips(window).size();
    if (!SetCursorPos(at.x, at.y)) return false;
    if (!control) return true;
    ScreenToClient(control, &at);
    PostMessageW(control, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    Clock waited;
    while (VisibleTips(window).size() <= shown && waited.Elapsed() < 3000) Sleep(50);
    return true;
}

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
    return text.rfind(prefix, 0) == 0;
}

// Carries out one action; false with a reason when it could not be sent.
bool DoAction(const std::wstring& action, HWND window, const Options& options, std::wstring& error) {
    if (!IsWindow(window)) {
        error = L"the window is gone";
        return false;
    }
    HWND focus = FocusedControl(window);
    HWND keyTarget = focus ? focus : window;
    if (StartsWith(action, L"click:")) {
        HWND button = ControlById(window, _wtoi(action.c_str() + 6));
        if (!button) {
            error = L"no control with that ID";
            return false;
        }
        return PostMessageW(button, BM_CLICK, 0, 0);
    }
    if (action == L"close") return PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (action == L"key:escape") return PostKey(keyTarget, VK_ESCAPE), true;
    if (action == L"key:enter") return PostKey(keyTarget, VK_RETURN), true;
    if (action == L"key:tab") return PostKey(keyTarget, VK_TAB), true;
    if (action == L"key:shift+tab") {
        if (PostShiftTab(keyTarget, options.settleMs)) return true;
        error = L"AttachThreadInput failed";
        return false;
    }
    if (StartsWith(action, L"key:alt+") && action.size() == 9) return PostAltLetter(keyTarget, action[8]), true;
    if (StartsWith(action, L"click-at:")) {
        Point point;
        if (!ParsePoint(action.substr(9), point)) {
            error = L"bad point";
            return false;
        }
        PostClickAt(window, point);
        return true;
    }
    if (StartsWith(action, L"hover:")) {
        int id = _wtoi(action.c_str() + 6);
        HWND control = id ? ControlById(window, id) : nullptr;
        if ((id && !control) || !Hover(window, control)) {
            error = L"no control with that ID, or the pointer would not move";
            return false;
        }
        return true;
    }
    if (StartsWith(action, L"wait:")) {
        Sleep(static_cast<DWORD>(_wtoi(action.c_str() + 5)));
        return true;
    }
    if (StartsWith(action, L"wait-file:")) {
        // The test says when it is done with the window; the run's limit
        // still ends a test that never says so.
        while (GetFileAttributesW(action.c_str() + 10) == INVALID_FILE_ATTRIBUTES) Sleep(50);
        return true;
    }
    if (action == L"observe" || StartsWith(action, L"screenshot:")) return true;
    error = L"unknown action";
    return false;
}

// Processes Wine starts for itself: its services, device and plug-and-play
// managers, the console host, menu and tray helpers. (Its desktop is an
// explorer.exe too, but the inspector starts that before the program, so
// an explorer.exe in the job is a folder window the program opened.)
bool IsWineOwnProcess(const std::wstring& image) {
    static const wchar_t* const kNames[] = {
        L"services.exe", L"winedevice.exe", L"plugplay.exe", L"svchost.exe", L"rpcss.exe",
        L"conhost.exe", L"winemenubuilder.exe", L"tabtip.exe", L"wineboot.exe", L"start.exe",
    };
    for (const wchar_t* name : kNames)
        if (_wcsicmp(image.c_str(), name) == 0) return true;
    return false;
}

// The desktop window and the service manager, as the program would start
// them on its first window or service call. Under Wine the first process of
// a session to want the desktop starts Wine's desktop process; asked for
// here, it is started (and waited for) before the program under test, which
// would otherwise count it as a program it started.
void StartWineSession() {
    GetDesktopWindow();
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (manager) CloseServiceHandle(manager);
}

void WriteStdout(const std::string& text) {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

class Run {
public:
    explicit Run(const Options& options) : options_(options) {}

    std::string Report() {
        json_.BeginObject();
        if (!Start()) {
            json_.Key("started").Bool(false).Key("start_error").Number(startError_);
            json_.Key("elapsed_ms").Number(clock_.Elapsed());
            json_.EndObject();
            return json_.Utf8();
        }
        json_.Key("started").Bool(true).Key("start_error").Number(0);
        json_.Key("pid").Number(process_.dwProcessId);
        json_.Key("message_boxes").BeginArray();
        Watch();
        json_.EndArray();
        json_.Key("window");
        if (window_) json_.Raw(windowJson_); else json_.Null();
        json_.Key("window_ms").Number(windowMs_);
        json_.Key("steps").BeginArray();
        json_.Raw(stepsJson_);
        json_.EndArray();
        Finish();
        json_.EndObject();
        return json_.Utf8();
    }

private:
    // The program runs in a job of its own, so everything it starts can be
    // named, waited for and, if need be, ended with it. Wine's desktop and
    // services are brought up first, by the inspector: a Wine process that
    // the program's first window or system call would start otherwise
    // becomes its child and joins its job.
    bool Start() {
        StartWineSession();
        std::wstring commandLine = L"\"" + options_.exe + L"\"";
        if (!options_.args.empty()) commandLine += L" " + options_.args;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessW(options_.exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                            nullptr, options_.cwd.empty() ? nullptr : options_.cwd.c_str(), &startup, &process_)) {
            startError_ = GetLastError();
            return false;
        }
        job_.Add(process_.hProcess, process_.dwProcessId);
        ResumeThread(process_.hThread);
        CloseHandle(process_.hThread);
        return true;
    }

    // Programs the launcher started get time to finish (a probe writes its
    // log line); whatever still runs then is ended with the job. Wine's own
    // processes, should one have joined anyway, are not waited for.
    void WriteJob() {
        json_.Key("job").BeginObject();
        json_.Key("tracked").Bool(job_.Tracked());
        bool ended = false;
        if (job_.Tracked()) {
            bool finished = job_.WaitForMembers(options_.childrenMs, [](const JobWatch::Member& member) {
                return IsWineOwnProcess(member.image);
            });
            if (!finished) ended = job_.EndRemaining();
        }
        json_.Key("total_processes").Number(job_.TotalProcesses());
        json_.Key("children_ended").Bool(ended);
        json_.Key("processes").BeginArray();
        for (const JobWatch::Member& member : job_.Members()) {
            json_.BeginObject();
            json_.Key("pid").Number(member.pid).Key("parent_pid").Number(member.parentPid);
            json_.Key("image").String(member.image);
            json_.Key("wine_own").Bool(IsWineOwnProcess(member.image));
            json_.Key("running_at_end").Bool(member.runningAtEnd);
            json_.EndObject();
        }
        json_.EndArray();
        json_.EndObject();
    }

    bool TimeLeft() const { return clock_.Elapsed() < options_.timeoutMs; }
    bool Exited() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; }

    // Answers every new message box; returns a visible main window if one
    // has appeared.
    HWND Scan() {
        HWND candidate = nullptr;
        for (HWND window : TopLevelWindowsOf(process_.dwProcessId)) {
            if (!IsWindowVisible(window)) continue;
            if (IsMessageBox(window)) {
                bool seen = false;
                for (HWND box : answeredBoxes_) seen = seen || box == window;
                if (seen) continue;
                answeredBoxes_.push_back(window);
                WriteMessageBox(json_, window, window_, clock_.Elapsed());
                if (!holdBoxes_) PostMessageW(window, WM_COMMAND, IDOK, 0);
            } else if (!candidate) {
                candidate = window;
            }
        }
        return candidate;
    }

    void Watch() {
        while (TimeLeft() && !Exited()) {
            HWND found = Scan();
            if (found && !window_) {
                window_ = found;
                windowMs_ = clock_.Elapsed();
                WaitForInputIdle(process_.hProcess, 2000);
                Settle(window_, options_.settleMs);
                JsonWriter window;
                WriteWindow(window, window_, options_, options_.screenshot);
                windowJson_ = window.Utf8();
                if (!options_.screenShot.empty()) SaveScreenScreenshot(options_.screenShot);
                if (options_.actions.empty()) {
                    reason_ = "observed";
                    return;
                }
                RunActions();
                continue;
            }
            job_.Refresh();
            WaitForSingleObject(process_.hProcess, 50);
        }
    }

    void RunActions() {
        JsonWriter steps;
        for (const std::wstring& action : options_.actions) {
            if (Exited()) break;
            Scan();
            std::wstring error;
            bool ok = true;
            if (action == L"hold-boxes") holdBoxes_ = true;
            else if (action == L"answer-boxes") AnswerHeldBoxes();
            else if (action == L"wait-box") ok = WaitForBox(error);
            else ok = DoAction(action, window_, options_, error);
            steps.BeginObject();
            steps.Key("action").String(action);
            steps.Key("ok").Bool(ok);
            if (!ok) steps.Key("error").String(error);
            steps.Key("t_ms").Number(clock_.Elapsed());
            if (ok && !StartsWith(action, L"wait")) Settle(window_, options_.settleMs);
            bool exists = IsWindow(window_) && !Exited();
            steps.Key("window_exists").Bool(exists);
            steps.Key("focus");
            WriteControlRef(steps, exists ? FocusedControl(window_) : nullptr);
            steps.Key("tips").BeginArray();
            if (exists)
                for (const std::wstring& tip : VisibleTips(window_)) steps.String(tip);
            steps.EndArray();
            if (exists && action == L"observe") {
                steps.Key("window");
                WriteWindow(steps, window_, options_, L"");
            }
            if (exists && StartsWith(action, L"screenshot:")) {
                steps.Key("screenshot_ok").Bool(SaveClientScreenshot(window_, action.substr(11)));
            }
            steps.EndObject();
        }
        stepsJson_ = steps.Utf8();
    }

    bool WaitForBox(std::wstring& error) {
        while (answeredBoxes_.empty() && TimeLeft() && !Exited()) {
            Sleep(20);
            Scan();
        }
        if (!answeredBoxes_.empty()) return true;
        error = L"no message box came up";
        return false;
    }

    void AnswerHeldBoxes() {
        holdBoxes_ = false;
        for (HWND box : answeredBoxes_)
            if (IsWindow(box)) PostMessageW(box, WM_COMMAND, IDOK, 0);
    }

    void Finish() {
        bool exited = Exited();
        bool terminated = false;
        if (!exited) {
            // Only the process this run started, by its handle.
            terminated = TerminateProcess(process_.hProcess, 255);
            WaitForSingleObject(process_.hProcess, 2000);
        }
        json_.Key("exited").Bool(exited);
        DWORD code = 0;
        json_.Key("exit_code");
        if (exited && GetExitCodeProcess(process_.hProcess, &code)) json_.Number(code); else json_.Null();
        json_.Key("timed_out").Bool(!exited && reason_.empty());
        json_.Key("terminated").Bool(terminated);
        json_.Key("reason").String(std::wstring(reason_.begin(), reason_.end()));
        CloseHandle(process_.hProcess);
        WriteJob();
        json_.Key("elapsed_ms").Number(clock_.Elapsed());
    }

    const Options& options_;
    JsonWriter json_;
    Clock clock_;
    PROCESS_INFORMATION process_{};
    JobWatch job_;
    DWORD startError_ = 0;
    std::vector<HWND> answeredBoxes_;   // every box seen, answered or held
    bool holdBoxes_ = false;
    HWND window_ = nullptr;
    DWORD windowMs_ = 0;
    std::string windowJson_;
    std::string stepsJson_;
    std::string reason_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Options options;
    std::wstring error;
    if (!ParseOptions(argc, argv, options, error)) {
        JsonWriter json;
        json.BeginObject().Key("usage_error").String(error).EndObject();
        WriteStdout(json.Utf8() + "\n");
        return 2;
    }
    Run run(options);
    WriteStdout(run.Report() + "\n");
    return 0;
}
