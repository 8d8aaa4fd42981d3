#include "system/automation.h"

#include "system/errors.h"

#include <oleauto.h>

namespace vt {

namespace {

// What a failed call left in its exception record, freed with it.
struct ExceptionRecord {
    EXCEPINFO info{};
    ExceptionRecord() = default;
    ExceptionRecord(const ExceptionRecord&) = delete;
    ExceptionRecord& operator=(const ExceptionRecord&) = delete;
    ~ExceptionRecord() {
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrDescription);
        SysFreeString(info.bstrHelpFile);
    }
};

} // namespace

UniqueCom<IDispatch> CreateObject(const std::wstring& progId) {
    CLSID classId{};
    UniqueCom<IDispatch> object;
    if (FAILED(CLSIDFromProgID(progId.c_str(), &classId)) ||
        FAILED(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(object.put())))) {
        Raise(kErrCannotCreateObject);
    }
    return object;
}

std::wstring CallTextMethod(IDispatch* object, const std::wstring& member, std::int32_t& argument) {
    if (!object) {
        Raise(kErrObjectNotSet);
    }
    std::wstring name = member;
    LPOLESTR names[] = {name.data()};
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) {
        Raise(kErrNoSuchMember);
    }
    LONG value = argument;
    VARIANTARG byReference;
    VariantInit(&byReference);
    byReference.vt = VT_I4 | VT_BYREF;
    byReference.plVal = &value;
    DISPPARAMS parameters{&byReference, nullptr, 1, 0};
    Variant result;
    ExceptionRecord exception;
    UINT badArgument = 0;
    const HRESULT called =
        object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                       &parameters, result.ptr(), &exception.info, &badArgument);
    argument = value;
    if (called == DISP_E_EXCEPTION) {
        if (exception.info.pfnDeferredFillIn) {
            exception.info.pfnDeferredFillIn(&exception.info);
        }
        Raise(kErrAutomation, exception.info.bstrDescription ? exception.info.bstrDescription : L"",
              exception.info.bstrSource ? exception.info.bstrSource : kProgramSource);
    }
    if (FAILED(called) || FAILED(VariantChangeType(result.ptr(), result.ptr(), 0, VT_BSTR))) {
        Raise(kErrAutomation);
    }
    const BSTR text = result.get().bstrVal;
    return std::wstring(text, SysStringLen(text));
}

} // namespace vt
