// The German component as the uninstaller reaches it: registered through regsvr32, created by
// its ProgID, its texts fetched by the name of its method; and gone again after regsvr32 /u.
#include "resources/resource.h"
#include "system/automation.h"
#include "tests/support/component.h"
#include "tests/support/fixtures.h"
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

bool ClassesKeyExists(const std::wstring& key) {
    UniqueRegKey opened;
    return RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, opened.put()) == 0;
}

TEST(LanguageComponent, TextsByNameWhileRegisteredNoKeyAfterwards) {
    const OleApartment apartment;
    const test::TestFolder folder(test::CurrentTestName());
    const std::wstring library = folder / L"german.dll";
    ASSERT_TRUE(CopyFileW(test::BuildOutput(L"VT_GERMAN").c_str(), library.c_str(), TRUE));
    std::wstring classKey;
    {
        const test::RegisteredComponent registered(library);
        classKey = L"CLSID\\" + ClassesText(std::wstring(kProgId) + L"\\CLSID");
        EXPECT_EQ(ClassesText(classKey + L"\\InprocServer32"), library);
        EXPECT_EQ(ClassesText(classKey + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");

        Form1 form(GetModuleHandleW(nullptr));
        form.Language = L"german";
        form.LanguageObject = CreateObject(kProgId);
        EXPECT_EQ(form.GetMessageText(IDS_REMOVED), L"Veltrane wurde erfolgreich von Ihrem "
                                                    L"Computer entfernt.");
        EXPECT_EQ(form.GetMessageText(3907), L"") << "a number the component has no text for";
        std::int32_t number = IDS_CANCEL;
        EXPECT_EQ(CallTextMethod(form.LanguageObject.get(), L"gettext", number), L"Abbrechen");
        EXPECT_EQ(test::ErrorOf([&] {
                      CallTextMethod(form.LanguageObject.get(), L"Text", number);
                  }).number,
                  438);
    }
    EXPECT_FALSE(ClassesKeyExists(kProgId));
    EXPECT_FALSE(ClassesKeyExists(classKey));
    EXPECT_EQ(test::ErrorOf([] { CreateObject(kProgId); }).number, 429);
}

} // namespace
} // namespace vt
