// The long form of a path, rebuilt from its end with the long name of each component: shared
// by the file and folder classes.
#pragma once

#include <string>

namespace vt {

// The path with each component's long name, the drive as the caller wrote it; the path must
// begin with a drive. Empty when the last component cannot be found; a component further up
// that cannot be found ends the walk there.
std::wstring LongPathOf(const std::wstring& path);

// Only the last component of a path (the system's PathStripPathW); a text without a folder
// part is its own last component.
std::wstring LastComponent(const std::wstring& path);

} // namespace vt
