// executable_info FILE - prints what a program says of itself, one NAME=VALUE
// per line: the strings of its version information, its fixed file version,
// and the file of the common controls that its manifest selects ("none" when
// the manifest cannot be activated). Exit code 1 when the file carries no
// version information.
#include <windows.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr std::array kStringNames{"CompanyName",      "FileDescription", "FileVersion",   "InternalName",
                                  "OriginalFilename", "ProductName",     "ProductVersion"};

std::string QueryString(std::vector<char>& block, const std::string& path) {
    void* value = nullptr;
    UINT length = 0;
    if (VerQueryValueA(block.data(), path.c_str(), &value, &length) == 0 || length == 0) return "(missing)";
    return static_cast<const char*>(value);
}

// The strings of the first translation that the file lists.
void PrintStrings(std::vector<char>& block) {
    void* value = nullptr;
    UINT length = 0;
    if (VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &value, &length) == 0 || length < 4) {
        std::printf("Translation=(missing)\n");
        return;
    }
    const auto* words = static_cast<const WORD*>(value);
    std::array<char, 64> prefix{};
    std::snprintf(prefix.data(), prefix.size(), "\\StringFileInfo\\%04x%04x\\", words[0], words[1]);
    for (const char* name : kStringNames)
        std::printf("%s=%s\n", name, QueryString(block, prefix.data() + std::string(name)).c_str());
}

void PrintFixedVersion(std::vector<char>& block) {
    void* value = nullptr;
    UINT length = 0;
    if (VerQueryValueA(block.data(), "\\", &value, &length) == 0 || length < sizeof(VS_FIXEDFILEINFO)) {
        std::printf("FixedFileVersion=(missing)\n");
        return;
    }
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    const std::array<unsigned, 4> parts{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                                        HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS)};
    std::printf("FixedFileVersion=%u.%u.%u.%u\n", parts[0], parts[1], parts[2], parts[3]);
}

// The file that the common controls are loaded from inside the activation
// context of the file's own manifest, as the system loads them when it starts
// the program: the side-by-side assembly the manifest selects, or the system
// folder's copy when it selects none. (Wine's version 6 reports 5.81 from
// DllGetVersion, so the file tells more than the number.)
std::string ManifestCommonControls(const char* file) {
    ACTCTXA request{};
    request.cbSize = sizeof(request);
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = file;
    request.lpResourceName = MAKEINTRESOURCEA(1);  // the manifest a process starts with
    HANDLE context = CreateActCtxA(&request);
    if (context == INVALID_HANDLE_VALUE) return "none";
    ULONG_PTR cookie = 0;
    std::string loaded = "none";
    if (ActivateActCtx(context, &cookie) != 0) {
        if (HMODULE library = LoadLibraryA("comctl32.dll"); library != nullptr) {
            std::array<char, MAX_PATH> path{};
            if (GetModuleFileNameA(library, path.data(), path.size()) != 0) loaded = path.data();
            FreeLibrary(library);
        }
        DeactivateActCtx(0, cookie);
    }
    ReleaseActCtx(context);
    return loaded;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: executable_info FILE\n");
        return 2;
    }
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(argv[1], &ignored);
    std::vector<char> block(size);
    if (size == 0 || GetFileVersionInfoA(argv[1], 0, size, block.data()) == 0) {
        std::printf("VersionInfo=(missing)\n");
        return 1;
    }
    PrintStrings(block);
    PrintFixedVersion(block);
    std::printf("CommonControlsFile=%s\n", ManifestCommonControls(argv[1]).c_str());
    return 0;
}
