// Windows implementation of the platform layer. Inside the program every
// path and argument is UTF-8; the wide-character API is used for every file
// operation, so names in any language work whatever the system code page.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace platform {

namespace {

constexpr UINT kShiftJis = 932;

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

// Converts UTF-16 into `codePage`; false when a character has no form there.
bool Narrow(std::wstring_view wide, UINT codePage, std::string& out) {
  out.clear();
  if (wide.empty()) return true;
  BOOL lost = FALSE;
  BOOL* lostPtr = (codePage == CP_UTF8) ? nullptr : &lost;
  const int n = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                    0, nullptr, lostPtr);
  if (n <= 0) return false;
  out.resize(static_cast<std::size_t>(n));
  WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                      nullptr, lostPtr);
  return !lost;
}

std::string Utf8(std::wstring_view wide) {
  std::string out;
  Narrow(wide, CP_UTF8, out);
  return out;
}

// The code page console text is written in: UTF-8 when the console says so,
// Shift-JIS otherwise (also for pipes and files).
UINT ConsoleCodePage() { return GetConsoleOutputCP() == CP_UTF8 ? CP_UTF8 : kShiftJis; }

std::string ToConsole(std::string_view utf8) {
  const UINT cp = ConsoleCodePage();
  if (cp == CP_UTF8) return std::string(utf8);
  std::string out;
  if (Narrow(Wide(utf8), cp, out)) return out;
  return std::string(utf8);
}

HANDLE OpenForQuery(const std::string& path) {
  return CreateFileW(Wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

std::string FolderOf(const std::string& path) {
  for (std::size_t i = path.size(); i > 0; --i) {
    const char c = path[i - 1];
    if (c == '\\' || c == '/') return i == 1 ? path.substr(0, 1) : path.substr(0, i - 1);
    if (c == ':') return path.substr(0, i);
  }
  return ".";
}

// Temporary files to remove when the console is interrupted. The system
// runs a console control handler on a thread of its own, so the list is
// fixed storage whose entries are published and withdrawn with interlocked
// operations.
constexpr int kCleanupSlots = 4;
wchar_t cleanupPaths[kCleanupSlots][MAX_PATH + 1];
volatile LONG cleanupUsed[kCleanupSlots];

// Removes the files (they were opened with FILE_SHARE_DELETE, so they go
// even while still open), then lets the default handler end the process.
BOOL WINAPI RemoveTemporaryFilesOnInterrupt(DWORD event) {
  if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT || event == CTRL_CLOSE_EVENT) {
    for (int i = 0; i < kCleanupSlots; ++i)
      if (InterlockedCompareExchange(&cleanupUsed[i], 0, 0) != 0) DeleteFileW(cleanupPaths[i]);
  }
  return FALSE;
}

// Puts `path` on the cleanup list; the slot, or -1 when there is no room.
int AddCleanup(const std::wstring& path) {
  static const bool installed = SetConsoleCtrlHandler(RemoveTemporaryFilesOnInterrupt, TRUE) != 0;
  (void)installed;
  if (path.size() > MAX_PATH) return -1;
  for (int i = 0; i < kCleanupSlots; ++i) {
    if (InterlockedCompareExchange(&cleanupUsed[i], 0, 0) != 0) continue;
    path.copy(cleanupPaths[i], path.size());
    cleanupPaths[i][path.size()] = L'\0';
    InterlockedExchange(&cleanupUsed[i], 1);
    return i;
  }
  return -1;
}

void RemoveCleanup(int& slot) {
  if (slot >= 0) InterlockedExchange(&cleanupUsed[slot], 0);
  slot = -1;
}

}  // namespace

std::string ExecutablePath(const char* argv0) {
  std::vector<wchar_t> buf(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) break;
    if (n < buf.size()) return Utf8(std::wstring_view(buf.data(), n));
    buf.resize(buf.size() * 2);
  }
  return argv0 ? std::string(argv0) : std::string();
}

bool IsPathSeparator(char c) { return c == '\\' || c == '/' || c == ':'; }

std::string_view ExecutableSuffix() { return ".exe"; }

bool IsRegularFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

bool SameFile(const std::string& a, const std::string& b) {
  HANDLE ha = OpenForQuery(a);
  if (ha == INVALID_HANDLE_VALUE) return false;
  HANDLE hb = OpenForQuery(b);
  if (hb == INVALID_HANDLE_VALUE) {
    CloseHandle(ha);
    return false;
  }
  BY_HANDLE_FILE_INFORMATION ia, ib;
  const bool same = GetFileInformationByHandle(ha, &ia) && GetFileInformationByHandle(hb, &ib) &&
                    ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
                    ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
  CloseHandle(ha);
  CloseHandle(hb);
  return same;
}

ReadStatus ReadRegularFile(const std::string& path, std::string& data) {
  data.clear();
  const std::wstring wide = Wide(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return ReadStatus::kMissing;
    SetLastError(error);
    return ReadStatus::kFailed;
  }
  // A file that is not regular has no system error of its own; a caller
  // that reports one finds a fitting reason.
  if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return ReadStatus::kNotRegular;
  }
  HANDLE h = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) return ReadStatus::kFailed;
  // Device names (NUL, CON, COM1) and pipes open like files.
  if (GetFileType(h) != FILE_TYPE_DISK) {
    CloseHandle(h);
    SetLastError(ERROR_INVALID_FUNCTION);
    return ReadStatus::kNotRegular;
  }
  LARGE_INTEGER size;
  if (GetFileSizeEx(h, &size) && size.QuadPart > 0) data.reserve(static_cast<std::size_t>(size.QuadPart));
  std::vector<char> chunk(1 << 16);
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(h, chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr)) {
      const DWORD error = GetLastError();
      CloseHandle(h);
      data.clear();
      SetLastError(error);
      return ReadStatus::kFailed;
    }
    if (got == 0) break;
    data.append(chunk.data(), got);
  }
  CloseHandle(h);
  return ReadStatus::kRead;
}

