// Windows implementation of the platform layer. Paths and arguments are UTF-8 inside the program
// and wide for the system, so names in any language work whatever the system code page.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <optional>

#include "platform/Paths.h"
#include "platform/Platform.h"

namespace platform {

namespace {

Status LastError() { return Status{static_cast<int>(GetLastError())}; }

std::wstring Wide(std::string_view utf8) {
  std::wstring out(utf8.size(), L'\0');  // never more UTF-16 units than UTF-8 bytes
  const int size = static_cast<int>(utf8.size());
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, out.data(), size);
  out.resize(static_cast<std::size_t>(n > 0 ? n : 0));
  return out;
}

// UTF-16 in `codePage`; nothing when a character has no form there.
std::optional<std::string> Narrow(std::wstring_view wide, UINT codePage) {
  std::string out(4 * wide.size(), '\0');  // room for any code page's form of it
  BOOL lost = FALSE;
  BOOL* lostPtr = codePage == CP_UTF8 ? nullptr : &lost;  // UTF-8 takes no such question
  const int n = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), out.data(),
                                    static_cast<int>(out.size()), nullptr, lostPtr);
  if (lost || (n <= 0 && !wide.empty())) return std::nullopt;
  out.resize(static_cast<std::size_t>(n > 0 ? n : 0));
  return out;
}

std::string Utf8(std::wstring_view wide) { return Narrow(wide, CP_UTF8).value_or(std::string()); }

// Closes a handle, when it is one, on destruction.
struct HandleCloser {
  HANDLE h;
  ~HandleCloser() { if (h != INVALID_HANDLE_VALUE) CloseHandle(h); }
};

// A handle to ask about whatever `path` names; INVALID_HANDLE_VALUE when it cannot be had.
HandleCloser OpenForQuery(const std::string& path) {
  return {CreateFileW(Wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
}

// A target that may not be replaced: a folder or a device, also one with a file's attributes.
bool IsNoFile(const std::string& path) {
  if (KindOf(path) == PathKind::kOther) return true;
  const HandleCloser query = OpenForQuery(path);
  return query.h != INVALID_HANDLE_VALUE && GetFileType(query.h) != FILE_TYPE_DISK;
}

// Temporary files to remove when the console is interrupted: the handler runs on a thread of its
// own, so entries are published and withdrawn with interlocked calls.
constexpr int kCleanupSlots = 4;
wchar_t cleanupPaths[kCleanupSlots][MAX_PATH + 1];
volatile LONG cleanupUsed[kCleanupSlots];

// Removes the files (shared for deletion, they go while open); the default handler ends the process.
BOOL WINAPI RemoveTemporaryFilesOnInterrupt(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) return FALSE;
  for (int i = 0; i < kCleanupSlots; ++i)
    if (InterlockedCompareExchange(&cleanupUsed[i], 0, 0) != 0) DeleteFileW(cleanupPaths[i]);
  return FALSE;
}

// Puts `path` on the cleanup list; the slot, or -1 when there is no room for it.
int AddCleanup(const std::wstring& path) {
  for (int i = 0; i < kCleanupSlots && path.size() <= MAX_PATH; ++i) {
    if (InterlockedCompareExchange(&cleanupUsed[i], 0, 0) != 0) continue;
    path.copy(cleanupPaths[i], path.size());
    cleanupPaths[i][path.size()] = L'\0';
    InterlockedExchange(&cleanupUsed[i], 1);
    return i;
  }
  return -1;
}

// Takes `name` off the cleanup list, removing the file first unless it was renamed.
void ForgetTemporaryFile(std::string& name, int& slot, bool remove) {
  if (remove) DeleteFileW(Wide(name).c_str());
  if (slot >= 0) InterlockedExchange(&cleanupUsed[slot], 0);
  slot = -1;
  name.clear();
}

}  // namespace

std::string Status::Text() const {
  wchar_t text[512];
  DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           static_cast<DWORD>(code), 0, text, 512, nullptr);
  while (n > 0 && (text[n - 1] == L'\n' || text[n - 1] == L'\r' || text[n - 1] == L'.')) --n;
  return n == 0 ? "error " + std::to_string(static_cast<DWORD>(code)) : ConsoleText(Utf8({text, n}));
}

std::string ExecutablePath(const char* argv0) {
  std::wstring buf(32768, L'\0');  // the longest path there is
  const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
  return n > 0 && n < buf.size() ? Utf8({buf.data(), n}) : std::string(argv0 ? argv0 : "");
}

bool IsPathSeparator(char c) { return c == '\\' || c == '/' || c == ':'; }
std::string_view ExecutableSuffix() { return ".exe"; }

// NUL, CON or COM1 may have a file's attributes: reading and replacing test the handle's type.
PathKind KindOf(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::kMissing;
  return attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE) ? PathKind::kOther : PathKind::kRegular;
}

