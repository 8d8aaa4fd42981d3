#!/usr/bin/env python3
"""Hand-made faults in the product, and which of them the test tiers catch.

Each fault is one small change of the product's code: a comparison turned, a guard dropped, an
argument changed, a step left out. The script copies the work tree to a scratch folder, then for
each fault in turn makes the change there, builds, runs the tiers until one fails, and puts the
code back. A fault is caught when a tier fails; one that does not build is reported as such.
It is a tool for the team, not a test tier: it takes about a minute or two per fault.

    python3 tests/faults/run.py [--work DIR] [--tiers native,wine] [--list] [ID...]
"""
import argparse
import filecmp
import os
import re
import shutil
import subprocess
import sys
import time

# id, room, file, the text as it stands (found exactly once), the text that replaces it.
FAULTS = [
    # The installer's log.
    ('log-cut', 'log rules', 'uninstall/install_log.cpp', 'entry.substr(0, dot + 4)', 'entry.substr(0, dot + 3)'),
    ('log-shortest', 'log rules', 'uninstall/install_log.cpp', 'if (text.size() < kShortestPath) {', 'if (text.size() < kShortestPath - 2) {'),
    ('log-folder-mark', 'log rules', 'uninstall/install_log.cpp', 'text[text.size() - 4] == kFolderMark', 'text[text.size() - 3] == kFolderMark'),
    ('log-silent-plugin', 'log rules', 'uninstall/install_log.cpp', 'if (choices.silent && EndsWithNoCase', 'if (!choices.silent && EndsWithNoCase'),
    ('log-own-exe', 'log rules', 'uninstall/install_log.cpp', 'if (!choices.ownExeFile.empty() && EndsWith', 'if (false && EndsWith'),
    ('log-ocx-shared', 'log rules', 'uninstall/install_log.cpp', '{".dll", ".ocx", ".tlb", ".pif"}', '{".dll", ".tlb", ".pif"}'),
    ('log-case', 'log rules', 'uninstall/install_log.cpp', 'if (LowerAscii(tail[i]) != LowerAscii(lowerSuffix[i]))', 'if (tail[i] != LowerAscii(lowerSuffix[i]))'),
    ('scan-box-caption', 'log rules', 'uninstall/form1_removal.cpp', 'L"CleanUp - " + std::to_wstring', 'L"Cleanup - " + std::to_wstring'),
    ('scan-shared-away', 'log rules', 'uninstall/form1_removal.cpp', 'Raise(70); // Permission denied', 'Raise(75); // Permission denied'),
    # The removal script, step by step, and its guards.
    ('rm-sqlite-stays', 'removal', 'uninstall/form1_removal.cpp', 'FileOps->Delete(appDir + L"SQLite.dll", false);', '(void)0;'),
    ('rm-run-value', 'removal', 'uninstall/form1_removal.cpp', 'L"Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Run", L"Veltrane"}', 'L"Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Run", L"VeltraneHelper"}'),
    ('rm-newer-group', 'removal', 'uninstall/form1_removal.cpp', 'std::wstring(kNewerProgramsFolder) + kProductName}', 'programs + kProductName}'),
    ('rm-desktop-shortcut', 'removal', 'uninstall/form1_removal.cpp', 'GetSpecialFolder(kCsidlDesktop, hWnd())', 'GetSpecialFolder(kCsidlAppData, hWnd())'),
    ('rm-file-list', 'removal', 'uninstall/form1_removal.cpp', 'L"tmpVt.log",', 'L"tmpVt.lo",'),
    ('rm-themes-kept', 'removal', 'uninstall/form1_removal.cpp', 'L"Themes", /*keepWithoutLibraries=*/true', 'L"Themes", /*keepWithoutLibraries=*/false'),
    ('rm-plugins-silent', 'removal', 'uninstall/form1_removal.cpp', '&& !SilentMode && !KeepPlugIns', '&& !KeepPlugIns'),
    ('rm-no-wait', 'removal', 'uninstall/unregistrations.cpp', 'WaitForProgram(tool.process.get(), left);', '(void)left;'),
    ('rm-registers', 'removal', 'uninstall/unregistrations.cpp', 'L"/u /s \\"" + library', 'L"/s \\"" + library'),
    ('rm-relative-library', 'removal', 'uninstall/unregistrations.cpp', 'tool->started) || !NamesOneExactPlace(library)) {', 'tool->started) || library.empty()) {'),
    ('rm-in-use', 'removal', 'uninstall/form1_removal.cpp', 'FileOps->Exists(library) &&\n                                FileOps->DeleteInUse(library);', 'FileOps->Exists(library) && false;'),
    ('rm-fill', 'removal', 'uninstall/form1_removal.cpp', 'filling = pb.Value() < pb.Max();', 'filling = pb.Value() < pb.Max() - 1;'),
    ('rm-scan-kept-plugins', 'removal', 'uninstall/form1_removal.cpp', 'StepForLogFile(entry.text, true, choices) ==', 'StepForLogFile(entry.text, true, choices) !='),
    ('rm-extension-test', 'removal', 'uninstall/form1_removal.cpp', '    return EndsWithNoCase(entry, L".dll");', '    return EndsWithNoCase(entry, L".dll") || true;'),
    ('log-record-bytes', 'log rules', 'uninstall/install_log.cpp', 'whole.size() - kFolderRecordBytes', 'whole.size() - 4'),
    ('log-short-form', 'log rules', 'uninstall/form1_removal.cpp', '{folder, ShortPathName(folder)}', '{folder}'),
    # What a standard user may change steers nothing.
    ('trust-unregister', 'trust', 'uninstall/unregistrations.cpp', '|| !closed_) {', ') {'),
    ('trust-library', 'trust', 'uninstall/unregistrations.cpp', 'if (!held.trusted) {', 'if (false) {'),
    ('trust-language', 'trust', 'uninstall/form1.cpp', 'if (!programFolderClosed_ || !held.trusted) {', 'if (false) {'),
    ('trust-log', 'trust', 'uninstall/form1_removal.cpp', 'log->onlyTrustedWrite && programFolderClosed_', 'log->onlyTrustedWrite'),
    ('trust-inside', 'trust', 'filesystem/links.cpp', 'if (file && LiesBelowThrough(', 'if (file || LiesBelowThrough('),
    ('trust-batch', 'trust', 'uninstall/form1.cpp', 'if (programFolderClosed_) {\n            ResumeNext([&] { batch', 'if (true) {\n            ResumeNext([&] { batch'),
    # The settings and the start-up entries.
    ('set-star-tag', 'settings', 'uninstall/settings_rules.cpp', 'tag == L"HKCU:" || tag == L"STAR:"', 'tag == L"HKCU:"'),
    ('set-blanks-kept', 'settings', 'uninstall/settings_rules.cpp', "if (c != L' ') {", "if (c != L'\\t') {"),
    ('set-tag-case', 'settings', 'uninstall/settings_rules.cpp', 'c = static_cast<wchar_t>(std::towupper(c));', '(void)c;'),
    ('set-product-key', 'settings', 'uninstall/form1.cpp', 'ResumeNext([&] { DeleteRegKey(kHkeyCurrentUser, L"Software\\\\", kProductName); });', ''),
    ('set-user-folder', 'settings', 'uninstall/form1.cpp', 'FolderOps->Delete(UserDataFolder);', ''),
    ('set-plugins-default', 'settings', 'uninstall/form1.cpp', 'Ask(IDS_KEEP_PLUGINS, kAskNoDefault)', 'Ask(IDS_KEEP_PLUGINS, kAskYesDefault)'),
    # The self-removal batch.
    ('bat-if-exist', 'batch', 'uninstall/clearup_batch.cpp', 'L"if  exist "', 'L"if exist "'),
    ('bat-root-calls-itself', 'batch', 'uninstall/clearup_batch.cpp', 'if (parentBatchTrusted && !SameFolder(R, P)) {', 'if (parentBatchTrusted) {'),
    ('bat-percent', 'batch', 'uninstall/clearup_batch.cpp', "escaped += L'%';", ''),
    ('bat-inexact-ansi', 'batch', 'uninstall/clearup_batch.cpp', 'if (toAnsi(exePath)) {', 'if (toAnsi(exePath) || true) {'),
    ('bat-feedback-silent', 'batch', 'uninstall/form1.cpp', 'if (!SilentMode) {\n            ResumeNext([&] {\n                ShellExecuteA', 'if (SilentMode || !SilentMode) {\n            ResumeNext([&] {\n                ShellExecuteA'),
    # The texts and the language path.
    ('txt-line-break', 'texts', 'uninstall/message_text.cpp', 'ReplaceAll(text, L"|", L"\\r\\n");', 'ReplaceAll(text, L"|", L"\\n");'),
    ('txt-app-case', 'texts', 'uninstall/message_text.cpp', "(c >= L'a' && c <= L'z') ? wchar_t(c - 32) : c;", 'c;'),
    ('lang-version', 'texts', 'uninstall/form1.cpp', '!= VT_MAJOR_VERSION - 2)', '!= VT_MAJOR_VERSION - 1)'),
    ('lang-lower-case', 'texts', 'uninstall/form1.cpp', 'CharLowerBuffW(chosen.data(), static_cast<DWORD>(chosen.size()));', ''),
    ('txt-empty-string', 'texts', 'uninstall/message_text.cpp', 'if (length == 0) {\n                return std::nullopt;', 'if (length == 0) {\n                return std::wstring();'),
    # The registry.
    ('reg-empty-name', 'registry', 'system/modReg.cpp', 'if (keyName.empty() || !RegKeyExists(root, parentPath)) {', 'if (!RegKeyExists(root, parentPath)) {'),
    ('reg-rounding', 'registry', 'system/reg_rules.cpp', 'std::nearbyint(value)', 'std::round(value)'),
    ('reg-multi-string', 'registry', 'system/modReg.cpp', 'if (type != REG_SZ && type != REG_MULTI_SZ) {', 'if (type != REG_SZ) {'),
    ('reg-value-list', 'registry', 'system/modReg.cpp', 'std::vector<std::wstring> names(1);', 'std::vector<std::wstring> names;'),
    # Files, folders and their guards.
    ('fs-wildcard', 'files', 'filesystem/path_rules.cpp', 'path.find_first_of(L"*?")', 'path.find_first_of(L"*")'),
    ('fs-relative', 'files', 'filesystem/path_rules.cpp', "path[1] == L':' && path[2] == L'\\\\';", "path[1] == L':';"),
    ('fs-drive-root', 'files', 'filesystem/clsFolder.cpp', 'if (target.size() <= 2) {', 'if (target.size() < 2) {'),
    ('fs-recycle', 'files', 'filesystem/clsFile.cpp', 'recycleBin ? kFofQuietSilent | kFofAllowUndo : kFofQuietSilent', 'recycleBin ? kFofQuietSilent | kFofAllowUndo : kFofQuietSilent | kFofAllowUndo'),
    ('fs-link-source', 'files', 'filesystem/shell_file_op.cpp', 'if (IsLink(attributes)) {\n            allRemoved = RemoveLink(path) && allRemoved;\n        } else if', 'if (false) {\n            allRemoved = RemoveLink(path) && allRemoved;\n        } else if'),
    ('fs-links-below', 'files', 'filesystem/shell_file_op.cpp', '(attributes & FILE_ATTRIBUTE_DIRECTORY) && !RemoveLinksBelow(path)) {', '(attributes & FILE_ATTRIBUTE_DIRECTORY) && false) {'),
    ('fs-walk-link', 'files', 'filesystem/clsFolder.cpp', '(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&\n                                          IsLink(entry.dwFileAttributes);', '(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && false;'),
    ('fs-pattern', 'files', 'filesystem/path_rules.cpp', 'return L"*" + fileType + L"*";', 'return L"*" + fileType;'),
    ('fs-missing-folder-text', 'files', 'filesystem/path_rules.cpp', '(kind == PathCheckKind::File ? CutBeforeLastBackslash(path) : path)', 'path'),
    ('fs-exists-folder', 'files', 'filesystem/clsFile.h', 'return value != kMissing && !(value & kDirectory);', 'return value != kMissing;'),
    ('fs-link-check', 'files', 'filesystem/links.cpp', 'sizeof opened) ||\n        !IsLink(opened.FileAttributes)) {', 'sizeof opened)) {'),
    # The running-program check.
    ('proc-name-ending', 'processes', 'system/mProcess.cpp', 'if (moduleName && *moduleName == name) {', 'if (moduleName && EndsWith(*moduleName, name)) {'),
    ('proc-kills-itself', 'processes', 'system/mProcess.cpp', 'if (EndsWith(name, wanted) && entry.th32ProcessID != GetCurrentProcessId()) {', 'if (EndsWith(name, wanted)) {'),
    ('proc-not-ended', 'processes', 'uninstall/form1.cpp', 'ResumeNext([&] { (void)KillProcess(program.exeName); });', ''),
    # Libraries and programs from the system folder only.
    ('load-search-order', 'loading', 'system/system_library.cpp', 'return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);', 'return LoadLibraryExW(name, nullptr, 0);'),
    ('load-default-dirs', 'loading', 'system/system_library.cpp', 'setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);', ''),
    ('load-bare-program', 'loading', 'system/system_program.cpp', 'const std::wstring path = folder + L"\\\\" + program;', 'const std::wstring path = program;'),
    # The progress bar and the labels.
    ('bar-rounding', 'controls', 'controls/rounding.cpp', 'return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;', 'return floor + 1;'),
    ('bar-fill-floor', 'controls', 'controls/progress_rules.cpp', 'std::floor(static_cast<double>(scaleWidth) / 100.0 * percent)', 'std::round(static_cast<double>(scaleWidth) / 100.0 * percent)'),
    ('bar-clamp', 'controls', 'controls/progress_rules.cpp', 'check.value = max;', ''),
    ('bar-last-tile', 'controls', 'controls/progress_rules.cpp', 'x <= static_cast<float>(stripWidth)', 'x < static_cast<float>(stripWidth)'),
    ('label-alignment', 'controls', 'controls/label_rules.cpp', 'alignment == 1 ? kRight : alignment == 2 ? kCenter : kLeft', 'alignment == 1 ? kCenter : alignment == 2 ? kRight : kLeft'),
    ('label-bold-width', 'controls', 'controls/label_rules.cpp', '(bold ? 80 : 40)', '(bold ? 40 : 40)'),
    ('label-key-mask', 'controls', 'controls/label_rules.cpp', '(surface[i] & 0x00FFFFFF) == (key & 0x00FFFFFF)', 'surface[i] == key'),
    # The window's scale and its accessibility.
    ('dpi-ignored', 'window', 'controls/control_window.cpp', '1440.0 / (dpi > 0 ? dpi : 96)', '1440.0 / (dpi > 0 ? 96 : 96)'),
    ('dpi-font', 'window', 'uninstall/form1_design.cpp', 'MulDiv(hundredthsOfPoint, static_cast<int>(dpi), 7200)', 'MulDiv(hundredthsOfPoint, static_cast<int>(dpi) * 0 + 96, 7200)'),
    ('dpi-message', 'window', 'uninstall/form1_design.cpp', 'design->ScaleTo(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));', ''),
    ('acc-role', 'window', 'controls/accessible.cpp', '? ROLE_SYSTEM_PROGRESSBAR : ROLE_SYSTEM_STATICTEXT', '? ROLE_SYSTEM_STATICTEXT : ROLE_SYSTEM_STATICTEXT'),
    ('acc-value-event', 'window', 'controls/MyProgressBar.cpp', 'NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window, OBJID_CLIENT, CHILDID_SELF);', ''),
    # Members and behaviours only the unit tests reach: the run itself never calls them.
    ('file-in-use-shared', 'files', 'filesystem/clsFile.cpp', '!OpenFile(sFilename, GENERIC_READ, 0, OPEN_EXISTING)', '!OpenFile(sFilename, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING)'),
    ('file-size-high-half', 'files', 'filesystem/clsFile.cpp', 'static_cast<FileSize>(high) * 4294967296 + low', 'static_cast<FileSize>(low)'),
    ('folder-unique-mark', 'files', 'filesystem/clsFolder.cpp', 'candidate = folder + L"_" + suffix;', 'candidate = folder + suffix;'),
    ('folder-dot-subfolders', 'files', 'filesystem/clsFolder.cpp', "&& entry.cFileName[0] != L'.')", ')'),
    ('folder-times-swapped', 'files', 'filesystem/clsFolder.cpp', 'SetFileTime(handle.get(), &created, &accessed, &modified)', 'SetFileTime(handle.get(), &created, &modified, &accessed)'),
    ('bar-head-box', 'controls', 'controls/MyProgressBar.cpp', 'if (s.props.ErrorsOn && width < 0) {', 'if (s.props.ErrorsOn && width < -1) {'),
    ('bar-box-icon', 'controls', 'controls/MyProgressBar.cpp', 'MB_OK | MB_ICONEXCLAMATION, kBoxTitle', 'MB_OK | MB_ICONINFORMATION, kBoxTitle'),
    ('label-cursor', 'controls', 'controls/MyUniLabel.cpp', '{11, IDC_WAIT}', '{11, IDC_APPSTARTING}'),
    ('label-drag', 'controls', 'controls/MyUniLabel.cpp', 'SendMessageW(form, WM_SYSCOMMAND, SC_MOVE + 2, 0);', '(void)form;'),
    ('icon-top-owner', 'window', 'system/mIcon.cpp', 'owner = GetWindow(owner, GW_OWNER)) {', 'owner = nullptr) {'),
    ('icon-small-size', 'window', 'system/mIcon.cpp', 'GetSystemMetrics(SM_CXSMICON),', 'GetSystemMetrics(SM_CXICON),'),
    ('icon-by-number', 'window', 'system/mIcon.cpp', 'std::strspn(iconName, "0123456789") != std::strlen(iconName)', 'std::strspn(iconName, "0123456789") == std::strlen(iconName)'),
    # Platform-neutral rules that only the native tier looks at closely.
    ('bag-key-case', 'property bag', 'controls/property_bag.cpp', "(c >= L'A' && c <= L'Z') ? c + (L'a' - L'A') : c; };", 'c; };'),
    ('bag-bool-sign', 'property bag', 'controls/property_bag.cpp', 'return number != 0;', 'return number > 0;'),
    ('resample-radius', 'resampling', 'controls/resample.cpp', 'std::max(1.0, ratio)', 'ratio'),
    ('resample-truncate', 'resampling', 'controls/resample.cpp', 'std::lround(std::clamp(sum, 0.0, 255.0))', '(std::clamp(sum, 0.0, 255.0))'),
    ('label-rect-bottom', 'label rectangles', 'controls/label_rules.cpp', 'innerHeightTwips / twipsPerPixelY + 1', 'innerHeightTwips / twipsPerPixelY - 1'),
    ('label-prefix', 'label rectangles', 'controls/label_rules.cpp', 'if (useMnemonic) {', 'if (!useMnemonic) {'),
    ('block-last-entry', 'message table', 'uninstall/message_text.cpp', 'for (unsigned i = 0; i < 16; ++i) {', 'for (unsigned i = 0; i < 15; ++i) {'),
    ('block-bounds', 'message table', 'uninstall/message_text.cpp', 'if (length > block.size() - at) {', 'if (length >= block.size() - at) {'),
    ('block-number', 'message table', 'uninstall/message_text.h', 'return id / 16 + 1;', 'return id / 16;'),
    ('err-standard-text', 'error texts', 'system/errors.cpp', 'if (description.empty()) {', 'if (false) {'),
    ('err-out-of-memory', 'error texts', 'system/errors.cpp', 'return ErrorInfo{kErrOutOfMemory,', 'return ErrorInfo{kErrInternal,'),
    ('err-box-line', 'error texts', 'uninstall/form1_rules.cpp', 'L" : Form_Load : " + std::to_wstring(error.line)', 'L" : Form_Load : " + std::to_wstring(0)'),
    ('cmd-quoted-name', 'command line', 'uninstall/form1_rules.cpp', 'commandLine.find(L\'"\', 1)', 'commandLine.find(L\'"\', 0)'),
    ('cmd-tab', 'command line', 'uninstall/form1_rules.cpp', "(commandLine[at] == L' ' || commandLine[at] == L'\\t')", "commandLine[at] == L' '"),
    ('size-half-up', 'sizes and names', 'filesystem/file_rules.cpp', '(bytes % unit * scale + unit / 2) / unit', '(bytes % unit * scale) / unit'),
    ('size-band-edge', 'sizes and names', 'filesystem/file_rules.cpp', 'if (bytes < 1000 * kKilo) {', 'if (bytes <= 1000 * kKilo) {'),
    ('version-build', 'sizes and names', 'filesystem/file_rules.cpp', 'text += L"." + std::to_wstring(fileVersionLS & 0xFFFF);', 'text += L"." + std::to_wstring(fileVersionLS >> 16);'),
    ('name-dos-star', 'sizes and names', 'filesystem/file_rules.cpp', "case L'*':\n            name += L'_';", "case L'*':\n            name += L'-';"),
    ('name-letter-carry', 'sizes and names', 'filesystem/path_rules.cpp', "if (next[i] != L'z') {", "if (next[i] != L'y') {"),
    ('path-abbrev-shared', 'sizes and names', 'filesystem/path_rules.cpp', "folder.substr(b.rfind(L'\\\\') + 1)", "folder.substr(b.rfind(L'\\\\'))"),
    ('reg-exponent', 'registry', 'system/reg_rules.cpp', 'if (exponent == 0) {\n            return std::nullopt;', 'if (false) {\n            return std::nullopt;'),
    ('start-menu-root', 'removal places', 'uninstall/form1_rules.cpp', "if (!NamesOneExactPlace(commonStartup) || commonStartup.back() == L'\\\\') {", 'if (!NamesOneExactPlace(commonStartup)) {'),
    ('bar-text2', 'controls', 'controls/progress_rules.cpp', 'return PercentText(percent) + props.Text2;', 'return PercentText(percent);'),
    ('bar-min-limit', 'controls', 'controls/progress_rules.cpp', 'if (newValue >= max) {', 'if (newValue > max) {'),
    ('log-pieces', 'log rules', 'uninstall/install_log.h', 'const std::size_t start = at + kDriveSeparator.size();', 'const std::size_t start = at + 1;'),
]

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def run(command, cwd, log, env=None):
    with open(log, "a") as out:
        out.write(f"$ {command}\n")
        out.flush()
        return subprocess.run(command, shell=True, cwd=cwd, stdout=out, stderr=subprocess.STDOUT,
                              env={**os.environ, **(env or {})}).returncode == 0


