#include "system/errors.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace vt {
namespace {

ErrorInfo Caught(void (*raise)()) {
    try {
        raise();
    } catch (...) {
        return CurrentError();
    }
    ADD_FAILURE() << "nothing was raised";
    return {};
}

TEST(Raise, CarriesNumberDescriptionAndSource) {
    const ErrorInfo info = Caught([] { Raise(76, L"'C:\\x' not a valid path"); });
    EXPECT_EQ(info.number, 76);
    EXPECT_EQ(info.description, L"'C:\\x' not a valid path");
    EXPECT_EQ(info.source, L"VT_Uninstall");
    EXPECT_EQ(info.line, 0);
}

TEST(Raise, AnEmptyDescriptionTakesTheStandardOne) {
    EXPECT_EQ(Caught([] { Raise(6); }).description, L"Overflow");
    EXPECT_EQ(Caught([] { Raise(99999); }).description,
              L"Application-defined or object-defined error");
}

TEST(CurrentError, ForeignExceptionsBecomeRunTimeErrors) {
    EXPECT_EQ(Caught([] { throw std::bad_alloc(); }).number, 7);
    EXPECT_EQ(Caught([] { throw std::runtime_error("x"); }).number, 51);
    EXPECT_EQ(Caught([] { throw 42; }).number, 51);
}

TEST(ResumeNext, DropsTheFailureOfOneStatementOnly) {
    int done = 0;
    ResumeNext([&] { Raise(5); });
    ResumeNext([&] { ++done; });
    ResumeNext([&] {
        ++done;
        Raise(5);
        ++done; // not reached: the statement ends at the failure
    });
    EXPECT_EQ(done, 2);
}

TEST(Trap, FallbackOrHandlerOnlyOnFailure) {
    EXPECT_EQ(TrapOr(-1, [] { return 3; }), 3);
    EXPECT_EQ(TrapOr(-1, []() -> int { throw std::bad_alloc(); }), -1);
    long seen = 0;
    const bool result = TrapWith([]() -> bool { Raise(52, L"bad name"); },
                                 [&](const ErrorInfo& e) {
                                     seen = e.number;
                                     return false;
                                 });
    EXPECT_FALSE(result);
    EXPECT_EQ(seen, 52);
    EXPECT_TRUE(TrapWith([] { return true; }, [](const ErrorInfo&) { return false; }));
}

} // namespace
} // namespace vt