bool SameFile(const std::string& a, const std::string& b) {
  const HandleCloser ha = OpenForQuery(a), hb = OpenForQuery(b);
  BY_HANDLE_FILE_INFORMATION ia, ib;
  return ha.h != INVALID_HANDLE_VALUE && hb.h != INVALID_HANDLE_VALUE &&
         GetFileInformationByHandle(ha.h, &ia) && GetFileInformationByHandle(hb.h, &ib) &&
         ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber && ia.nFileIndexHigh == ib.nFileIndexHigh &&
         ia.nFileIndexLow == ib.nFileIndexLow;
}

ReadResult ReadRegularFile(const std::string& path, std::string& data) {
  data.clear();
  const std::wstring wide = Wide(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const Status failed = LastError();
    const bool missing = failed.code == ERROR_FILE_NOT_FOUND || failed.code == ERROR_PATH_NOT_FOUND;
    return {missing ? ReadStatus::kMissing : ReadStatus::kFailed, failed};
  }
  // A refusal gets a fitting reason. Device names (NUL, CON, COM1) and pipes open like files.
  if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE))
    return {ReadStatus::kNotRegular, Status{ERROR_ACCESS_DENIED}};
  const HandleCloser file{CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)};
  if (file.h == INVALID_HANDLE_VALUE) return {ReadStatus::kFailed, LastError()};
  if (GetFileType(file.h) != FILE_TYPE_DISK) return {ReadStatus::kNotRegular, Status{ERROR_INVALID_FUNCTION}};
  LARGE_INTEGER size;
  if (GetFileSizeEx(file.h, &size) && size.QuadPart > 0) data.reserve(static_cast<std::size_t>(size.QuadPart));
  std::vector<char> chunk(1 << 16);
  for (DWORD got = 1; got > 0;) {
    if (!ReadFile(file.h, chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr)) {
      const Status failed = LastError();
      data.clear();
      return {ReadStatus::kFailed, failed};
    }
    data.append(chunk.data(), got);
  }
  return {};
}

ReplacementFile::ReplacementFile(std::string target, FileFailure createFailure)
    : target_(std::move(target)), final_(target_) {
  if (IsNoFile(final_)) Fail(FileFailure::kNotRegular);
  // A read-only file may not be written in place, so it is not replaced.
  const DWORD attributes = GetFileAttributesW(Wide(final_).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    Fail(FileFailure::kWrite, Status{ERROR_ACCESS_DENIED});
  wchar_t temp[MAX_PATH + 1];
  if (!GetTempFileNameW(Wide(FolderOf(final_)).c_str(), L"tms", 0, temp)) Fail(createFailure, LastError());
  temp_ = Utf8(temp);
  cleanupSlot_ = AddCleanup(temp);
  // Shared for deletion, so that an interruption can remove it while open.
  HANDLE h = CreateFileW(temp, GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, TRUNCATE_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) Fail(createFailure, LastError());
  handle_ = reinterpret_cast<std::intptr_t>(h);
}

void ReplacementFile::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(reinterpret_cast<HANDLE>(handle_), bytes.data(), chunk, &written, nullptr))
      throw FileError(target_, FileFailure::kWrite, LastError().Text());
    bytes.remove_prefix(written);
  }
}

void ReplacementFile::Commit() {
  HANDLE h = reinterpret_cast<HANDLE>(handle_);
  handle_ = -1;
  if (!CloseHandle(h)) Fail(FileFailure::kWrite, LastError());
  if (IsNoFile(final_)) Fail(FileFailure::kNotRegular);  // something else took the target's place
  // ReplaceFileW keeps the old file's attributes and security; a new file takes the temporary's place.
  const std::wstring from = Wide(temp_), to = Wide(final_);
  const bool replaced = GetFileAttributesW(to.c_str()) != INVALID_FILE_ATTRIBUTES &&
                        ReplaceFileW(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                                     nullptr, nullptr);
  if (!replaced && !MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING))
    Fail(FileFailure::kWrite, LastError());
  ForgetTemporaryFile(temp_, cleanupSlot_, false);
}

void ReplacementFile::Discard() noexcept {
  if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
  handle_ = -1;
  if (!temp_.empty()) ForgetTemporaryFile(temp_, cleanupSlot_, true);
}

// Console text is Shift-JIS (also for pipes and files), or UTF-8 when the console says so.
std::string ConsoleText(std::string_view utf8) {
  if (GetConsoleOutputCP() == CP_UTF8) return std::string(utf8);
  return Narrow(Wide(utf8), 932 /* Shift-JIS */).value_or(std::string(utf8));
}
std::string ConsolePath(std::string_view path) { return ConsoleText(path); }
std::string FileNameText(std::string_view name) {
  return Narrow(Wide(name), CP_ACP).value_or(std::string(name));
}

std::vector<std::string> Arguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) args.push_back(Utf8(wide[i]));
  LocalFree(wide);
  return args;
}

Status WriteStandardOutput(std::string_view bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() ? Status{} : LastError();
}
Status FlushStandardOutput() { return std::fflush(stdout) == 0 ? Status{} : LastError(); }
void InitProcess() { SetConsoleCtrlHandler(RemoveTemporaryFilesOnInterrupt, TRUE); }

}  // namespace platform
