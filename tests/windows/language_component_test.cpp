// The German component as the uninstaller reaches it: registered through regsvr32, created by
// its ProgID, its texts fetched by the name of its method; and gone again after regsvr32 /u.
#include "resources/resource.h"
#include "system/automation.h"
#include "tests/support/fixtures.h"
#include "tests/support/text.h"
#include "uninstall/form1.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

constexpr wchar_t kProgId[] = L"vtLanguage_german.clsLanguage";

std::wstring ClassesText(const std::wstring& key, const wchar_t* name = nullptr) {
    wchar_t text[MAX_PATH] = L"";
    DWORD bytes = sizeof text;
    RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &bytes);
    return text;
}

TEST(LanguageComponent, TextsByNameWhileRegisteredNoKeyAfterwards) {
    const OleApartment apartment;
    const std::wstring library = test::Environment(L"VT_GERMAN");
    std::wstring classKey;
    {
        const test::RegisteredComponent registered(library);
        classKey = L"CLSID\\" + ClassesText(std::wstring(kProgId) + L"\\CLSID");
        EXPECT_EQ(ClassesText(classKey + L"\\InprocServer32"), library);
        EXPECT_EQ(ClassesText(classKey + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");

        Form1 form(GetModuleHandleW(nullptr));
        form.Language = L"german";
        form.LanguageObject = CreateObject(kProgId);
        EXPECT_EQ(form.GetMessageText(IDS_CANCEL), L"Abbrechen");
        EXPECT_EQ(form.GetMessageText(3907), L"") << "a number the component has no text for";
    }
    UniqueRegKey left;
    EXPECT_NE(RegOpenKeyExW(HKEY_CLASSES_ROOT, kProgId, 0, KEY_READ, left.put()), 0);
    EXPECT_NE(RegOpenKeyExW(HKEY_CLASSES_ROOT, classKey.c_str(), 0, KEY_READ, left.put()), 0);
}

} // namespace
} // namespace vt
