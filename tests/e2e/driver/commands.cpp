#include "commands.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <string_view>

#include "list_controls.h"
#include "tab_control.h"
#include "text.h"
#include "tree_view.h"
#include "window_query.h"

namespace {

using Object = JsonValue::Object;
using Array = JsonValue::Array;

constexpr std::int64_t kDefaultTimeoutMs = 10000;
constexpr std::int64_t kMaxTimeoutMs = 600000;
constexpr DWORD kPollMs = 15;
constexpr UINT kSendTimeoutMs = 5000;

Object Failure(std::string message) {
    return Object{{"error", JsonValue(std::move(message))}};
}

std::string SystemErrorMessage(std::string_view what, DWORD error) {
    return std::string(what) + " failed with system error " + std::to_string(error);
}

// Window handles travel as JSON numbers.
std::int64_t HandleNumber(HWND window) {
    return static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(window));
}
HWND HandleFromNumber(std::int64_t number) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(number));
}

// The request's members with the conversions every command needs.
class Args {
public:
    explicit Args(const JsonValue& request) : request_(request) {}

    std::optional<std::int64_t> Integer(std::string_view name) const {
        const JsonValue* value = request_.Find(name);
        return value ? value->AsInteger() : std::nullopt;
    }

    std::optional<std::wstring> Text(std::string_view name) const {
        const JsonValue* value = request_.Find(name);
        if (!value || !value->AsText()) return std::nullopt;
        return Utf8ToWideLossy(*value->AsText());
    }

    bool Flag(std::string_view name, bool fallback) const {
        const JsonValue* value = request_.Find(name);
        const std::optional<bool> flag = value ? value->AsBool() : std::nullopt;
        return flag.value_or(fallback);
    }

    DWORD TimeoutMs() const {
        return static_cast<DWORD>(
            std::clamp<std::int64_t>(Integer("timeout_ms").value_or(kDefaultTimeoutMs), 0, kMaxTimeoutMs));
    }

    // A list of window handles ("exclude": windows the caller has dealt with).
    std::vector<HWND> Handles(std::string_view name) const {
        std::vector<HWND> handles;
        const JsonValue* value = request_.Find(name);
        if (!value || !value->AsArray()) return handles;
        for (const JsonValue& item : *value->AsArray())
            if (const std::optional<std::int64_t> number = item.AsInteger())
                handles.push_back(HandleFromNumber(*number));
        return handles;
    }

    // A list of texts ("files").
    std::vector<std::wstring> Texts(std::string_view name) const {
        std::vector<std::wstring> texts;
        const JsonValue* value = request_.Find(name);
        if (!value || !value->AsArray()) return texts;
        for (const JsonValue& item : *value->AsArray())
            if (item.AsText()) texts.push_back(Utf8ToWideLossy(*item.AsText()));
        return texts;
    }

    // An object of texts ("env": variable names and values).
    EnvironmentVariables Variables(std::string_view name) const {
        EnvironmentVariables variables;
        const JsonValue* value = request_.Find(name);
        if (!value || !value->AsObject()) return variables;
        for (const auto& [key, item] : *value->AsObject())
            if (item.AsText()) variables.emplace_back(Utf8ToWideLossy(key), Utf8ToWideLossy(*item.AsText()));
        return variables;
    }

    // "hwnd", narrowed by "id" or "text" to one of its controls.
    HWND Target(std::string* error) const {
        const std::optional<std::int64_t> number = Integer("hwnd");
        if (!number) {
            *error = "missing hwnd";
            return nullptr;
        }
        HWND window = HandleFromNumber(*number);
        if (!::IsWindow(window)) {
            *error = "no such window";
            return nullptr;
        }
        if (const std::optional<std::int64_t> id = Integer("id")) {
            HWND control = FindControlById(window, static_cast<int>(*id));
            if (!control) *error = "no control with id " + std::to_string(*id);
            return control;
        }
        if (const std::optional<std::wstring> text = Text("text")) {
            HWND control = FindControlByText(window, *text);
            if (!control) *error = "no control with that text";
            return control;
        }
        return window;
    }

private:
    // Texts from the test may hold anything; invalid UTF-8 must not empty them.
    static std::wstring Utf8ToWideLossy(std::string_view text) {
        if (text.empty()) return {};
        const int size = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
        std::wstring out(static_cast<std::size_t>(size), L'\0');
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
        return out;
    }

