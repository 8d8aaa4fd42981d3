// A yield to the message loop for long walks that would otherwise yield after every entry.
// Looking into the message queue costs a round trip to the window system each time, far more
// than reading the next directory entry, so the walk yields once per display frame instead:
// the window repaints just as smoothly, and the walk is not slowed many times over.
#pragma once

#include "system/myMod.h"

#include <windows.h>

namespace vt {

class PacedYield {
  public:
    static constexpr DWORD kIntervalMs = 15;

    // Yields when a frame has passed since the last yield (the first call always yields).
    void operator()() noexcept {
        const DWORD now = GetTickCount();
        if (now - last_ >= kIntervalMs) {
            DoEvents();
            last_ = GetTickCount();
        }
    }

  private:
    DWORD last_ = GetTickCount() - kIntervalMs;
};

} // namespace vt
