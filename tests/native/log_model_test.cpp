// Logs such as the installer leaves, from fixed seeds, read by the uninstaller and by the model.
#include "tests/native/log_model.h"

#include <gtest/gtest.h>

#include <random>

namespace vt::test {
namespace {

// Records of files and folders in and around a program folder, in any letter case, among noise.
// The bytes the format leaves open are any, printable, or those a reader looks for, by the seed.
std::string MakeLog(unsigned seed) {
    std::mt19937 rng(seed);
    const std::string folder = seed % 2 ? "Program Files\\Veltrane 3.0" : "Program Files\\Veltrane";
    const auto below = [&](std::size_t n) { return rng() % n; };
    const auto open = [&] {
        return char(seed % 3 == 0   ? rng()
                    : seed % 3 == 1 ? ' ' + below(95)
                                    : ".\\: \0a\x82"[below(7)]);
    };
    const auto alnum = [&] { return "abcdefghijklmnopqrstuvwxyz0123456789"[below(36)]; };
    const auto some = [&](std::size_t most, auto byte) {
        std::string bytes(below(most + 1), ' ');
        std::ranges::generate(bytes, byte);
        return bytes;
    };
    std::string log = some(40, open);
    for (std::size_t n = below(12); n > 0; --n) {
        const std::string paths[] = {folder, folder + "2", folder + "\\Data", "V", ""};
        std::string ext[] = {"exe", "vtp", "dll", "ocx", "tlb", "pif", alnum() + some(4, alnum)};
        std::string path = paths[below(5)] + std::string(below(3), '\\');
        if (below(2)) {
            // The last of the four record bytes may not be a NUL, nor may they end in ":\".
            const char beside = open(), last = open();
            path += {open(), '\x82', beside, last && (beside != ':' || last != '\\') ? last : 'x'};
        } else {
            path +=
                std::string(below(2) ? "unins000." : "Read.me.") + ext[below(7)] + some(6, open);
        }
        std::ranges::for_each(path,
                              [&](char& c) { c -= c >= 'a' && c <= 'z' && below(2) ? 32 : 0; });
        log += some(below(2) * 8, open) + char('A' + below(26)) + ":\\" +
               std::string(below(4) ? 0 : below(3), ' ') + path + std::string(2, '\0');
    }
    return log;
}

TEST(LogModel, TheUninstallerReadsLogsAsTheModelDoes) {
    for (unsigned seed = 1; seed <= 4000; ++seed) {
        ASSERT_EQ(LogDisagreement(MakeLog(seed)), "") << "seed " << seed;
    }
}

} // namespace
} // namespace vt::test
