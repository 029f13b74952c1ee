#pragma once

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <filesystem>

namespace lw::test {

// Sets the immutable flag (chattr +i) on a file or folder for the life of the object: nobody,
// root included, may change, replace, rename or delete it, or add entries to a folder. CI runs
// as root, where permissions stop nothing, so this is how a test makes a write fail there.
// `set()` is false where the file system or the rights do not allow the flag; skip then.
class Immutable {
  public:
    explicit Immutable(const std::filesystem::path& path)
        : fd_(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {
        int flags = 0;
        if (fd_ >= 0 && ::ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            set_ = ::ioctl(fd_, FS_IOC_SETFLAGS, &flags) == 0;
        }
    }
    ~Immutable() {
        int flags = 0;
        if (set_ && ::ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0) {
            flags &= ~FS_IMMUTABLE_FL;
            ::ioctl(fd_, FS_IOC_SETFLAGS, &flags);
        }
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Immutable(const Immutable&) = delete;
    Immutable& operator=(const Immutable&) = delete;

    bool set() const { return set_; }

  private:
    int fd_;
    bool set_ = false;
};

}  // namespace lw::test