    const JsonValue& request_;
};

// Polls until found() gives a value or the time is up.
template <typename Found>
auto PollUntil(DWORD timeoutMs, Found found) -> decltype(found()) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (auto value = found()) return value;
        if (::GetTickCount64() >= deadline) return {};
        ::Sleep(kPollMs);
    }
}

Object RectObject(const RECT& rect) {
    return Object{{"left", JsonValue(static_cast<int>(rect.left))},
                  {"top", JsonValue(static_cast<int>(rect.top))},
                  {"right", JsonValue(static_cast<int>(rect.right))},
                  {"bottom", JsonValue(static_cast<int>(rect.bottom))}};
}

Object DescribeWindow(HWND window) {
    return Object{{"hwnd", JsonValue(HandleNumber(window))},
                  {"class", JsonValue(std::wstring_view(ClassNameOf(window)))},
                  {"title", JsonValue(std::wstring_view(WindowText(window).value_or(L"")))},
                  {"pid", JsonValue(static_cast<std::uint32_t>(ProcessOf(window)))},
                  {"visible", JsonValue(::IsWindowVisible(window) != FALSE)},
                  {"enabled", JsonValue(::IsWindowEnabled(window) != FALSE)}};
}

Object DescribeControl(HWND control) {
    return Object{{"hwnd", JsonValue(HandleNumber(control))},
                  {"id", JsonValue(::GetDlgCtrlID(control))},
                  {"class", JsonValue(std::wstring_view(ClassNameOf(control)))},
                  {"text", JsonValue(std::wstring_view(WindowText(control).value_or(L"")))},
                  {"visible", JsonValue(::IsWindowVisible(control) != FALSE)},
                  {"enabled", JsonValue(::IsWindowEnabled(control) != FALSE)},
                  {"parent", JsonValue(HandleNumber(::GetParent(control)))},
                  {"style", JsonValue(static_cast<std::uint32_t>(::GetWindowLongW(control, GWL_STYLE)))}};
}

bool IsButton(HWND control) {
    return EqualsNoCase(ClassNameOf(control), L"Button");
}

// Pressing needs what a person needs: the control can be seen and is
// enabled, and so is its window (a modal window disables its owner).
std::string WhyNotPressable(HWND control) {
    if (!::IsWindowVisible(control)) return "the control is not visible";
    if (!::IsWindowEnabled(control)) return "the control is disabled";
    if (!::IsWindowEnabled(::GetAncestor(control, GA_ROOT))) return "the window is disabled";
    return {};
}

LPARAM CentreOf(HWND control) {
    RECT client = {};
    ::GetClientRect(control, &client);
    return MAKELPARAM((client.right - client.left) / 2, (client.bottom - client.top) / 2);
}

// ---- commands ---------------------------------------------------------

Object OnPing(DriverSession&, const Args&) {
    return Object{{"pong", JsonValue(true)}};
}

Object OnQuit(DriverSession& session, const Args&) {
    session.quitRequested = true;
    return {};
}

Object OnStart(DriverSession& session, const Args& args) {
    const std::optional<std::wstring> exe = args.Text("exe");
    if (!exe || exe->empty()) return Failure("missing exe");
    DWORD error = 0;
    const std::optional<DWORD> pid = session.processes.Start(
        *exe, args.Text("args").value_or(L""), args.Text("cwd").value_or(L""), args.Variables("env"), &error);
    if (!pid) return Failure(SystemErrorMessage("CreateProcess", error));
    return Object{{"pid", JsonValue(static_cast<std::uint32_t>(*pid))}};
}

Object OnWaitExit(DriverSession& session, const Args& args) {
    const std::optional<std::int64_t> pid = args.Integer("pid");
    if (!pid) return Failure("missing pid");
    DWORD error = 0;
    const std::optional<ExitWait> wait = session.processes.WaitExit(static_cast<DWORD>(*pid), args.TimeoutMs(), &error);
    if (!wait) return Failure(SystemErrorMessage("OpenProcess", error));
    if (!wait->exited) return Object{{"exited", JsonValue(false)}};
    // Exit codes are signed for the programs (-1 after a failed start).
    return Object{{"exited", JsonValue(true)},
                  {"exit_code", JsonValue(static_cast<std::int64_t>(static_cast<std::int32_t>(wait->exitCode)))}};
}

