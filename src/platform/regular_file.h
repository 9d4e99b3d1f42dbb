// Opening a file for reading without ever blocking: only a regular file is read, and never more
// of it than the caller allows. Every file the game reads goes through here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace platform {

class RegularFile {
 public:
  enum class Status {
    Opened,
    Missing,     // nothing at the path
    NotRegular,  // a folder, FIFO, device or socket: never opened for reading
    Failed,      // could not be opened (permissions, ...); errorNumber() says why
  };

  // Opens `path` read-only and non-blocking, so a FIFO or device at the path cannot hold the
  // caller up; anything but a regular file is closed again at once.
  explicit RegularFile(const char* path);
  ~RegularFile();
  RegularFile(const RegularFile&) = delete;
  RegularFile& operator=(const RegularFile&) = delete;

  Status status() const { return status_; }
  bool opened() const { return status_ == Status::Opened; }
  int errorNumber() const { return error_; }
  // The size when opened.
  uint64_t size() const { return size_; }
  // Appends to `bytes` until it holds `total` bytes or the file ends (never more than the size
  // it had when opened, so a file that grows meanwhile is not chased). False on a read error.
  bool readUpTo(std::vector<unsigned char>& bytes, size_t total);
  bool readUpTo(std::string& bytes, size_t total);
  // Hands the open file over as a FILE* for binary reading; null when not opened.
  std::FILE* release();

 private:
  template <typename Buffer>
  bool read(Buffer& bytes, size_t total);

  int fd_ = -1;
  Status status_ = Status::Failed;
  int error_ = 0;
  uint64_t size_ = 0;
  uint64_t offset_ = 0;
};

}  // namespace platform
