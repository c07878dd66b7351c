// A file nobody may replace while the object lives, root included: it is
// made read-only and, for root, immutable (FS_IMMUTABLE_FL, where the file
// system keeps the flag).
#pragma once

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

namespace testing_support {

class UnwritableFile {
 public:
  explicit UnwritableFile(std::string path) : path_(std::move(path)) {
    chmod(path_.c_str(), 0444);
    ok_ = geteuid() != 0 || SetImmutable(true);
  }
  ~UnwritableFile() {
    if (geteuid() == 0) SetImmutable(false);
    chmod(path_.c_str(), 0644);
  }
  UnwritableFile(const UnwritableFile&) = delete;
  UnwritableFile& operator=(const UnwritableFile&) = delete;

  /// False when the file could not be made unwritable (skip the test).
  bool Ok() const { return ok_; }
  /// The system's reason a replacement is refused.
  std::string Reason() const { return std::strerror(geteuid() == 0 ? EPERM : EACCES); }

 private:
  bool SetImmutable(bool on) const {
    const int fd = open(path_.c_str(), O_RDONLY);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = done && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    close(fd);
    return done;
  }

  std::string path_;
  bool ok_ = false;
};

}  // namespace testing_support