Object OnKill(DriverSession& session, const Args& args) {
    const std::optional<std::int64_t> pid = args.Integer("pid");
    if (!pid) return Failure("missing pid");
    DWORD error = 0;
    if (!session.processes.Kill(static_cast<DWORD>(*pid), &error)) return Failure(SystemErrorMessage("Kill", error));
    return {};
}

Object OnProcesses(DriverSession&, const Args&) {
    Array list;
    for (const ProcessEntry& entry : ListProcesses())
        list.push_back(Object{{"pid", JsonValue(static_cast<std::uint32_t>(entry.pid))},
                              {"parent", JsonValue(static_cast<std::uint32_t>(entry.parentPid))},
                              {"exe", JsonValue(std::wstring_view(entry.exeName))}});
    return Object{{"processes", JsonValue(std::move(list))}};
}

Object OnWindows(DriverSession&, const Args& args) {
    Array list;
    for (HWND window : TopLevelWindows(static_cast<DWORD>(args.Integer("pid").value_or(0))))
        list.push_back(DescribeWindow(window));
    return Object{{"windows", JsonValue(std::move(list))}};
}

Object OnWaitWindow(DriverSession&, const Args& args) {
    WindowPattern pattern;
    pattern.pid = static_cast<DWORD>(args.Integer("pid").value_or(0));
    pattern.className = args.Text("class");
    pattern.title = args.Text("title");
    if (const std::optional<std::int64_t> id = args.Integer("child_id")) pattern.childId = static_cast<int>(*id);
    pattern.childClass = args.Text("child_class");
    pattern.messageBoxOnly = args.Flag("message_box", false);
    pattern.visibleOnly = args.Flag("visible", true);
    pattern.excluded = args.Handles("exclude");
    HWND window = PollUntil(args.TimeoutMs(), [&]() -> HWND { return FindTopLevel(pattern); });
    if (!window) return Failure("timed out waiting for the window");
    return DescribeWindow(window);
}

Object OnWaitGone(DriverSession&, const Args& args) {
    const std::optional<std::int64_t> number = args.Integer("hwnd");
    if (!number) return Failure("missing hwnd");
    HWND window = HandleFromNumber(*number);
    const bool gone = PollUntil(args.TimeoutMs(), [&] { return !::IsWindow(window) || !::IsWindowVisible(window); });
    if (!gone) return Failure("timed out waiting for the window to go");
    return {};
}

Object OnText(DriverSession&, const Args& args) {
    std::string error;
    HWND target = args.Target(&error);
    if (!target) return Failure(error);
    const std::optional<std::wstring> text = WindowText(target);
    if (!text) return Failure(SystemErrorMessage("WM_GETTEXT", ::GetLastError()));
    return Object{{"text", JsonValue(std::wstring_view(*text))}};
}

Object OnControls(DriverSession&, const Args& args) {
    std::string error;
    HWND target = args.Target(&error);
    if (!target) return Failure(error);
    Array list;
    for (HWND control : Descendants(target)) list.push_back(DescribeControl(control));
    return Object{{"controls", JsonValue(std::move(list))}};
}

Object OnMessageBox(DriverSession&, const Args& args) {
    std::string error;
    HWND box = args.Target(&error);
    if (!box) return Failure(error);
    if (!IsMessageBox(box)) return Failure("not a message box");
    HWND textControl = ::GetDlgItem(box, kMessageBoxTextId);
    Array buttons;
    for (HWND control : Descendants(box)) {
        if (!IsButton(control) || !::IsWindowVisible(control)) continue;
        buttons.push_back(Object{{"id", JsonValue(::GetDlgCtrlID(control))},
                                 {"text", JsonValue(std::wstring_view(WindowText(control).value_or(L"")))}});
    }
    Object described = DescribeWindow(box);
    described["text"] = JsonValue(std::wstring_view(WindowText(textControl).value_or(L"")));
    described["buttons"] = JsonValue(std::move(buttons));
    return described;
}

// Buttons get BM_CLICK; anything else (a notifying static) a left click at
// its centre. Posted, not sent: the press may open a modal box in the target,
// and a sent message would wait for that box to close.
Object OnPress(DriverSession&, const Args& args) {
    std::string error;
    HWND control = args.Target(&error);
    if (!control) return Failure(error);
    if (std::string why = WhyNotPressable(control); !why.empty()) return Failure(why);
    if (IsButton(control) && !args.Flag("mouse", false)) {
        ::PostMessageW(control, BM_CLICK, 0, 0);
        return Object{{"method", JsonValue("BM_CLICK")}};
    }
    const LPARAM at = CentreOf(control);
    ::PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(control, WM_LBUTTONUP, 0, at);
    return Object{{"method", JsonValue("mouse")}};
}

