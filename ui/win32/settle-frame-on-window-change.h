// Lets the device finish its frame before a window of this thread is shown, hidden, moved
// or sized. Under Wine such a change can make a new window surface, which waits on the X
// connection under its lock; an X error read meanwhile by Direct3D's presenting thread then
// waits on that lock too, and the program hangs (see docs/platform.md). An idle device
// reads nothing, and the wait is a frame at most.
#pragma once

#include <functional>

// Installs the hook on the calling thread; waitForFrame is called before each such change
// (none: nothing waits).
void settleFrameOnWindowChange(std::function<void()> waitForFrame);
