// Arbitrary bytes read as a log by the uninstaller and by the model: they must agree on each piece.
#include "tests/native/log_model.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string found =
        vt::test::LogDisagreement({reinterpret_cast<const char*>(data), size});
    if (!found.empty()) {
        std::fprintf(stderr, "%s\n", found.c_str());
        std::abort();
    }
    return 0;
}
