// One uninstaller at a time on the machine. Two copies (a double click, a deployment tool that
// tries again) would race over the same files, keys and batch, so a second copy does nothing.
#pragma once

#include "system/handles.h"

#include <windows.h>

namespace vt {

// A lock held by one process of the machine at a time, whichever user started it and in
// whichever session: a named mutex in the global namespace. The kernel owns it, so a copy that
// crashed or was terminated leaves it abandoned, which the next copy takes over as free.
class SingleCopyLock {
  public:
    explicit SingleCopyLock(const wchar_t* name) noexcept;
    // Releases the lock, if held.
    ~SingleCopyLock();
    SingleCopyLock(const SingleCopyLock&) = delete;
    SingleCopyLock& operator=(const SingleCopyLock&) = delete;

    // False when another process holds the lock, or holds it as another user whose lock this
    // one may not even open: another copy is running.
    bool Held() const noexcept { return held_; }

  private:
    UniqueHandle mutex_;
    bool held_ = false;
};

// Brings the copy whose main window is of `windowClass` to the front: its open question when
// it shows one, else its window. Nothing when there is none in this session.
void BringOtherCopyToFront(const wchar_t* windowClass) noexcept;

} // namespace vt
