// Loaded with LD_PRELOAD by the end-to-end tests: open() with O_TMPFILE fails
// as it does on a file system without nameless files, so that Tamsel's other
// way of leaving nothing behind (a named file removed on a signal) is tested.
#include <dlfcn.h>
#include <fcntl.h>

#include <cerrno>
#include <cstdarg>

namespace {

using OpenFunction = int (*)(const char*, int, ...);

int Open(const char* function, const char* path, int flags, va_list args) {
  const bool tmpfile = (flags & O_TMPFILE) == O_TMPFILE;
  const int mode = (flags & O_CREAT) || tmpfile ? va_arg(args, int) : 0;
  if (tmpfile) {
    errno = EOPNOTSUPP;
    return -1;
  }
  const auto real = reinterpret_cast<OpenFunction>(dlsym(RTLD_NEXT, function));
  return real(path, flags, mode);
}

}  // namespace

extern "C" int open(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const int fd = Open("open", path, flags, args);
  va_end(args);
  return fd;
}

extern "C" int open64(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const int fd = Open("open64", path, flags, args);
  va_end(args);
  return fd;
}
