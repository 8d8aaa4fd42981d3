#include "language/clsLanguage.h"

#include <new>

namespace vt::language {

HMODULE g_module = nullptr;
volatile LONG g_aliveCount = 0;

namespace {

// The one member, and the number it is called by.
constexpr wchar_t kGetText[] = L"GetText";
constexpr DISPID kGetTextId = 1;

// The text for a message number as the string table holds it; false when it has none.
bool TextFor(LONG number, BSTR* text) noexcept {
    if (number < 0 || number > 0xFFFF) {
        return false;
    }
    // Asked for no room, LoadStringW hands out the table's own copy and its length.
    const wchar_t* stored = nullptr;
    const int length =
        LoadStringW(g_module, static_cast<UINT>(number), reinterpret_cast<LPWSTR>(&stored), 0);
    if (length <= 0 || !stored) {
        return false;
    }
    *text = SysAllocStringLen(stored, static_cast<UINT>(length));
    return *text != nullptr;
}

// The number the caller passed: by value or by reference, any type that converts to a 32-bit
// integer.
HRESULT NumberArgument(const DISPPARAMS& parameters, LONG& number) noexcept {
    if (parameters.cArgs != 1 || parameters.cNamedArgs != 0) {
        return DISP_E_BADPARAMCOUNT;
    }
    VARIANT converted;
    VariantInit(&converted);
    const HRESULT result = VariantChangeType(&converted, &parameters.rgvarg[0], 0, VT_I4);
    if (FAILED(result)) {
        return DISP_E_TYPEMISMATCH;
    }
    number = converted.lVal;
    return S_OK;
}

HRESULT NoTextFor(LONG number, EXCEPINFO* exception) noexcept {
    if (exception) {
        *exception = EXCEPINFO{};
        exception->scode = DISP_E_EXCEPTION;
        wchar_t description[64];
        wsprintfW(description, L"No text for message %ld", number);
        exception->bstrDescription = SysAllocString(description);
        exception->bstrSource = SysAllocString(L"vtLanguage_" VT_LANGUAGE_NAME L".clsLanguage");
    }
    return DISP_E_EXCEPTION;
}

class Language final : public IDispatch {
  public:
    Language() noexcept { InterlockedIncrement(&g_aliveCount); }
    ~Language() { InterlockedDecrement(&g_aliveCount); }
    Language(const Language&) = delete;
    Language& operator=(const Language&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) noexcept override {
        if (!object) {
            return E_POINTER;
        }
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDispatch)) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override {
        return static_cast<ULONG>(InterlockedIncrement(&references_));
    }
    ULONG STDMETHODCALLTYPE Release() noexcept override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // No type information: callers bind by name.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override {
        if (!count) {
            return E_POINTER;
        }
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept override {
        if (info) {
            *info = nullptr;
        }
        return DISP_E_BADINDEX;
    }

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) noexcept override {
        if (!names || !ids || count == 0) {
            return E_INVALIDARG;
        }
        for (UINT i = 0; i < count; ++i) {
            ids[i] = DISPID_UNKNOWN;
        }
        // Names are matched as automation clients expect: without regard to case.
        if (count != 1 || !names[0] || lstrcmpiW(names[0], kGetText) != 0) {
            return DISP_E_UNKNOWNNAME;
        }
        ids[0] = kGetTextId;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* badArgument) noexcept override {
        if (id != kGetTextId) {
            return DISP_E_MEMBERNOTFOUND;
        }
        if (!(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) || !parameters) {
            return DISP_E_MEMBERNOTFOUND;
        }
        LONG number = 0;
        const HRESULT argument = NumberArgument(*parameters, number);
        if (FAILED(argument)) {
            if (argument == DISP_E_TYPEMISMATCH && badArgument) {
                *badArgument = 0;
            }
            return argument;
        }
        BSTR text = nullptr;
        if (!TextFor(number, &text)) {
            return NoTextFor(number, exception);
        }
        if (result) {
            VariantInit(result);
            result->vt = VT_BSTR;
            result->bstrVal = text;
        } else {
            SysFreeString(text);
        }
        return S_OK;
    }

  private:
    volatile LONG references_ = 1;
};

} // namespace

HRESULT CreateLanguage(REFIID interfaceId, void** object) noexcept {
    Language* language = new (std::nothrow) Language();
    if (!language) {
        return E_OUTOFMEMORY;
    }
    const HRESULT result = language->QueryInterface(interfaceId, object);
    language->Release();
    return result;
}

} // namespace vt::language
