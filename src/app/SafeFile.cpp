#include "app/SafeFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace quintrel {

namespace {

namespace fs = std::filesystem;

constexpr int MAX_LINK_HOPS = 40; // as the kernel's own limit

// Closes on every way out.
struct Fd {
    int fd = -1;
    explicit Fd(int f) : fd(f) {}
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    // Close reports errors a delayed write can still raise.
    bool close() {
        const int f = fd;
        fd = -1;
        return ::close(f) == 0;
    }
};

bool writeAll(int fd, const std::uint8_t* p, std::size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += w;
        n -= static_cast<std::size_t>(w);
    }
    return true;
}

// The name a chain of symbolic links finally leads to; the path itself when
// it is no link, and also when that name does not exist yet.
std::optional<fs::path> finalTarget(fs::path p) {
    for (int hops = 0; hops < MAX_LINK_HOPS; ++hops) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
        std::error_code ec;
        const fs::path next = fs::read_symlink(p, ec);
        if (ec) return std::nullopt;
        p = next.is_absolute() ? next : p.parent_path() / next;
    }
    return std::nullopt;
}

// A new file of a name nobody else holds: exclusive creation, no link followed.
int createUnique(const fs::path& base, std::string& name) {
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = base.string() + ".saving-" + std::to_string(random() % 1000000000u);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

void syncFolder(const fs::path& folder) {
    Fd dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.fd >= 0) ::fsync(dir.fd);
}

} // namespace

FileRead readRegularFile(const std::string& path, std::size_t limit) {
    FileRead result;
    // Non-blocking, so a FIFO opens at once instead of waiting for a writer.
    Fd in(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (in.fd < 0) {
        result.status = errno == ENOENT || errno == ENOTDIR ? FileReadStatus::Missing : FileReadStatus::Unreadable;
        return result;
    }
    struct stat st {};
    if (::fstat(in.fd, &st) != 0) {
        result.status = FileReadStatus::Unreadable;
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        // A folder cannot be read at all, as read() itself says.
        result.status = S_ISDIR(st.st_mode) ? FileReadStatus::Unreadable : FileReadStatus::NotRegular;
        return result;
    }
    std::uint8_t buffer[4096];
    while (result.bytes.size() < limit) {
        const std::size_t want = std::min(sizeof buffer, limit - result.bytes.size());
        const ssize_t got = ::read(in.fd, buffer, want);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            result.status = FileReadStatus::Unreadable;
            result.bytes.clear();
            return result;
        }
        if (got == 0) break;
        result.bytes.insert(result.bytes.end(), buffer, buffer + got);
    }
    result.status = FileReadStatus::Ok;
    return result;
}

bool writeFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const auto target = finalTarget(path);
    if (!target) return false;
    struct stat st {};
    const bool exists = ::stat(target->c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) return false;

    std::string temp;
    Fd out(createUnique(*target, temp));
    if (out.fd < 0) return false;
    // The replacement keeps the permissions the user gave the old file.
    bool ok = writeAll(out.fd, bytes.data(), bytes.size()) && (!exists || ::fchmod(out.fd, st.st_mode & 07777) == 0) &&
              ::fsync(out.fd) == 0;
    ok = out.close() && ok;
    if (ok) ok = ::rename(temp.c_str(), target->c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    syncFolder(target->parent_path());
    return true;
}

std::optional<std::string> copyBeside(const std::string& path, const std::string& suffix) {
    const FileRead original = readRegularFile(path, SIZE_MAX);
    if (original.status != FileReadStatus::Ok) return std::nullopt;
    for (int n = 1; n < 1000; ++n) {
        const std::string name = path + suffix + (n == 1 ? std::string() : "." + std::to_string(n));
        Fd out(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (out.fd < 0) {
            if (errno == EEXIST) continue;
            return std::nullopt;
        }
        bool ok = writeAll(out.fd, original.bytes.data(), original.bytes.size()) && ::fsync(out.fd) == 0;
        ok = out.close() && ok;
        if (!ok) {
            ::unlink(name.c_str());
            return std::nullopt;
        }
        return name;
    }
    return std::nullopt;
}

} // namespace quintrel
