// The one opener for reading: O_NONBLOCK, fstat, regular files only, reads bounded by the caller.
#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace platform {

RegularFile::RegularFile(const char* path) {
  if (path == nullptr || *path == '\0') {
    status_ = Status::Missing;
    return;
  }
  fd_ = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd_ < 0) {
    error_ = errno;
    status_ = error_ == ENOENT || error_ == ENOTDIR ? Status::Missing : Status::Failed;
    return;
  }
  struct stat info {};
  if (::fstat(fd_, &info) != 0) {
    error_ = errno;
    status_ = Status::Failed;
  } else if (!S_ISREG(info.st_mode)) {
    status_ = Status::NotRegular;
  } else {
    status_ = Status::Opened;
    size_ = static_cast<uint64_t>(info.st_size);
    return;
  }
  ::close(fd_);
  fd_ = -1;
}

RegularFile::~RegularFile() {
  if (fd_ >= 0) ::close(fd_);
}

template <typename Buffer>
bool RegularFile::read(Buffer& bytes, size_t total) {
  if (fd_ < 0) return false;
  const uint64_t left = size_ - std::min(size_, offset_);
  const size_t wanted = total > bytes.size() ? total - bytes.size() : 0;
  const size_t end = bytes.size() + static_cast<size_t>(std::min<uint64_t>(wanted, left));
  const size_t start = bytes.size();
  bytes.resize(end);
  size_t done = start;
  while (done < end) {
    const ssize_t got = ::read(fd_, bytes.data() + done, end - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      error_ = errno;
      bytes.resize(done);
      return false;
    }
    if (got == 0) break;  // shorter than when opened
    done += static_cast<size_t>(got);
  }
  offset_ += done - start;
  bytes.resize(done);
  return true;
}

bool RegularFile::readUpTo(std::vector<unsigned char>& bytes, size_t total) {
  return read(bytes, total);
}

bool RegularFile::readUpTo(std::string& bytes, size_t total) {
  return read(bytes, total);
}

std::FILE* RegularFile::release() {
  if (fd_ < 0) return nullptr;
  // The descriptor was opened non-blocking only so that opening could not wait; a regular file
  // reads the same either way, so it is handed over as it is.
  std::FILE* file = ::fdopen(fd_, "rb");
  if (file != nullptr) fd_ = -1;
  return file;
}

}  // namespace platform
