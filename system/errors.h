// Run-time errors and the three ways a procedure handles them.
//
// Every procedure of the uninstaller states how it treats a failure:
//   - no trap: it simply calls on; a RuntimeError reaches its caller;
//   - errors skipped: each statement that may fail runs inside ResumeNext, which drops a
//     failure of that one statement, so the next statement runs;
//   - a trap with a fixed result: the body runs inside TrapOr (fixed fallback) or TrapWith
//     (a handler that sees the error and decides the result).
// Platform-neutral: no Windows headers here.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace vt {

// What the user and the error boxes get to see of a failure.
struct ErrorInfo {
    long number = 0;
    std::wstring description;
    std::wstring source; // the component that raised it
    long line = 0;       // the step of the procedure that failed; 0 when not known
};

// The program's own name as the source of the errors it raises.
inline constexpr wchar_t kProgramSource[] = L"VT_Uninstall";

// Well-known error numbers the program raises or reports.
enum ErrorNumber : long {
    kErrInvalidCall = 5,
    kErrOverflow = 6,
    kErrOutOfMemory = 7,
    kErrDivisionByZero = 11,
    kErrTypeMismatch = 13,
    kErrDllLoad = 48,
    kErrInternal = 51,
    kErrBadFileName = 52,
    kErrFileNotFound = 53,
    kErrInputPastEnd = 62,
    kErrPermissionDenied = 70,
    kErrDiskNotReady = 71,
    kErrPathAccess = 75,
    kErrPathNotFound = 76,
    kErrObjectNotSet = 91,
    kErrCannotCreateObject = 429,
    kErrNoSuchMember = 438,
    kErrAutomation = 440,
};

class RuntimeError : public std::exception {
  public:
    explicit RuntimeError(ErrorInfo info) : info_(std::move(info)) {}
    const ErrorInfo& info() const noexcept { return info_; }
    const char* what() const noexcept override { return "run-time error"; }

  private:
    ErrorInfo info_;
};

// The run time's own description of an error number ("Overflow", "File not found", ...).
std::wstring StandardDescription(long number);

// Raises error `number`; an empty description takes the standard one.
[[noreturn]] void Raise(long number, std::wstring description = {},
                        std::wstring source = kProgramSource);

// The exception in flight as an ErrorInfo. Only valid inside a catch block. Exceptions that
// are not RuntimeErrors become "Out of memory" (allocation failures) or "Internal error".
ErrorInfo CurrentError() noexcept;

// Errors skipped: runs one statement; a failure inside it is dropped.
template <class Statement> void ResumeNext(Statement&& statement) noexcept {
    try {
        std::forward<Statement>(statement)();
    } catch (...) {
    }
}

// Trap with a fixed result: body's result, or `fallback` when the body raises.
template <class T, class Body> [[nodiscard]] T TrapOr(T fallback, Body&& body) noexcept {
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        return fallback;
    }
}

// Trap with a handler: body's result, or what `handler(ErrorInfo)` makes of the failure.
template <class Body, class Handler>
auto TrapWith(Body&& body, Handler&& handler) noexcept -> decltype(body()) {
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        return std::forward<Handler>(handler)(CurrentError());
    }
}

} // namespace vt