// A key press as the keyboard delivers it; the target's own message loop
// turns it into WM_CHAR where it translates messages.
Object OnKey(DriverSession&, const Args& args) {
    std::string error;
    HWND control = args.Target(&error);
    if (!control) return Failure(error);
    const std::optional<std::int64_t> vk = args.Integer("vk");
    if (!vk || *vk <= 0 || *vk > 0xFE) return Failure("missing or bad vk");
    const UINT scan = ::MapVirtualKeyW(static_cast<UINT>(*vk), MAPVK_VK_TO_VSC);
    const LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
    const LPARAM up = down | (1LL << 30) | (1LL << 31);
    ::PostMessageW(control, WM_KEYDOWN, static_cast<WPARAM>(*vk), down);
    ::PostMessageW(control, WM_KEYUP, static_cast<WPARAM>(*vk), up);
    return {};
}

// Characters as typed: one WM_CHAR each.
Object OnType(DriverSession&, const Args& args) {
    std::string error;
    HWND control = args.Target(&error);
    if (!control) return Failure(error);
    const std::optional<std::wstring> text = args.Text("chars");
    if (!text) return Failure("missing chars");
    for (const wchar_t c : *text) ::PostMessageW(control, WM_CHAR, c, 1);
    return {};
}

Object OnSetText(DriverSession&, const Args& args) {
    std::string error;
    HWND control = args.Target(&error);
    if (!control) return Failure(error);
    const std::optional<std::wstring> text = args.Text("value");
    if (!text) return Failure("missing value");
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text->c_str()),
                               SMTO_ABORTIFHUNG | SMTO_BLOCK, kSendTimeoutMs, &result))
        return Failure(SystemErrorMessage("WM_SETTEXT", ::GetLastError()));
    return {};
}

Object OnRect(DriverSession&, const Args& args) {
    std::string error;
    HWND target = args.Target(&error);
    if (!target) return Failure(error);
    RECT window = {};
    RECT client = {};
    ::GetWindowRect(target, &window);
    ::GetClientRect(target, &client);
    return Object{{"window", JsonValue(RectObject(window))}, {"client", JsonValue(RectObject(client))}};
}

// The window in the foreground, the one the user works with.
Object OnForeground(DriverSession&, const Args&) {
    return Object{
        {"hwnd", JsonValue(static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(::GetForegroundWindow())))}};
}

// The control that has the keyboard focus in the window's thread.
Object OnFocus(DriverSession&, const Args& args) {
    std::string error;
    HWND target = args.Target(&error);
    if (!target) return Failure(error);
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(target, nullptr), &info))
        return Failure(SystemErrorMessage("GetGUIThreadInfo", ::GetLastError()));
    return Object{{"hwnd", JsonValue(static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(info.hwndFocus)))},
                  {"id", JsonValue(static_cast<std::int64_t>(info.hwndFocus ? ::GetDlgCtrlID(info.hwndFocus) : 0))}};
}

Object OnPost(DriverSession&, const Args& args) {
    std::string error;
    HWND target = args.Target(&error);
    if (!target) return Failure(error);
    const std::optional<std::int64_t> message = args.Integer("msg");
    if (!message) return Failure("missing msg");
    if (!::PostMessageW(target, static_cast<UINT>(*message), static_cast<WPARAM>(args.Integer("wparam").value_or(0)),
                        static_cast<LPARAM>(args.Integer("lparam").value_or(0))))
        return Failure(SystemErrorMessage("PostMessage", ::GetLastError()));
    return {};
}

