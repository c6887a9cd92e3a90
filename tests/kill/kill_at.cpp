// Preloaded into the program by tests/kill/kill_test.sh: kills the process with SIGKILL in the
// middle of a write, at a point chosen from outside, so the test can look at what a crash leaves.
//   VX_KILL_GLOB   patterns (fnmatch, "|" between them) for the target of the written file
//                  descriptor as /proc/self/fd shows it ("/dir/name", "socket:[...]")
//   VX_KILL_AFTER  bytes written to matching descriptors before the kill (default 0); the write
//                  that crosses it is cut there, the rest is never written
//   VX_KILL_NOTE   a file that receives the path the kill happened on
// Covers write, pwrite64, writev, send and fwrite (libzip writes through stdio).
#include <dlfcn.h>
#include <fnmatch.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::atomic<long long> written{0};
std::atomic<bool> dying{false};  // the last bytes before the kill pass unchecked

template <typename F>
F next(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

std::string targetOf(int fd) {
    char link[64], path[4096];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, path, sizeof path - 1);
    return n > 0 ? std::string(path, size_t(n)) : std::string();
}

bool matches(const std::string& target) {
    const char* globs = std::getenv("VX_KILL_GLOB");
    if (!globs || target.empty()) return false;
    const std::string all(globs);
    for (size_t at = 0, end; at <= all.size(); at = end + 1) {
        end = std::min(all.find('|', at), all.size());
        if (end > at && fnmatch(all.substr(at, end - at).c_str(), target.c_str(), 0) == 0)
            return true;
    }
    return false;
}

// How many of len bytes may still be written to fd before the kill; len when fd does not match.
size_t allowance(int fd, size_t len) {
    if (dying) return len;
    const std::string target = targetOf(fd);
    if (!matches(target)) return len;
    const char* after = std::getenv("VX_KILL_AFTER");
    const long long limit = after ? std::atoll(after) : 0;
    const long long before = written.fetch_add(static_cast<long long>(len));
    if (before + static_cast<long long>(len) <= limit) return len;
    if (const char* note = std::getenv("VX_KILL_NOTE")) {
        if (FILE* f = std::fopen(note, "w")) {
            std::fprintf(f, "%s %lld\n", target.c_str(), limit);
            std::fclose(f);
        }
    }
    return before >= limit ? 0 : static_cast<size_t>(limit - before);
}

[[noreturn]] void die() {
    kill(getpid(), SIGKILL);
    for (;;) pause();
}

}  // namespace

// Passes a call through when the kill is not due; otherwise writes what may still go, then dies.
template <typename Real, typename... Args>
ssize_t cut(Real real, int fd, const void* buf, size_t len, Args... args) {
    const size_t ok = allowance(fd, len);
    if (ok == len) return real(fd, buf, len, args...);
    if (ok > 0) real(fd, buf, ok, args...);
    die();
}

extern "C" ssize_t write(int fd, const void* buf, size_t len) {
    static auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
    return cut(real, fd, buf, len);
}

extern "C" ssize_t pwrite64(int fd, const void* buf, size_t len, off_t at) {
    static auto real = next<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite64");
    return cut(real, fd, buf, len, at);
}

extern "C" ssize_t send(int fd, const void* buf, size_t len, int flags) {
    static auto real = next<ssize_t (*)(int, const void*, size_t, int)>("send");
    return cut(real, fd, buf, len, flags);
}

extern "C" ssize_t writev(int fd, const struct iovec* iov, int count) {
    static auto real = next<ssize_t (*)(int, const struct iovec*, int)>("writev");
    size_t len = 0;
    for (int i = 0; i < count; ++i) len += iov[i].iov_len;
    if (allowance(fd, len) == len) return real(fd, iov, count);
    die();
}

extern "C" size_t fwrite(const void* buf, size_t size, size_t count, FILE* stream) {
    static auto real = next<size_t (*)(const void*, size_t, size_t, FILE*)>("fwrite");
    const size_t len = size * count;
    const size_t ok = allowance(fileno(stream), len);
    if (ok == len) return real(buf, size, count, stream);
    dying = true;
    if (ok > 0) real(buf, 1, ok, stream);
    std::fflush(stream);
    die();
}
