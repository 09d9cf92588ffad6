#pragma once
#include <QString>
#include <sys/types.h>

// The one descriptor wrapper: owns a file descriptor and closes it when it goes out of scope.
namespace plat::posix {

class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() { reset(); }
    Fd(Fd&& o) noexcept : m_fd(o.release()) {}
    Fd& operator=(Fd&& o) noexcept
    {
        if (this != &o)
            reset(o.release());
        return *this;
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    int release()
    {
        const int f = m_fd;
        m_fd = -1;
        return f;
    }
    // Closes the old descriptor silently and takes `fd`.
    void reset(int fd = -1);
    // Closes and reports the outcome: 0 or an errno value (a failed close can mean lost data on NFS).
    int close();

private:
    int m_fd = -1;
};

// open()/openat() with O_CLOEXEC added, through the fault table (tests). Return an invalid Fd with
// errno set on failure.
Fd openPath(const QString& path, int flags, mode_t mode = 0);
Fd openAt(int dirFd, const char* name, int flags, mode_t mode = 0);

} // namespace plat::posix
