#pragma once
// What the program and its companion editor (Glossel.exe) agree on: the registered message and its command pairs,
// the semaphores through which each finds the other's window, the registry value that names the compiled script
// handed over, and the file of test headlines. Both sides build on these definitions and nothing else.
#include <cstdint>
#include <string>
#include <string_view>

namespace pelo::script::companion {

inline constexpr char PeloCommMessageName[] = "PeloComm 447A8832-D64B-4BD4-9286-BAA4F2E44B27";

// The two parameters of the registered message that together make one command.
struct CommandCode {
    std::uint32_t WParam;
    std::uint32_t LParam;
};
inline constexpr CommandCode Activate{8912731, 9182379};
inline constexpr CommandCode Attach{1982137, 1819273};
inline constexpr CommandCode Detach{1819273, 1982137};
inline constexpr CommandCode Test{2982137, 2819273};
inline constexpr CommandCode Reset{2819273, 2982137};
// To the editor: lParam 1 a script has just been attached, 0 none is (any more).
inline constexpr std::uint32_t ScriptStateCode = 8712631;

// Under HKEY_CURRENT_USER.
inline constexpr wchar_t RegistryKey[] = L"Software\\Quorvel Software\\Pelorant";
inline constexpr wchar_t AttachedScriptValue[] = L"AttachedScript";
// Under the user's local application data.
inline constexpr wchar_t AppDataSubfolder[] = L"Quorvel Software\\Pelorant";
inline constexpr wchar_t TestHeadlinesFileName[] = L"TestHeadlines.txt";
inline constexpr wchar_t ProgramFileName[] = L"Pelorant.exe";
inline constexpr wchar_t EditorFileName[] = L"Glossel.exe";

// Folder part of a program's command line (or path) with every "\" turned into "/": the semaphore names are built
// on it, so that a program and an editor of the same folder find each other and other installations do not.
inline std::u16string ProgramFolderKey(std::u16string_view commandLine) {
    std::u16string_view path = commandLine;
    if (!path.empty() && path.front() == u'"') {
        path.remove_prefix(1);
        const auto close = path.find(u'"');
        if (close != std::u16string_view::npos) path = path.substr(0, close);
    }
    std::u16string folder;
    const auto cut = path.find_last_of(u"\\:");
    if (cut != std::u16string_view::npos) {
        // A drive root keeps its separator ("C:\"), any other folder loses it.
        const bool keep = path[cut] == u':' || (cut > 0 && (path[cut - 1] == u':' || path[cut - 1] == u'\\'));
        folder = std::u16string(path.substr(0, keep ? cut + 1 : cut));
    }
    for (auto& c : folder)
        if (c == u'\\') c = u'/';
    return folder;
}

inline std::u16string InstanceSemaphoreNameFor(std::u16string_view commandLine) {
    return ProgramFolderKey(commandLine) + u"/Pelorant.exe";
}

inline std::u16string EditorSemaphoreNameFor(std::u16string_view commandLine) {
    return ProgramFolderKey(commandLine) + u"/Glossel.exe";
}

}  // namespace pelo::script::companion