def first_failure(log):
    """The first test that failed, as the tier's output names it."""
    with open(log, errors="replace") as out:
        text = out.read()
    for pattern in (r"\[  FAILED  \] (\S+)", r"\d+ - (\S+) \(Failed\)", r"\*\*\*Timeout"):
        found = re.search(pattern, text)
        if found:
            return found.group(1) if found.groups() else "timeout"
    return "?"


def sync(source, dest, files):
    """Copies the files that differ, so that the scratch builds stay incremental."""
    wanted = set(files)
    for name in files:
        there = os.path.join(dest, name)
        if os.path.isfile(os.path.join(source, name)) and not (
                os.path.exists(there) and filecmp.cmp(os.path.join(source, name), there, False)):
            os.makedirs(os.path.dirname(there), exist_ok=True)
            shutil.copyfile(os.path.join(source, name), there)
            shutil.copymode(os.path.join(source, name), there)
    for folder, _, names in os.walk(dest):
        relative = os.path.relpath(folder, dest)
        if relative == "build" or relative.startswith("build" + os.sep):
            continue
        for name in names:
            if os.path.normpath(os.path.join(relative, name)) not in wanted:
                os.remove(os.path.join(folder, name))


TIERS = {
    "native": ("bash scripts/build.sh native", "ctest --test-dir build/native --stop-on-failure --output-on-failure"),
    "wine": ("bash scripts/build.sh win64",
             "tests/wine/with-wine.sh ctest --test-dir build/win64 --stop-on-failure --output-on-failure"),
}
# One part of the Windows tier: its unit tests, or its end-to-end runs.
for part in ("windows", "e2e"):
    TIERS[part] = (TIERS["wine"][0], TIERS["wine"][1] + f" -R '^{part}'")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--work", default="/tmp/vt-faults")
    parser.add_argument("--tiers", default="native,wine", help="of native, wine, windows, e2e")
    parser.add_argument("--list", action="store_true", help="list the faults and stop")
    parser.add_argument("ids", nargs="*")
    args = parser.parse_args()
    chosen = [f for f in FAULTS if not args.ids or f[0] in args.ids]
    if args.list:
        for fault in chosen:
            print(f"{fault[0]}\t{fault[1]}\t{fault[2]}")
        return 0
    tiers = args.tiers.split(",")
    src = os.path.join(args.work, "src")
    os.makedirs(src, exist_ok=True)
    # The work tree as it is, committed or not; the scratch copy keeps its own builds.
    files = subprocess.run(["git", "ls-files", "-co", "--exclude-standard", "-z"], cwd=ROOT,
                           check=True, capture_output=True).stdout
    sync(ROOT, src, [f.decode() for f in files.split(b"\0") if f])
    log = os.path.join(args.work, "log.txt")
    open(log, "w").close()
    for tier in tiers:
        if not run(TIERS[tier][0], src, log):
            print(f"the unchanged copy does not build for {tier}: see {log}", file=sys.stderr)
            return 1
    results = os.path.join(args.work, "results.tsv")
    with open(results, "a") as table:
        for fault_id, room, path, old, new in chosen:
            target = os.path.join(src, path)
            with open(target) as f:
                original = f.read()
            if original.count(old) != 1:
                outcome = "stale (the text is not there exactly once)"
            else:
                started = time.time()
                fault_log = os.path.join(args.work, f"{fault_id}.log")
                open(fault_log, "w").close()
                with open(target, "w") as f:
                    f.write(original.replace(old, new))
                outcome = "not caught"
                try:
                    for tier in tiers:
                        build, test = TIERS[tier]
                        if not run(build, src, fault_log):
                            outcome = f"does not build ({tier})"
                            break
                        if not run(test, src, fault_log, {"GTEST_FAIL_FAST": "1"}):
                            outcome = f"caught by {tier}: {first_failure(fault_log)}"
                            break
                finally:
                    with open(target, "w") as f:
                        f.write(original)
                outcome += f" [{time.time() - started:.0f} s]"
            line = f"{fault_id}\t{room}\t{outcome}"
            print(line, flush=True)
            table.write(line + "\n")
            table.flush()
    return 0


if __name__ == "__main__":
    sys.exit(main())
