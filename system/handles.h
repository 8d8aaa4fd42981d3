// One move-only owner per kind of Windows resource. Each kind names its own "no resource"
// value (NULL for most, INVALID_HANDLE_VALUE for files and searches) and the call that frees it.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
#include <shlobj.h>

namespace vt {

template <class Traits> class Unique {
  public:
    using type = typename Traits::type;

    Unique() noexcept = default;
    explicit Unique(type value) noexcept : value_(value) {}
    ~Unique() { reset(); }
    Unique(Unique&& other) noexcept : value_(other.release()) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;

    type get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Traits::invalid(); }

    type release() noexcept {
        type value = value_;
        value_ = Traits::invalid();
        return value;
    }
    void reset(type value = Traits::invalid()) noexcept {
        if (value_ != Traits::invalid()) {
            Traits::close(value_);
        }
        value_ = value;
    }
    // For out-parameters: frees what is held and hands out the slot.
    type* put() noexcept {
        reset();
        return &value_;
    }

  private:
    type value_ = Traits::invalid();
};

// Most kinds say "none" with NULL and differ only in the call that frees them.
template <class Type, auto Close> struct NullIsNoneTraits {
    using type = Type;
    static type invalid() noexcept { return nullptr; }
    static void close(type value) noexcept { Close(value); }
};

using UniqueModule = Unique<NullIsNoneTraits<HMODULE, FreeLibrary>>;
// Kernel objects whose "none" is NULL: processes, threads, events.
using UniqueHandle = Unique<NullIsNoneTraits<HANDLE, CloseHandle>>;
using UniqueWindow = Unique<NullIsNoneTraits<HWND, DestroyWindow>>;
// A hook set with SetWindowsHookEx; its procedure may live in another process's copy of a module.
using UniqueWindowsHook = Unique<NullIsNoneTraits<HHOOK, UnhookWindowsHookEx>>;
using UniqueWinEventHook = Unique<NullIsNoneTraits<HWINEVENTHOOK, UnhookWinEvent>>;
using UniqueFont = Unique<NullIsNoneTraits<HFONT, DeleteObject>>;
using UniqueBitmap = Unique<NullIsNoneTraits<HBITMAP, DeleteObject>>;
using UniqueMemoryDc = Unique<NullIsNoneTraits<HDC, DeleteDC>>;
using UniqueItemIdList = Unique<NullIsNoneTraits<LPITEMIDLIST, CoTaskMemFree>>;
using UniqueBrush = Unique<NullIsNoneTraits<HBRUSH, DeleteObject>>;

// A COM interface pointer, released once.
template <class Interface> void ReleaseInterface(Interface* pointer) noexcept {
    pointer->Release();
}
template <class Interface>
using UniqueCom = Unique<NullIsNoneTraits<Interface*, ReleaseInterface<Interface>>>;

// A VARIANT, cleared (its string freed, its object released) once.
class Variant {
  public:
    Variant() noexcept { VariantInit(&value_); }
    ~Variant() { VariantClear(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    const VARIANT& get() const noexcept { return value_; }
    // For calls that fill it or change it in place.
    VARIANT* ptr() noexcept { return &value_; }

  private:
    VARIANT value_;
};

// Kernel objects whose "none" is INVALID_HANDLE_VALUE: files and snapshots.
struct FileHandleTraits {
    using type = HANDLE;
    static type invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(type value) noexcept { CloseHandle(value); }
};
using UniqueFile = Unique<FileHandleTraits>;
// A Toolhelp snapshot says "none" the way a file does.
using UniqueSnapshot = Unique<FileHandleTraits>;

// A directory search of FindFirstFileW; its "none" is INVALID_HANDLE_VALUE too.
struct FindHandleTraits {
    using type = HANDLE;
    static type invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(type value) noexcept { FindClose(value); }
};
using UniqueFind = Unique<FindHandleTraits>;

// An open registry key. Opening an empty path with RegOpenKeyW hands back the root itself;
// the predefined roots belong to the system and are not closed here.
struct RegKeyTraits {
    using type = HKEY;
    static type invalid() noexcept { return nullptr; }
    static bool predefined(type value) noexcept {
        const auto first = reinterpret_cast<ULONG_PTR>(HKEY_CLASSES_ROOT);
        return reinterpret_cast<ULONG_PTR>(value) - first < 0x100;
    }
    static void close(type value) noexcept {
        if (!predefined(value)) {
            RegCloseKey(value);
        }
    }
};
using UniqueRegKey = Unique<RegKeyTraits>;

// A window's device context, released to the window it came from.
class WindowDc {
  public:
    explicit WindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) {
            ReleaseDC(window_, dc_);
        }
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const noexcept { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// Selects a GDI object into a DC for the scope and puts the previous one back.
class SelectObjectScope {
  public:
    SelectObjectScope(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectObjectScope() { SelectObject(dc_, old_); }
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

// The thread's membership of a single-threaded OLE apartment, for the scope; left alone when
// joining failed.
class OleApartment {
  public:
    OleApartment() noexcept : joined_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleApartment() {
        if (joined_) {
            OleUninitialize();
        }
    }
    OleApartment(const OleApartment&) = delete;
    OleApartment& operator=(const OleApartment&) = delete;

  private:
    bool joined_;
};

} // namespace vt
