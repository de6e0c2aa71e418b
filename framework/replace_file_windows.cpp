#include <windows.h>
// After windows.h: the security and random-number interfaces.
#include <aclapi.h>
#include <bcrypt.h>
#include <sddl.h>

#include <memory>
#include <utility>

#include "framework/file_handle_windows.h"
#include "framework/replace_file.h"
#include "framework/temporary_files.h"

namespace lumetra {

namespace {

// A name taken already (by chance, or planted by someone who guessed it).
constexpr int kNameAttempts = 16;
// The rights over a folder that let someone put or swap names in it.
constexpr DWORD kNameRights = FILE_ADD_FILE | FILE_DELETE_CHILD | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;
// The service that owns the system's own folders.
constexpr char kTrustedInstaller[] = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

std::error_code Error(DWORD code) {
    return {static_cast<int>(code != 0 ? code : ERROR_GEN_FAILURE), std::system_category()};
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool WriteAll(HANDLE file, std::string_view data) {
    while (!data.empty()) {
        const DWORD chunk = data.size() > 0x40000000U ? 0x40000000U : static_cast<DWORD>(data.size());
        DWORD written = 0;
        if (WriteFile(file, data.data(), chunk, &written, nullptr) == FALSE || written == 0) return false;
        data.remove_prefix(written);
    }
    return true;
}

// CREATE_NEW opens no link or file that someone put there. Delete sharing
// lets RemoveUnfinishedTemporaryFiles mark it for removal while it is open.
HANDLE CreateTemporary(const std::string& path, std::string& name) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        name = TemporaryNameBeside(path, UnpredictableNumber());
        const HANDLE handle = CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return handle;
    }
    return INVALID_HANDLE_VALUE;
}

// A rename replaces the name itself, a link as much as a file.
DWORD MoveIntoPlace(const std::string& from, const std::string& to) {
    DWORD error = ERROR_GEN_FAILURE;
    for (int attempt = 0; attempt < kBusyAttempts; ++attempt) {
        if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE) {
            return ERROR_SUCCESS;
        }
        error = GetLastError();
        if (!IsBusy(error) || IsFolder(to)) break;
        Sleep(kBusyPauseMs);
    }
    return error;
}

// The user this process runs as; empty when the token cannot be read.
std::unique_ptr<BYTE[]> ProcessUser() {
    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) == FALSE) return nullptr;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    auto user = size != 0 ? std::make_unique<BYTE[]>(size) : nullptr;
    if (user && GetTokenInformation(token, TokenUser, user.get(), size, &size) == FALSE) user.reset();
    CloseHandle(token);
    return user;
}

// The user, the system, the administrators and the system's installer.
bool IsTrusted(PSID sid, PSID user) {
    if (user != nullptr && EqualSid(sid, user) != FALSE) return true;
    if (IsWellKnownSid(sid, WinLocalSystemSid) != FALSE || IsWellKnownSid(sid, WinBuiltinAdministratorsSid) != FALSE ||
        IsWellKnownSid(sid, WinCreatorOwnerSid) != FALSE) {
        return true;
    }
    LPSTR text = nullptr;
    if (ConvertSidToStringSidA(sid, &text) == FALSE) return false;
    const bool installer = lstrcmpiA(text, kTrustedInstaller) == 0;
    LocalFree(text);
    return installer;
}

bool OnlyTrustedMayAddNames(PSID owner, const ACL* dacl) {
    const std::unique_ptr<BYTE[]> user = ProcessUser();
    const PSID me = user ? reinterpret_cast<TOKEN_USER*>(user.get())->User.Sid : nullptr;
    // A folder without a list of rights is open to everyone.
    if (dacl == nullptr || owner == nullptr || !IsTrusted(owner, me)) return false;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* entry = nullptr;
        if (GetAce(const_cast<ACL*>(dacl), i, &entry) == FALSE) return false;
        const auto* header = static_cast<const ACE_HEADER*>(entry);
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE) != 0) continue;
        const auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
        PSID sid = const_cast<DWORD*>(&allowed->SidStart);
        if ((allowed->Mask & kNameRights) != 0 && !IsTrusted(sid, me)) return false;
    }
    return true;
}

}  // namespace

std::uint64_t UnpredictableNumber() {
    std::uint64_t number = 0;
    if (BCRYPT_SUCCESS(BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(&number), sizeof number,
                                       BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
        return number;
    }
    // No random source: a name that others may guess costs at most a retry,
    // since the file is created exclusively.
    return (static_cast<std::uint64_t>(GetCurrentProcessId()) << 40) ^ GetTickCount64();
}

void RemoveFileNow(const char* path) noexcept {
    DeleteFileA(path);
}

std::error_code ReplaceFileWhole(const std::string& path, std::string_view contents, LinkRule /*links*/) {
    // The owner made the file read-only: leave it so (a rename would only fail later).
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return Error(ERROR_ACCESS_DENIED);
    }
    std::string temporary;
    CFileHandle file(CreateTemporary(path, temporary));
    if (file.Get() == INVALID_HANDLE_VALUE) return Error(GetLastError());
    const CRecordedTemporary recorded(temporary);
    DWORD error = ERROR_SUCCESS;
    if (!WriteAll(file.Get(), contents) || FlushFileBuffers(file.Get()) == FALSE) error = GetLastError();
    if (!file.Close() && error == ERROR_SUCCESS) error = GetLastError();
    if (error == ERROR_SUCCESS) error = MoveIntoPlace(temporary, path);
    if (error != ERROR_SUCCESS) {
        DeleteFileA(temporary.c_str());
        return Error(error);
    }
    return {};
}

std::error_code CheckReplaceable(const std::string& path) {
    std::string temporary;
    const CFileHandle file(CreateTemporary(path, temporary));
    if (file.Get() == INVALID_HANDLE_VALUE) return Error(GetLastError());
    const CRecordedTemporary recorded(temporary);
    DeleteFileA(temporary.c_str());
    return {};
}

bool KeepsOthersOut(const std::string& folder) {
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    std::string name = folder.empty() ? "." : folder;
    if (GetNamedSecurityInfoA(name.data(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                              &owner, nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS) {
        return false;
    }
    const bool closed = OnlyTrustedMayAddNames(owner, dacl);
    LocalFree(descriptor);
    return closed;
}

}  // namespace lumetra
