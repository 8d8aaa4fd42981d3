// Objects of other components reached by name, as late binding reaches them: created by
// ProgID, their members looked up by name and then invoked.
#pragma once

#include "system/handles.h"

#include <cstdint>
#include <string>

namespace vt {

// A new object of the in-process class registered under `progId`. Only an in-process server
// is taken: nothing registered under the name can start a program of its own. Raises 429 when
// the class is not registered or its object cannot be made.
UniqueCom<IDispatch> CreateObject(const std::wstring& progId);

// Calls the method `member` of `object` with one argument, a 32-bit integer passed by
// reference, and returns the result as text. Raises 91 for no object, 438 for a member the
// object does not know, and the object's own error (or 440) when the call fails.
std::wstring CallTextMethod(IDispatch* object, const std::wstring& member, std::int32_t& argument);

} // namespace vt
