#pragma once

#include <unistd.h>

#include <utility>

// An open file descriptor, closed with its owner.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(Descriptor&& otro) noexcept : fd_(std::exchange(otro.fd_, -1)) {}
  Descriptor& operator=(Descriptor&& otro) noexcept {
    std::swap(fd_, otro.fd_);
    return *this;
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  int get() const { return fd_; }
  bool Valido() const { return fd_ >= 0; }
  // Closes it now, telling whether the close succeeded (a late write error).
  bool Cerrar() { return ::close(std::exchange(fd_, -1)) == 0; }

 private:
  int fd_;
};