// A message whose arguments are plain numbers (no pointers), answered with
// its result: tree view states, button checks, list counts. "timeout_ms"
// bounds the wait for the answer (a window that does not answer in time
// fails the command).
Object OnSend(DriverSession&, const Args& args) {
    std::string error;
    HWND target = args.Target(&error);
    if (!target) return Failure(error);
    const std::optional<std::int64_t> message = args.Integer("msg");
    if (!message) return Failure("missing msg");
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(target, static_cast<UINT>(*message),
                               static_cast<WPARAM>(args.Integer("wparam").value_or(0)),
                               static_cast<LPARAM>(args.Integer("lparam").value_or(0)), SMTO_ABORTIFHUNG | SMTO_BLOCK,
                               static_cast<UINT>(args.Integer("answer_within_ms").value_or(kSendTimeoutMs)), &result))
        return Failure(SystemErrorMessage("SendMessage", ::GetLastError()));
    return Object{{"result", JsonValue(static_cast<std::int64_t>(result))}};
}

Array TreeItemList(const std::vector<TreeItem>& items) {
    Array list;
    for (const TreeItem& entry : items)
        list.push_back(
            Object{{"item", JsonValue(static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(entry.item)))},
                   {"text", JsonValue(std::wstring_view(entry.text))}});
    return list;
}

HTREEITEM TreeItemArg(const Args& args) {
    return reinterpret_cast<HTREEITEM>(static_cast<std::uintptr_t>(args.Integer("item").value_or(0)));
}

// The children of a tree item, expanding it first, or the root items.
Object OnTreeChildren(DriverSession&, const Args& args) {
    std::string error;
    HWND tree = args.Target(&error);
    if (!tree) return Failure(error);
    return Object{{"items", JsonValue(TreeItemList(TreeChildren(tree, TreeItemArg(args))))}};
}

// The captions of a tab control's tabs.
Object OnTabCaptions(DriverSession&, const Args& args) {
    std::string error;
    HWND tabs = args.Target(&error);
    if (!tabs) return Failure(error);
    Array captions;
    for (const std::wstring& caption : TabCaptions(tabs)) captions.push_back(JsonValue(std::wstring_view(caption)));
    return Object{{"captions", JsonValue(std::move(captions))}};
}

// The selected item and its ancestors, selected item first.
Object OnTreeSelection(DriverSession&, const Args& args) {
    std::string error;
    HWND tree = args.Target(&error);
    if (!tree) return Failure(error);
    return Object{{"items", JsonValue(TreeItemList(TreeSelectionPath(tree)))}};
}

Object OnTreeSelect(DriverSession&, const Args& args) {
    std::string error;
    HWND tree = args.Target(&error);
    if (!tree) return Failure(error);
    const HTREEITEM item = TreeItemArg(args);
    if (!item) return Failure("missing item");
    if (!SelectTreeItem(tree, item)) return Failure("the tree did not select the item");
    return {};
}

// Sets a named event that a program made (a test gate).
Object OnSetEvent(DriverSession&, const Args& args) {
    const std::optional<std::wstring> name = args.Text("name");
    if (!name) return Failure("missing name");
    UniqueKernelHandle event(::OpenEventW(EVENT_MODIFY_STATE, FALSE, name->c_str()));
    if (!event) return Failure(SystemErrorMessage("OpenEvent", ::GetLastError()));
    if (!::SetEvent(event.get())) return Failure(SystemErrorMessage("SetEvent", ::GetLastError()));
    return {};
}

Object OnSpecialFolder(DriverSession&, const Args& args) {
    const std::optional<std::int64_t> csidl = args.Integer("csidl");
    if (!csidl) return Failure("missing csidl");
    wchar_t path[MAX_PATH] = {};
    const HRESULT result = ::SHGetFolderPathW(nullptr, static_cast<int>(*csidl), nullptr, SHGFP_TYPE_CURRENT, path);
    if (FAILED(result)) return Failure(SystemErrorMessage("SHGetFolderPath", static_cast<DWORD>(result)));
    return Object{{"path", JsonValue(std::wstring_view(path))}};
}

Object OnListViewItems(DriverSession&, const Args& args) {
    std::string error;
    HWND list = args.Target(&error);
    if (!list) return Failure(error);
    const std::optional<std::vector<ListViewRow>> rows = ListViewRows(list);
    if (!rows) return Failure("cannot read the list view");
    Array items;
    for (const ListViewRow& row : *rows)
        items.push_back(Object{{"text", JsonValue(std::wstring_view(row.text))},
                               {"selected", JsonValue(row.selected)},
                               {"focused", JsonValue(row.focused)}});
    return Object{{"items", JsonValue(std::move(items))}};
}

