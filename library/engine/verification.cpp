#include "verification.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr DWORD kTextSize = 1024;

// Network error codes have their texts in a module of their own.
constexpr DWORD kFirstNetworkError = 2100;
constexpr DWORD kLastNetworkError = 2999;

// Bytes of the character that starts at p: a double-byte character of the code page on
// Windows, a UTF-8 sequence elsewhere.
size_t CharacterBytes(const unsigned char *p) {
#ifdef _WIN32
    return IsDBCSLeadByte(*p) ? 2 : 1;
#else
    if (*p >= 0xF0) return 4;
    if (*p >= 0xE0) return 3;
    if (*p >= 0xC0) return 2;
    return 1;
#endif
}

}  // namespace

DWORD FormatSystemMessage(DWORD code, char *buffer, DWORD size) {
    if (code == 0 || size == 0 || !buffer) return 0;

    HMODULE network = nullptr;
    DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM;
    if (code >= kFirstNetworkError && code <= kLastNetworkError) {
        network = LoadLibraryExA("netmsg.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (network) flags |= FORMAT_MESSAGE_FROM_HMODULE;
    }
    char *text = nullptr;
    DWORD length = FormatMessageA(flags, network, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                  reinterpret_cast<LPSTR>(&text), 0, nullptr);
    if (network) FreeLibrary(network);
    if (length == 0 || !text) {
        if (text) LocalFree(text);
        return 0;
    }

    // Whole characters only, and room for the terminating zero.
    const unsigned char *bytes = reinterpret_cast<const unsigned char *>(text);
    DWORD copied = 0;
    while (copied < length) {
        DWORD step = static_cast<DWORD>(CharacterBytes(bytes + copied));
        if (step > length - copied) step = length - copied;
        if (copied + step > size - 1) break;
        copied += step;
    }
    std::memcpy(buffer, text, copied);
    buffer[copied] = '\0';
    LocalFree(text);
    return copied;
}

void ShowInternalError(const char *text) {
    MessageBoxA(GetForegroundWindow(), text, "VisQKM", MB_OK | MB_ICONINFORMATION);
}

int ReportVerificationFailure(const char *file, int line, const char *date, const char *time,
                              int interactive) {
    DWORD code = GetLastError();
    char systemText[kTextSize];
    std::memset(systemText, 0, sizeof systemText);
    DWORD found = FormatSystemMessage(code, systemText, sizeof systemText);
    SetLastError(0);
    if (found == 0) std::strcpy(systemText, "None");

    char report[kTextSize];
    std::snprintf(report, sizeof report, "File: %s, Line: %d, Last Compiled on %s at %s\nError: %d, %s ",
                  file ? file : "", line, date ? date : "", time ? time : "", static_cast<int>(code),
                  systemText);

    HWND owner = GetActiveWindow();
    if (owner) {
        HWND popup = GetLastActivePopup(owner);
        if (popup) owner = popup;
    }

    if (interactive) {
        int answer = MessageBoxA(owner, report, "Verification Failed!",
                                 MB_ABORTRETRYIGNORE | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
        if (answer == IDRETRY) {
            DebugBreak();
            return 1;
        }
        return answer == IDIGNORE ? 0 : 1;
    }

    ShowInternalError("An Internal Error Occured, Exiting Visual QKM Editor");
    // Nothing is written when the log cannot be opened: the facility reports no failures of its own.
    FILE *log = std::fopen("visQKM.log", "a");
    if (log) {
        std::fprintf(log, "\nVerification failed: %s", report);
        std::fputs("\n-------------------------\n", log);
        std::fclose(log);
    }
    return 1;
}
