// UniqueFd: a POSIX file descriptor owned like a std::unique_ptr: closed
// when the owner goes, moved but never copied; -1 stands for none.
//
//   UniqueFd end = OwnFd(fds[0]);
//   ::read(FdOf(end), ...);
#pragma once

#include <unistd.h>

#include <cstddef>
#include <memory>

namespace Vdei {

struct FdCloser {
  // The "pointer" the unique_ptr holds is the descriptor itself.
  struct pointer {
    int fd = -1;
    pointer() = default;
    pointer(std::nullptr_t) {}
    explicit pointer(int value) : fd(value) {}
    explicit operator bool() const { return fd >= 0; }
    friend bool operator==(pointer a, pointer b) { return a.fd == b.fd; }
  };
  void operator()(pointer p) const { ::close(p.fd); }
};
using UniqueFd = std::unique_ptr<int, FdCloser>;

inline UniqueFd OwnFd(int fd) {
  return UniqueFd(FdCloser::pointer(fd));
}
inline int FdOf(const UniqueFd& fd) {
  return fd.get().fd;
}

}  // namespace Vdei
