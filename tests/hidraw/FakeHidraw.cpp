// A stand-in for the hidraw character devices, loaded with LD_PRELOAD into an
// unmodified program. An open of /dev/hidrawN asks the fake kernel (the Unix
// socket named by SKARN_FAKE_HIDRAW) for node N and, when it grants it,
// returns our end of a SOCK_SEQPACKET pair whose other end the kernel serves:
// input reports arrive on it one message each, so read() and poll() are real
// system calls on a real descriptor, and a read shorter than the report cuts
// it, as hidraw does. Output reports are written to it too; because a hidraw
// write returns only once the device took the report, we then wait for the
// kernel's answer on the node's control connection. The hidraw ioctls go over
// that connection with their argument bytes and come back with the kernel's
// result and the bytes to copy out.
//
// When the kernel drops a node (the device went away) its sockets close:
// reads then fail with EIO, and writes and ioctls with ENODEV, as hidraw's do
// for a device that is gone; poll() reports POLLHUP by itself.
//
// libudev accepts only devices on sysfs: a file system query on our tmpfs at
// /sys answers sysfs's magic number.
//
// Everything else goes straight to the C library. The hooks hold no lock: a
// descriptor is used by one thread at a time, and the table of control
// connections is atomic.

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <dlfcn.h>
#include <fcntl.h>
#include <linux/hidraw.h>
#include <linux/ioctl.h>
#include <linux/magic.h>
#include <sys/socket.h>
#include <sys/statfs.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr int maxFds = 4096;
// control[fd] holds the control connection + 1 of a node's descriptor, 0 for
// every other descriptor.
std::atomic<int> control[maxFds];

