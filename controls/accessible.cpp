#include "controls/accessible.h"

#include "system/handles.h"
#include "system/myMod.h"

#include <oleacc.h>

#include <new>

namespace vt {

namespace {

// The system's accessibility library, loaded from the system folder when the first reader
// asks (it is not among the libraries the system always takes from there, so it is not
// imported: a copy beside the program is never loaded). It stays for the program's life.
struct AccessibilityLibrary {
    UniqueModule module;
    decltype(&CreateStdAccessibleObject) createStandard = nullptr;
    decltype(&LresultFromObject) lresultFromObject = nullptr;
};

const AccessibilityLibrary& Oleacc() {
    static const AccessibilityLibrary library = [] {
        AccessibilityLibrary loaded;
        loaded.module.reset(LoadLibraryExW(L"oleacc.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
        if (loaded.module) {
            loaded.createStandard =
                reinterpret_cast<decltype(&CreateStdAccessibleObject)>(reinterpret_cast<void*>(
                    GetProcAddress(loaded.module.get(), "CreateStdAccessibleObject")));
            loaded.lresultFromObject = reinterpret_cast<decltype(&LresultFromObject)>(
                reinterpret_cast<void*>(GetProcAddress(loaded.module.get(), "LresultFromObject")));
        }
        return loaded;
    }();
    return library;
}

bool IsSelf(const VARIANT& child) noexcept {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The standard object with the control's role, name and value in place of the window's. It
// keeps nothing of the control but its window, so that a reader holding it after the control
// has gone learns only that. Like every COM object it goes through Release, never through a
// delete of an interface pointer, so the interface needs no virtual destructor.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class ControlAccessible final : public IAccessible {
  public:
    ControlAccessible(HWND window, AccessibleKind kind, UniqueCom<IAccessible> standard) noexcept
        : window_(window), kind_(kind), standard_(std::move(standard)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) {
            return E_POINTER;
        }
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IDispatch && iid != __uuidof(IAccessible)) {
            return E_NOINTERFACE;
        }
        *out = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    // No type information: readers call the interface directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) {
            return E_POINTER;
        }
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!IsSelf(child)) {
            return standard_.get()->get_accRole(child, role);
        }
        if (!role) {
            return E_POINTER;
        }
        role->vt = VT_I4;
        role->lVal =
            kind_ == AccessibleKind::ProgressBar ? ROLE_SYSTEM_PROGRESSBAR : ROLE_SYSTEM_STATICTEXT;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!IsSelf(child)) {
            return standard_.get()->get_accName(child, name);
        }
        if (kind_ == AccessibleKind::StaticText) {
            return Caption(name);
        }
        if (!name) {
            return E_POINTER;
        }
        *name = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        if (!IsSelf(child) || kind_ != AccessibleKind::ProgressBar) {
            return standard_.get()->get_accValue(child, value);
        }
        return Caption(value);
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard_.get()->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        return standard_.get()->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        return standard_.get()->get_accChild(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
        return standard_.get()->get_accDescription(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
        return standard_.get()->get_accState(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) override {
        return standard_.get()->get_accHelp(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return standard_.get()->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
        return standard_.get()->get_accKeyboardShortcut(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
        return standard_.get()->get_accFocus(out);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
        return standard_.get()->get_accSelection(out);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
        return standard_.get()->get_accDefaultAction(child, out);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        return standard_.get()->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        return standard_.get()->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return standard_.get()->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
        return standard_.get()->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return standard_.get()->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  private:
    // What the control shows, as it answers WM_GETTEXT.
    HRESULT Caption(BSTR* out) const {
        if (!out) {
            return E_POINTER;
        }
        *out = nullptr;
        if (!IsWindow(window_)) {
            return RPC_E_DISCONNECTED;
        }
        const std::wstring text = WindowText(window_);
        *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return *out ? S_OK : E_OUTOFMEMORY;
    }

    ULONG references_ = 1;
    HWND window_;
    AccessibleKind kind_;
    UniqueCom<IAccessible> standard_;
};
#pragma GCC diagnostic pop

} // namespace

std::optional<LRESULT> AnswerAccessibleQuery(HWND window, WPARAM wParam, LPARAM lParam,
                                             AccessibleKind kind) {
    // The object id comes as a 32-bit value, whatever the width of lParam.
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) {
        return std::nullopt;
    }
    const AccessibilityLibrary& oleacc = Oleacc();
    UniqueCom<IAccessible> standard;
    if (!oleacc.createStandard || !oleacc.lresultFromObject ||
        FAILED(oleacc.createStandard(window, OBJID_CLIENT, __uuidof(IAccessible),
                                     reinterpret_cast<void**>(standard.put())))) {
        return std::nullopt;
    }
    const UniqueCom<IAccessible> answer(new (std::nothrow)
                                            ControlAccessible(window, kind, std::move(standard)));
    if (!answer) {
        return std::nullopt;
    }
    return oleacc.lresultFromObject(__uuidof(IAccessible), wParam, answer.get());
}

} // namespace vt
