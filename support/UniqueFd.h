// UniqueFd.h: an owned file descriptor, closed when its owner goes.
//
//   UniqueFd fd(::open(path, O_RDONLY | O_CLOEXEC));
//   if (fd.Get() < 0) return errno;
//   ... ::read(fd.Get(), ...) ...
//   if (!fd.Close()) report errno;   // when the close itself matters
#pragma once

#include <unistd.h>

class UniqueFd {
 public:
  explicit UniqueFd(int fd = -1) : fd_(fd) {}
  ~UniqueFd() { Reset(); }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  int Get() const { return fd_; }
  void Reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }
  // Gives the descriptor up to the caller.
  int Release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }
  // Closes it and says whether the close succeeded (errno set when not).
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};