template <typename F>
F next(const char* name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

int controlOf(int fd)
{
    return fd >= 0 && fd < maxFds ? control[fd].load() - 1 : -1;
}

// N of "/dev/hidrawN", else -1.
int nodeNumber(const char* path)
{
    static constexpr char prefix[] = "/dev/hidraw";
    if (!path || std::strncmp(path, prefix, sizeof prefix - 1) != 0)
        return -1;
    const char* digits = path + sizeof prefix - 1;
    char* end = nullptr;
    const long n = std::strtol(digits, &end, 10);
    return end != digits && *end == '\0' && n >= 0 && n < 1000 ? int(n) : -1;
}

int connectKernel()
{
    const char* address = std::getenv("SKARN_FAKE_HIDRAW");
    sockaddr_un sa{};
    if (!address || std::strlen(address) >= sizeof sa.sun_path)
        return -1;
    sa.sun_family = AF_UNIX;
    std::strcpy(sa.sun_path, address);
    const int s = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (s >= 0 && ::connect(s, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
        next<int (*)(int)>("close")(s);
        return -1;
    }
    return s;
}

// The kernel's answer to a request: its result (a byte count or -errno)
// followed by up to length bytes, copied to out. A closed connection is a
// node that is gone.
int receiveResult(int conn, void* out, std::size_t length)
{
    std::vector<char> reply(sizeof(std::int32_t) + length);
    const ssize_t n = ::recv(conn, reply.data(), reply.size(), 0);
    if (n < ssize_t(sizeof(std::int32_t))) {
        errno = ENODEV;
        return -1;
    }
    std::int32_t result = 0;
    std::memcpy(&result, reply.data(), sizeof result);
    if (result < 0) {
        errno = -result;
        return -1;
    }
    if (out)
        std::memcpy(out, reply.data() + sizeof result, std::size_t(n) - sizeof result);
    return result;
}

// "open N" (with the kernel's end of the pair) or "access N": the kernel
// answers 0 or an errno.
int askKernel(const char* what, int node, int passFd, int* conn)
{
    *conn = connectKernel();
    if (*conn < 0) {
        errno = ENOENT;
        return -1;
    }
    char text[32];
    const int length = std::snprintf(text, sizeof text, "%s %d", what, node);
    iovec iov{text, std::size_t(length)};
    msghdr msg{};
    msg.msg_iov = &iov;
    msg.msg_iovlen = 1;
    alignas(cmsghdr) char space[CMSG_SPACE(sizeof(int))] = {};
    if (passFd >= 0) {
        msg.msg_control = space;
        msg.msg_controllen = sizeof space;
        cmsghdr* c = CMSG_FIRSTHDR(&msg);
        c->cmsg_level = SOL_SOCKET;
        c->cmsg_type = SCM_RIGHTS;
        c->cmsg_len = CMSG_LEN(sizeof(int));
        std::memcpy(CMSG_DATA(c), &passFd, sizeof passFd);
    }
    if (::sendmsg(*conn, &msg, MSG_NOSIGNAL) != length) {
        errno = ENOENT;
        return -1;
    }
    std::int32_t answer = 0;
    if (::recv(*conn, &answer, sizeof answer, 0) != sizeof answer)
        answer = ENOENT;
    errno = answer;
    return answer == 0 ? 0 : -1;
}

int openNode(int node, int flags)
{
    const auto realClose = next<int (*)(int)>("close");
    int pair[2];
    const int type = SOCK_SEQPACKET | (flags & O_CLOEXEC ? SOCK_CLOEXEC : 0) | (flags & O_NONBLOCK ? SOCK_NONBLOCK : 0);
    if (::socketpair(AF_UNIX, type, 0, pair) != 0)
        return -1;
    int conn = -1;
    const int granted = askKernel("open", node, pair[1], &conn);
    const int error = errno;
    realClose(pair[1]);
    if (granted != 0 || pair[0] >= maxFds) {
        realClose(pair[0]);
        if (conn >= 0)
            realClose(conn);
        errno = granted != 0 ? error : EMFILE;
        return -1;
    }
    control[pair[0]].store(conn + 1);
    return pair[0];
}

// The file system at path or fd is our tmpfs at /sys: it tells sysfs.
template <typename Stat>
int asSysfs(int result, Stat* buf)
{
    static const auto realStatfs = next<int (*)(const char*, struct statfs64*)>("statfs64");
    struct statfs64 sys
    {
    };
    if (result == 0 && buf->f_type == TMPFS_MAGIC && realStatfs("/sys", &sys) == 0 && sys.f_type == TMPFS_MAGIC &&
        std::memcmp(&sys.f_fsid, &buf->f_fsid, sizeof sys.f_fsid) == 0)
        buf->f_type = SYSFS_MAGIC;
    return result;
}

} // namespace

extern "C" {

// Each hook calls the C library's function of its own name.
#define SYSFS_HOOK(NAME, ARG, BUF)                                                                                     \
    int NAME(ARG target, struct BUF* buf) noexcept                                                                     \
    {                                                                                                                  \
        return asSysfs(next<int (*)(ARG, struct BUF*)>(#NAME)(target, buf), buf);                                      \
    }
SYSFS_HOOK(fstatfs, int, statfs)
SYSFS_HOOK(fstatfs64, int, statfs64)
SYSFS_HOOK(statfs, const char*, statfs)
SYSFS_HOOK(statfs64, const char*, statfs64)

// The mode is read whatever the flags: the C library passes it on the same way.
#define OPEN_HOOK(NAME, ...)                                                                                           \
    int NAME(__VA_ARGS__ __VA_OPT__(, ) const char* path, int flags, ...)                                              \
    {                                                                                                                  \
        va_list ap;                                                                                                    \
        va_start(ap, flags);                                                                                           \
        const mode_t mode = va_arg(ap, mode_t);                                                                        \
        va_end(ap);                                                                                                    \
        static const auto real = next<int (*)(__VA_ARGS__ __VA_OPT__(, ) const char*, int, ...)>(#NAME);               \
        const int node = nodeNumber(path);                                                                             \
        return node >= 0 ? openNode(node, flags) : real(__VA_OPT__(dirfd, ) path, flags, mode);                        \
    }
OPEN_HOOK(open)
OPEN_HOOK(open64)
OPEN_HOOK(openat, int dirfd)
OPEN_HOOK(openat64, int dirfd)

// The permission check a program makes of a node: the kernel decides, as the
// node's mode would for a user without the udev rule (we run as root, for
// whom the real call always succeeds).
int access(const char* path, int mode) noexcept
{
    const int node = nodeNumber(path);
    if (node < 0)
        return next<int (*)(const char*, int)>("access")(path, mode);
    int conn = -1;
    const int result = askKernel("access", node, -1, &conn);
    const int error = errno;
    if (conn >= 0)
        next<int (*)(int)>("close")(conn);
    errno = error;
    return result;
}

int close(int fd)
{
    static const auto real = next<int (*)(int)>("close");
    const int conn = controlOf(fd);
    if (conn >= 0) {
        control[fd].store(0);
        real(conn);
    }
    return real(fd);
}

ssize_t read(int fd, void* buffer, size_t length)
{
    static const auto real = next<ssize_t (*)(int, void*, size_t)>("read");
    const ssize_t n = real(fd, buffer, length);
    if (n == 0 && length > 0 && controlOf(fd) >= 0) {
        errno = EIO; // hidraw's answer once the device is gone
        return -1;
    }
    return n;
}

ssize_t write(int fd, const void* buffer, size_t length)
{
    const int conn = controlOf(fd);
    if (conn < 0)
        return next<ssize_t (*)(int, const void*, size_t)>("write")(fd, buffer, length);
    if (::send(fd, buffer, length, MSG_NOSIGNAL) < 0) {
        errno = errno == EAGAIN ? EAGAIN : ENODEV;
        return -1;
    }
    return receiveResult(conn, nullptr, 0);
}

int ioctl(int fd, unsigned long request, ...) noexcept
{
    va_list ap;
    va_start(ap, request);
    void* arg = va_arg(ap, void*);
    va_end(ap);
    const int conn = controlOf(fd);
    if (conn < 0)
        return next<int (*)(int, unsigned long, void*)>("ioctl")(fd, request, arg);
    if (_IOC_TYPE(request) != 'H') {
        errno = ENOTTY;
        return -1;
    }
    // The request and the argument's bytes, whatever its direction: the
    // kernel reads some arguments it writes (the size field of HIDIOCGRDESC,
    // the report number of HIDIOCGFEATURE).
    const std::size_t size = _IOC_SIZE(request);
    std::vector<char> message(sizeof(std::uint32_t) + size);
    const auto code = std::uint32_t(request);
    std::memcpy(message.data(), &code, sizeof code);
    if (size)
        std::memcpy(message.data() + sizeof code, arg, size);
    if (::send(conn, message.data(), message.size(), MSG_NOSIGNAL) < 0) {
        errno = ENODEV;
        return -1;
    }
    return receiveResult(conn, _IOC_DIR(request) & _IOC_READ ? arg : nullptr, size);
}

} // extern "C"
