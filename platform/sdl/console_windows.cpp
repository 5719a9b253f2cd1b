// Where the program's own words go on Windows, where a GUI program comes with no console: the
// stream its starter gave it (a pipe, a file), else the console of the program that started it
// (a Command Prompt), else a message box.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>

#include "platform/sdl/console.h"

namespace disp_sdl::console {

namespace {

bool Usable(HANDLE h) { return h && h != INVALID_HANDLE_VALUE && GetFileType(h) != FILE_TYPE_UNKNOWN; }

std::wstring Wide(const std::string& s) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(n > 0 ? n : 0, L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
}

// Writes text to the console of the program that started this one; false when there is none.
bool ToParentConsole(const std::string& text) {
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return false;
  const HANDLE out = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  bool done = false;
  if (out != INVALID_HANDLE_VALUE) {
    // The Command Prompt does not wait for a GUI program: its prompt is already back, so the
    // text begins on a line of its own.
    const std::wstring w = Wide("\n" + text);
    DWORD written = 0;
    done = WriteConsoleW(out, w.data(), static_cast<DWORD>(w.size()), &written, nullptr) != 0;
    CloseHandle(out);
  }
  FreeConsole();
  return done;
}

}  // namespace

void Start() { std::setvbuf(stderr, nullptr, _IONBF, 0); }

void Show(const std::string& text, bool error) {
  if (Usable(GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE))) {
    std::FILE* stream = error ? stderr : stdout;
    std::fputs(text.c_str(), stream);
    std::fflush(stream);
    return;
  }
  if (ToParentConsole(text)) return;
  MessageBoxW(nullptr, Wide(text).c_str(), L"Dravel2",
              MB_OK | MB_SETFOREGROUND | (error ? MB_ICONERROR : MB_ICONINFORMATION));
}

}  // namespace disp_sdl::console
