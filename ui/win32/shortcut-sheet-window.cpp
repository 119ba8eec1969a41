#include "ui/win32/shortcut-sheet-window.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "editor/shortcut-sheet.h"
#include "ui/win32/wide-text.h"

namespace {

constexpr const wchar_t* kClassName = L"TavrelShortcutSheet";
constexpr const wchar_t* kTitle = L"Keyboard Shortcuts";
constexpr int kWidth = 900, kHeight = 600;
constexpr WORD kArrowCursor = 32512; // IDC_ARROW, which names the narrow call's type

struct Column {
    const wchar_t* title;
    int width;
};
constexpr Column kColumns[] = {{L"Command", 240}, {L"Keys", 190}, {L"Description", 440}};
enum ColumnIndex { kCommandColumn, kKeysColumn, kDescriptionColumn };

// Section titles stand as rows of their own, in capitals in the first column: group
// headers need common controls 6 and Wine draws none.
std::wstring sectionRowText(const std::string& title) {
    std::wstring text = wideFromUtf8(title);
    CharUpperW(text.data());
    return text;
}

void addRow(HWND list, const std::wstring& name, const std::wstring& keys,
            const std::wstring& description) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = const_cast<wchar_t*>(name.c_str());
    const int row =
        static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    const auto setText = [&](int column, const std::wstring& text) {
        LVITEMW cell{};
        cell.iSubItem = column;
        cell.pszText = const_cast<wchar_t*>(text.c_str());
        SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&cell));
    };
    setText(kKeysColumn, keys);
    setText(kDescriptionColumn, description);
}

void registerClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    if (GetClassInfoExW(instance, kClassName, &windowClass)) return;
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(kArrowCursor));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);
}

// Over the middle of its owner, kept inside the owner's screen (the system's default place is
// the screen's corner, under the palette).
POINT sheetPlace(HWND owner) {
    RECT area = {0, 0, kWidth, kHeight}, around = area;
    MONITORINFO monitor = {sizeof monitor, {}, {}, 0};
    if (owner && GetWindowRect(owner, &around) &&
        GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor))
        area = monitor.rcWork;
    const LONG x = (around.left + around.right - kWidth) / 2;
    const LONG y = (around.top + around.bottom - kHeight) / 2;
    return {std::max(area.left, std::min(x, area.right - kWidth)),
            std::max(area.top, std::min(y, area.bottom - kHeight))};
}

} // namespace

ShortcutSheetWindow::~ShortcutSheetWindow() {
    if (window_) DestroyWindow(window_);
}

void ShortcutSheetWindow::show(HWND owner) {
    if (window_) {
        ShowWindow(window_, SW_SHOWNORMAL);
        SetForegroundWindow(window_);
        return;
    }
    HINSTANCE instance = GetModuleHandleW(nullptr);
    registerClass(instance, procedure);
    const POINT at = sheetPlace(owner);
    window_ = CreateWindowExW(0, kClassName, kTitle, WS_OVERLAPPEDWINDOW, at.x, at.y, kWidth,
                              kHeight, owner, nullptr, instance, this);
    if (!window_) return;
    list_ = CreateWindowExW(0, WC_LISTVIEWW, L"",
                            WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_NOSORTHEADER,
                            0, 0, 0, 0, window_, nullptr, instance, nullptr);
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    fillList();
    RECT client;
    GetClientRect(window_, &client);
    MoveWindow(list_, 0, 0, client.right, client.bottom, FALSE);
    ShowWindow(window_, SW_SHOWNORMAL);
    SetFocus(list_);
}

void ShortcutSheetWindow::fillList() {
    for (int at = 0; const Column& column : kColumns) {
        LVCOLUMNW lvColumn{};
        lvColumn.mask = LVCF_TEXT | LVCF_WIDTH;
        lvColumn.pszText = const_cast<wchar_t*>(column.title);
        lvColumn.cx = column.width;
        SendMessageW(list_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(at++),
                     reinterpret_cast<LPARAM>(&lvColumn));
    }
    for (const SheetSection& section : shortcutSheet()) {
        addRow(list_, sectionRowText(section.title), L"", L"");
        for (const SheetRow& row : section.rows)
            addRow(list_, wideFromUtf8(row.name), wideFromUtf8(row.keys),
                   wideFromUtf8(row.description));
    }
}

LRESULT CALLBACK ShortcutSheetWindow::procedure(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<ShortcutSheetWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_SIZE:
        if (self && self->list_)
            MoveWindow(self->list_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_SETFOCUS:
        if (self && self->list_) SetFocus(self->list_);
        return 0;
    case WM_NOTIFY: {
        const auto* key = reinterpret_cast<const NMLVKEYDOWN*>(lParam);
        if (key->hdr.code == LVN_KEYDOWN && key->wVKey == VK_ESCAPE) DestroyWindow(window);
        return 0;
    }
    case WM_DESTROY:
        if (self) self->window_ = self->list_ = nullptr;
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
