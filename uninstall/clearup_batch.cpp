#include "uninstall/clearup_batch.h"

#include "uninstall/form1_rules.h"

namespace vt {

namespace {

bool IsAscii(std::wstring_view text) {
    for (wchar_t c : text) {
        if (c < 0x20 || c > 0x7E) {
            return false;
        }
    }
    return true;
}

bool SameFolder(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? c + (L'a' - L'A') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// The folder that holds `path`, without trailing backslash unless it is a drive root.
std::wstring FolderOf(std::wstring_view path) {
    const std::size_t last = path.rfind(L'\\');
    if (last == std::wstring_view::npos) {
        return {};
    }
    const bool driveRoot = last == 2 && path[1] == L':';
    return std::wstring(path.substr(0, driveRoot ? last + 1 : last));
}

// The command interpreter expands "%name%" even inside quotes; "%%" is one "%".
std::wstring ForBatch(const std::wstring& path) {
    std::wstring escaped;
    for (wchar_t c : path) {
        escaped += c;
        if (c == L'%') {
            escaped += L'%';
        }
    }
    return escaped;
}

// The one form of the executable's path that the batch can carry, if any. The command
// interpreter reads a batch file in the console's code page, which is not the ANSI one: only
// ASCII reads the same in both, so a path beyond ASCII goes by its short form when that is
// ASCII, and otherwise as the ANSI code page writes it, when it can.
std::optional<std::wstring> WritablePath(std::wstring_view exePath, std::wstring_view shortExePath,
                                         const AnsiEncoder& toAnsi) {
    if (IsAscii(exePath)) {
        return std::wstring(exePath);
    }
    if (!shortExePath.empty() && IsAscii(shortExePath)) {
        return std::wstring(shortExePath);
    }
    if (toAnsi(exePath)) {
        return std::wstring(exePath);
    }
    return std::nullopt;
}

} // namespace

std::string ClearupBatch::Path() const {
    return folder + "clearup.bat";
}

std::optional<ClearupBatch> MakeClearupBatch(std::wstring_view exePath,
                                             std::wstring_view shortExePath,
                                             bool parentBatchTrusted, const AnsiEncoder& toAnsi) {
    const std::optional<std::wstring> exe = WritablePath(exePath, shortExePath, toAnsi);
    if (!exe) {
        return std::nullopt;
    }
    const std::wstring folder = FolderOf(*exe);
    const std::wstring fileName = GetFileName(*exe, true);
    constexpr std::wstring_view kExtension = L".exe";
    if (folder.empty() || fileName.size() <= kExtension.size() ||
        !SameFolder(std::wstring_view(fileName).substr(fileName.size() - kExtension.size()),
                    kExtension)) {
        return std::nullopt;
    }
    const std::wstring X = fileName.substr(0, fileName.size() - kExtension.size());
    const std::wstring P = AddBackslash(folder);
    // The parent folder: the program folder without its backslash, cut after the last one.
    std::wstring R = GetFileName(P.substr(0, P.size() - 1), false);
    if (R.empty() || R.back() != L'\\') {
        R += L'\\';
    }

    constexpr wchar_t Q = L'"';
    const std::wstring exeInBatch = Q + ForBatch(P + X) + L".exe" + Q;
    const std::wstring eol = L"\r\n";
    std::wstring text = L":start" + eol + L"@echo off" + eol + L"cls" + eol;
    text += L"del " + exeInBatch + eol;
    text += L"if  exist " + exeInBatch + L" goto start" + eol;
    if (parentBatchTrusted && !SameFolder(R, P)) {
        text += L"call " + (Q + ForBatch(R) + kClearupBatchName + Q) + eol;
    }
    text += L"del " + (Q + ForBatch(P) + kClearupBatchName + Q) + eol;

    std::optional<std::string> bytes = toAnsi(text);
    std::optional<std::string> folderBytes = toAnsi(P);
    if (!bytes || !folderBytes) {
        return std::nullopt;
    }
    return ClearupBatch{std::move(*folderBytes), std::move(*bytes)};
}

} // namespace vt