Object OnListViewSelect(DriverSession&, const Args& args) {
    std::string error;
    HWND list = args.Target(&error);
    if (!list) return Failure(error);
    if (!SetListViewSelection(list, static_cast<int>(args.Integer("row").value_or(-1)), args.Flag("selected", true)))
        return Failure("LVM_SETITEMSTATE failed");
    return {};
}

Object OnComboItems(DriverSession&, const Args& args) {
    std::string error;
    HWND combo = args.Target(&error);
    if (!combo) return Failure(error);
    const std::optional<std::vector<std::wstring>> items = ComboItems(combo);
    if (!items) return Failure("cannot read the combo box");
    Array list;
    for (const std::wstring& item : *items) list.push_back(JsonValue(std::wstring_view(item)));
    return Object{{"items", JsonValue(std::move(list))}};
}

Object OnDropFiles(DriverSession&, const Args& args) {
    std::string error;
    HWND target = args.Target(&error);
    if (!target) return Failure(error);
    if (!DropFiles(target, args.Texts("files"))) return Failure("WM_DROPFILES could not be sent");
    return {};
}

// The number of a registered window message ("TaskbarCreated").
Object OnRegisterMessage(DriverSession&, const Args& args) {
    const std::optional<std::wstring> name = args.Text("name");
    if (!name) return Failure("missing name");
    const UINT message = ::RegisterWindowMessageW(name->c_str());
    if (!message) return Failure(SystemErrorMessage("RegisterWindowMessage", ::GetLastError()));
    return Object{{"message", JsonValue(static_cast<std::int64_t>(message))}};
}

// A window's notification-area icon: "exists" asks the taskbar to change
// nothing about it, which it accepts only for an icon it has; "delete"
// removes it, as a taskbar that restarts loses it.
Object OnTrayIcon(DriverSession&, const Args& args) {
    const std::optional<std::int64_t> window = args.Integer("hwnd");
    const std::optional<std::wstring> action = args.Text("action");
    if (!window || !action) return Failure("missing hwnd or action");
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = HandleFromNumber(*window);
    data.uID = static_cast<UINT>(args.Integer("icon").value_or(1));
    DWORD message = NIM_MODIFY;
    if (*action == L"delete") {
        message = NIM_DELETE;
    } else if (*action != L"exists") {
        return Failure("action must be exists or delete");
    }
    return Object{{"result", JsonValue(::Shell_NotifyIconW(message, &data) != FALSE)}};
}

using Handler = Object (*)(DriverSession&, const Args&);

constexpr std::pair<std::string_view, Handler> kCommands[] = {
    {"ping", OnPing},
    {"quit", OnQuit},
    {"start", OnStart},
    {"wait_exit", OnWaitExit},
    {"kill", OnKill},
    {"processes", OnProcesses},
    {"windows", OnWindows},
    {"wait_window", OnWaitWindow},
    {"wait_gone", OnWaitGone},
    {"text", OnText},
    {"controls", OnControls},
    {"message_box", OnMessageBox},
    {"press", OnPress},
    {"key", OnKey},
    {"type", OnType},
    {"set_text", OnSetText},
    {"rect", OnRect},
    {"focus", OnFocus},
    {"foreground", OnForeground},
    {"post", OnPost},
    {"send", OnSend},
    {"tab_captions", OnTabCaptions},
    {"tree_children", OnTreeChildren},
    {"tree_selection", OnTreeSelection},
    {"tree_select", OnTreeSelect},
    {"special_folder", OnSpecialFolder},
    {"list_view_items", OnListViewItems},
    {"list_view_select", OnListViewSelect},
    {"combo_items", OnComboItems},
    {"drop_files", OnDropFiles},
    {"register_message", OnRegisterMessage},
    {"tray_icon", OnTrayIcon},
    {"set_event", OnSetEvent},
};

}  // namespace

JsonValue RunCommand(DriverSession& session, const JsonValue& request) {
    const JsonValue* name = request.Find("cmd");
    if (!name || !name->AsText()) return Object{{"ok", JsonValue(false)}, {"error", JsonValue("missing cmd")}};
    for (const auto& [commandName, handler] : kCommands) {
        if (commandName != *name->AsText()) continue;
        Object answer = handler(session, Args(request));
        answer["ok"] = JsonValue(answer.find("error") == answer.end());
        return answer;
    }
    return Object{{"ok", JsonValue(false)}, {"error", JsonValue("unknown command " + *name->AsText())}};
}
