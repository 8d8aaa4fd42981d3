#include "system/errors.h"

#include <new>

namespace vt {

std::wstring StandardDescription(long number) {
    struct Entry {
        long number;
        const wchar_t* text;
    };
    static constexpr Entry kTable[] = {
        {3, L"Return without GoSub"},
        {5, L"Invalid procedure call or argument"},
        {6, L"Overflow"},
        {7, L"Out of memory"},
        {9, L"Subscript out of range"},
        {11, L"Division by zero"},
        {13, L"Type mismatch"},
        {48, L"Error in loading DLL"},
        {51, L"Internal error"},
        {52, L"Bad file name or number"},
        {53, L"File not found"},
        {55, L"File already open"},
        {57, L"Device I/O error"},
        {58, L"File already exists"},
        {61, L"Disk full"},
        {62, L"Input past end of file"},
        {67, L"Too many files"},
        {68, L"Device unavailable"},
        {70, L"Permission denied"},
        {71, L"Disk not ready"},
        {75, L"Path/File access error"},
        {76, L"Path not found"},
        {91, L"Object variable or With block variable not set"},
        {429, L"ActiveX component can't create object"},
        {438, L"Object doesn't support this property or method"},
        {440, L"Automation error"},
    };
    for (const Entry& e : kTable) {
        if (e.number == number) {
            return e.text;
        }
    }
    return L"Application-defined or object-defined error";
}

void Raise(long number, std::wstring description, std::wstring source) {
    if (description.empty()) {
        description = StandardDescription(number);
    }
    throw RuntimeError(ErrorInfo{number, std::move(description), std::move(source), 0});
}

ErrorInfo CurrentError() noexcept {
    try {
        throw;
    } catch (const RuntimeError& e) {
        return e.info();
    } catch (const std::bad_alloc&) {
        return ErrorInfo{kErrOutOfMemory, StandardDescription(kErrOutOfMemory), kProgramSource, 0};
    } catch (...) {
        return ErrorInfo{kErrInternal, StandardDescription(kErrInternal), kProgramSource, 0};
    }
}

} // namespace vt