bool IsOtherThanRegularFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)))
    return true;
  HANDLE h = OpenForQuery(path);
  if (h == INVALID_HANDLE_VALUE) return false;
  const bool other = GetFileType(h) != FILE_TYPE_DISK;
  CloseHandle(h);
  return other;
}

bool PathExists(const std::string& path) {
  return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string LastErrorText() {
  const DWORD error = GetLastError();
  wchar_t* text = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = n ? std::wstring(text, n) : std::wstring();
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L'.'))
    message.pop_back();
  if (message.empty()) return "error " + std::to_string(error);
  return ToConsole(Utf8(message));
}

ReplacementFile::ReplacementFile(std::string target) : target_(std::move(target)), final_(target_) {
  if (IsOtherThanRegularFile(final_)) throw FileError(target_, FileFailure::kNotRegular, {});
  const std::wstring wideTarget = Wide(final_);
  const DWORD attributes = GetFileAttributesW(wideTarget.c_str());
  // A read-only file may not be written in place, so it is not replaced.
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    SetLastError(ERROR_ACCESS_DENIED);
    throw FileError(target_, FileFailure::kWrite, LastErrorText());
  }
  wchar_t temp[MAX_PATH + 1];
  if (!GetTempFileNameW(Wide(FolderOf(final_)).c_str(), L"tms", 0, temp))
    throw FileError(target_, FileFailure::kCreate, LastErrorText());
  temp_ = Utf8(temp);
  cleanupSlot_ = AddCleanup(temp);
  // Shared for deletion, so that an interruption can remove it while open.
  HANDLE h = CreateFileW(temp, GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, TRUNCATE_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const std::string reason = LastErrorText();
    Discard();
    throw FileError(target_, FileFailure::kCreate, reason);
  }
  handle_ = reinterpret_cast<std::intptr_t>(h);
}

ReplacementFile::~ReplacementFile() { Discard(); }

void ReplacementFile::Write(std::string_view bytes) {
  HANDLE h = reinterpret_cast<HANDLE>(handle_);
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(h, bytes.data(), chunk, &written, nullptr))
      throw FileError(target_, FileFailure::kWrite, LastErrorText());
    bytes.remove_prefix(written);
  }
}

void ReplacementFile::Commit() {
  HANDLE h = reinterpret_cast<HANDLE>(handle_);
  handle_ = -1;
  if (!CloseHandle(h)) {
    const std::string reason = LastErrorText();
    Discard();
    throw FileError(target_, FileFailure::kWrite, reason);
  }
  // Something other than a file may have taken the target's place meanwhile.
  if (IsOtherThanRegularFile(final_)) {
    Discard();
    throw FileError(target_, FileFailure::kNotRegular, {});
  }
  const std::wstring from = Wide(temp_), to = Wide(final_);
  // ReplaceFileW keeps the old file's attributes and security; a new file
  // simply takes the temporary file's place.
  const bool replaced = GetFileAttributesW(to.c_str()) != INVALID_FILE_ATTRIBUTES
                            ? ReplaceFileW(to.c_str(), from.c_str(), nullptr,
                                           REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) ||
                                  MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)
                            : MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING);
  if (!replaced) {
    const std::string reason = LastErrorText();
    Discard();
    throw FileError(target_, FileFailure::kWrite, reason);
  }
  RemoveCleanup(cleanupSlot_);
  temp_.clear();
}

void ReplacementFile::Discard() noexcept {
  if (handle_ != -1) {
    CloseHandle(reinterpret_cast<HANDLE>(handle_));
    handle_ = -1;
  }
  if (!temp_.empty()) {
    DeleteFileW(Wide(temp_).c_str());
    RemoveCleanup(cleanupSlot_);
    temp_.clear();
  }
}

bool ConvertFromUtf8(std::string_view utf8, const char* charset, std::string& out) {
  const std::string name = charset;
  UINT cp = 0;
  if (name == "UTF-8") cp = CP_UTF8;
  else if (name == "CP932" || name == "SHIFT_JIS" || name == "SJIS") cp = kShiftJis;
  else if (name == "ISO-8859-1") cp = 28591;
  else if (name.rfind("CP", 0) == 0) cp = static_cast<UINT>(std::strtoul(name.c_str() + 2, nullptr, 10));
  if (cp == 0 || !IsValidCodePage(cp)) return false;
  return Narrow(Wide(utf8), cp, out);
}

std::string ConsoleText(std::string_view utf8) { return ToConsole(utf8); }

std::string ConsolePath(std::string_view path) { return ToConsole(path); }

std::string FileNameText(std::string_view name) {
  std::string out;
  if (Narrow(Wide(name), CP_ACP, out)) return out;
  return std::string(name);
}

std::vector<std::string> Arguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  if (!wide) {
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    return args;
  }
  for (int i = 1; i < count; ++i) args.push_back(Utf8(wide[i]));
  LocalFree(wide);
  return args;
}

void InitProcess() {}

}  // namespace platform
