#include "ui/win32/settle-frame-on-window-change.h"

#include <windows.h>

#include <utility>

namespace {

// The hook is the thread's and has no context of its own.
std::function<void()> frameWait;

// A change of the z-order alone (activation) makes no window surface.
bool placeOrVisibilityChanges(const WINDOWPOS& pos) {
    constexpr UINT kZOrderOnly = SWP_NOMOVE | SWP_NOSIZE;
    return (pos.flags & kZOrderOnly) != kZOrderOnly ||
           (pos.flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) != 0;
}

LRESULT CALLBACK beforeWindowProcedure(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && frameWait && call->message == WM_WINDOWPOSCHANGING &&
        placeOrVisibilityChanges(*reinterpret_cast<const WINDOWPOS*>(call->lParam)))
        frameWait();
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

void settleFrameOnWindowChange(std::function<void()> waitForFrame) {
    static HHOOK hook = nullptr;
    frameWait = std::move(waitForFrame);
    if (!hook && frameWait)
        hook =
            SetWindowsHookExA(WH_CALLWNDPROC, beforeWindowProcedure, nullptr, GetCurrentThreadId());
}
