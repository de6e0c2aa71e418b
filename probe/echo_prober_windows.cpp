// The echo exchange and the name look-up on Windows: ICMP.DLL loaded from
// the system folder for each echo, WS2_32 for the look-up. All of the prober's socket code for
// Windows is in this file.
#include <winsock2.h>
// winsock2.h must come before windows.h.
#include <windows.h>
// The ICMP library's records and entry point types.
#include <ipexport.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "framework/system_library_windows.h"
#include "probe/echo_permission.h"
#include "probe/echo_prober.h"
#include "probe/icmp_packet.h"

namespace lumetra {

namespace {

using IcmpCreateFileFn = HANDLE(WINAPI*)();
using IcmpCloseHandleFn = BOOL(WINAPI*)(HANDLE);
using IcmpSendEchoFn = DWORD(WINAPI*)(HANDLE, IPAddr, LPVOID, WORD, PIP_OPTION_INFORMATION, LPVOID, DWORD, DWORD);

// ICMP.DLL, loaded for one echo and freed after it.
class CIcmpLibrary {
public:
    CIcmpLibrary() : m_hModule(LoadSystemLibrary("ICMP.DLL")) {
        if (m_hModule == nullptr) return;
        m_pCreate = Entry<IcmpCreateFileFn>("IcmpCreateFile");
        m_pClose = Entry<IcmpCloseHandleFn>("IcmpCloseHandle");
        m_pSend = Entry<IcmpSendEchoFn>("IcmpSendEcho");
    }
    ~CIcmpLibrary() {
        if (m_hModule != nullptr) ::FreeLibrary(m_hModule);
    }
    CIcmpLibrary(const CIcmpLibrary&) = delete;
    CIcmpLibrary& operator=(const CIcmpLibrary&) = delete;

    bool IsComplete() const { return m_pCreate != nullptr && m_pClose != nullptr && m_pSend != nullptr; }
    IcmpCreateFileFn Create() const { return m_pCreate; }
    IcmpCloseHandleFn Close() const { return m_pClose; }
    IcmpSendEchoFn Send() const { return m_pSend; }

private:
    template <typename Fn>
    Fn Entry(const char* name) const {
        // FARPROC stands for any entry point; the library's own header gives the real types.
        return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(m_hModule, name)));
    }

    HMODULE m_hModule;
    IcmpCreateFileFn m_pCreate = nullptr;
    IcmpCloseHandleFn m_pClose = nullptr;
    IcmpSendEchoFn m_pSend = nullptr;
};

// An echo handle of the library, closed when the echo is done.
class CEchoHandle {
public:
    explicit CEchoHandle(const CIcmpLibrary& library) : m_library(library), m_hEcho(library.Create()()) {}
    ~CEchoHandle() {
        if (IsOpen()) m_library.Close()(m_hEcho);
    }
    CEchoHandle(const CEchoHandle&) = delete;
    CEchoHandle& operator=(const CEchoHandle&) = delete;

    bool IsOpen() const { return m_hEcho != INVALID_HANDLE_VALUE; }
    HANDLE Handle() const { return m_hEcho; }

private:
    const CIcmpLibrary& m_library;
    HANDLE m_hEcho;
};

// The library also returns a record for an ICMP error about the request
// (unreachable, time exceeded); only a successful echo of our own data counts.
bool IsOurEchoReply(const ICMP_ECHO_REPLY& reply, std::uint32_t address, int dataSize,
                    const std::vector<unsigned char>& buffer) {
    if (reply.Status != IP_SUCCESS || reply.Address != address) return false;
    if (reply.DataSize != static_cast<USHORT>(dataSize)) return false;
    if (dataSize == 0) return true;
    const auto* data = static_cast<const unsigned char*>(reply.Data);
    const unsigned char* begin = buffer.data();
    const unsigned char* end = begin + buffer.size();
    if (data == nullptr || std::less<>()(data, begin) || std::less<>()(end - dataSize, data)) return false;
    return std::all_of(data, data + dataSize, [](unsigned char b) { return b == kEchoFill; });
}

}  // namespace

CSocketLayer::CSocketLayer() {
    WSADATA data{};
    m_bStarted = ::WSAStartup(MAKEWORD(1, 1), &data) == 0;
}

CSocketLayer::~CSocketLayer() {
    if (m_bStarted) ::WSACleanup();
}

int LookUpHost(const char* host, std::uint32_t* address) {
    if (host == nullptr || *host == '\0') return 0;  // an empty name would give this machine's own entry
    const hostent* entry = ::gethostbyname(host);
    if (entry == nullptr || entry->h_addrtype != AF_INET || entry->h_length != 4) return 0;
    if (entry->h_addr_list == nullptr || entry->h_addr_list[0] == nullptr) return 0;
    if (address != nullptr) std::memcpy(address, entry->h_addr_list[0], sizeof *address);
    return 1;
}

int SendOneEcho(std::uint32_t address, int* roundTripMs, int* secondResult, int timeoutMs, int dataSize) {
    const int waitMs = EffectiveTimeoutMs(timeoutMs);
    if (!IsSendableEcho(address, waitMs, dataSize)) return 0;
    const CIcmpLibrary library;
    if (!library.IsComplete()) return 0;
    const CEchoHandle echo(library);
    if (!echo.IsOpen()) return 0;

    std::vector<unsigned char> request;
    std::vector<unsigned char> reply;
    try {
        request.assign(static_cast<std::size_t>(dataSize) + 1, kEchoFill);  // +1: never a null pointer
        // A 64-bit process gets the larger 64-bit record, plus room for an ICMP error message.
        reply.assign(sizeof(ICMP_ECHO_REPLY) + static_cast<std::size_t>(dataSize) + 8, 0);
    } catch (const std::bad_alloc&) {
        return 0;
    }

    const DWORD count = library.Send()(echo.Handle(), address, request.data(), static_cast<WORD>(dataSize), nullptr,
                                       reply.data(), static_cast<DWORD>(reply.size()), static_cast<DWORD>(waitMs));
    if (count == 0) return 0;
    ICMP_ECHO_REPLY first{};
    std::memcpy(&first, reply.data(), sizeof first);
    if (!IsOurEchoReply(first, address, dataSize, reply)) return 0;
    const int roundTrip = first.RoundTripTime > INT_MAX ? INT_MAX : static_cast<int>(first.RoundTripTime);
    StoreRoundTrip(roundTrip, roundTripMs, secondResult);
    return 1;
}

bool IcmpSocketsAvailable(std::string* why) {
    // Windows asks for no right to send echoes: only the library can be missing.
    const CIcmpLibrary library;
    if (!library.IsComplete()) {
        if (why != nullptr) *why = "ICMP.DLL cannot be loaded or lacks IcmpCreateFile, IcmpSendEcho or IcmpCloseHandle";
        return false;
    }
    const CEchoHandle echo(library);
    if (!echo.IsOpen() && why != nullptr) {
        *why = "ICMP.DLL gives no echo handle (Windows error " + std::to_string(::GetLastError()) + ")";
    }
    return echo.IsOpen();
}

std::string IcmpNotAllowedMessage(const std::string& why, std::string_view program) {
    return "cannot send ICMP echoes: " + why + ".\n" + std::string(program) +
           " sends them through the ICMP library that comes with Windows (ICMP.DLL in the system folder).";
}

}  // namespace lumetra
