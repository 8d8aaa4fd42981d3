// The library's side as an in-process COM server: its class object, its unloading, and its
// registration through regsvr32.
#include "language/clsLanguage.h"

#include <windows.h>
#include <objbase.h>
#include <olectl.h>

#include <string>

namespace vt::language {

namespace {

constexpr wchar_t kProgId[] = L"vtLanguage_" VT_LANGUAGE_NAME L".clsLanguage";
constexpr wchar_t kClassId[] = VT_LANGUAGE_CLSID;

// The class object: one for the library's lifetime, its locks counted with the objects.
class Factory final : public IClassFactory {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) noexcept override {
        if (!object) {
            return E_POINTER;
        }
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IClassFactory)) {
            *object = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return 2; }
    ULONG STDMETHODCALLTYPE Release() noexcept override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID id,
                                             void** object) noexcept override {
        if (!object) {
            return E_POINTER;
        }
        *object = nullptr;
        if (outer) {
            return CLASS_E_NOAGGREGATION;
        }
        return CreateLanguage(id, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) noexcept override {
        if (lock) {
            InterlockedIncrement(&g_aliveCount);
        } else {
            InterlockedDecrement(&g_aliveCount);
        }
        return S_OK;
    }
};

Factory g_factory;

// The keys the registration writes, below the machine's classes, parents first. The machine's
// (not the user's) classes, since elevated programs take only those.
constexpr wchar_t kClasses[] = L"Software\\Classes\\";

struct RegistryEntry {
    std::wstring key;
    const wchar_t* valueName; // nullptr: the key's default value
    std::wstring value;
};

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(g_module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring ClassKey() {
    return std::wstring(kClasses) + L"CLSID\\" + kClassId;
}

bool SetString(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    return RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) ==
           ERROR_SUCCESS;
}

} // namespace

} // namespace vt::language

using namespace vt::language;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID classId, REFIID id, void** object) {
    if (!object) {
        return E_POINTER;
    }
    *object = nullptr;
    CLSID ours{};
    if (FAILED(CLSIDFromString(kClassId, &ours)) || !IsEqualCLSID(classId, ours)) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return g_factory.QueryInterface(id, object);
}

STDAPI DllCanUnloadNow() {
    return g_aliveCount == 0 ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
    const std::wstring path = ModulePath();
    const std::wstring progIdKey = std::wstring(kClasses) + kProgId;
    const std::wstring classKey = ClassKey();
    const RegistryEntry entries[] = {
        {progIdKey, nullptr, kProgId},
        {progIdKey + L"\\CLSID", nullptr, kClassId},
        {classKey, nullptr, kProgId},
        {classKey + L"\\ProgID", nullptr, kProgId},
        {classKey + L"\\InprocServer32", nullptr, path},
        {classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
    };
    if (path.empty()) {
        return SELFREG_E_CLASS;
    }
    for (const RegistryEntry& entry : entries) {
        if (!SetString(entry.key, entry.valueName, entry.value)) {
            DllUnregisterServer();
            return SELFREG_E_CLASS;
        }
    }
    return S_OK;
}

// Removes the registration leaf first; keys that are gone already count as removed.
STDAPI DllUnregisterServer() {
    const std::wstring progIdKey = std::wstring(kClasses) + kProgId;
    const std::wstring classKey = ClassKey();
    const std::wstring keys[] = {classKey + L"\\InprocServer32", classKey + L"\\ProgID", classKey,
                                 progIdKey + L"\\CLSID", progIdKey};
    HRESULT result = S_OK;
    for (const std::wstring& key : keys) {
        const LSTATUS status = RegDeleteKeyW(HKEY_LOCAL_MACHINE, key.c_str());
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
            result = SELFREG_E_CLASS;
        }
    }
    return result;
}
