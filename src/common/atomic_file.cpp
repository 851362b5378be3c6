#include "common/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#define KVRNS_FSYNC(fd) _commit(fd)
#define KVRNS_FILENO(f) _fileno(f)
#else
#include <fcntl.h>
#include <unistd.h>
#define KVRNS_FSYNC(fd) ::fsync(fd)
#define KVRNS_FILENO(f) ::fileno(f)
#endif

namespace kvrns {
namespace fs = std::filesystem;
namespace {

bool lacksWritePermission(const fs::path& path)
{
    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (ec || !fs::exists(status)) return false;
    // The permission bits, not access(): root may write anything, but a file
    // marked read-only is the user saying it must not change.
    return (status.permissions() & fs::perms::owner_write) == fs::perms::none;
}

constexpr std::string_view kTemporaryMark = ".tmp-";
// No write takes this long; a temporary file this old was left by a writer
// that was killed or lost power between creating it and renaming it.
constexpr auto kStaleAfter = std::chrono::hours(1);

fs::path temporaryBeside(const fs::path& path)
{
    static std::atomic<unsigned> counter{0};
#ifdef _WIN32
    const unsigned long pid = 0;
#else
    const unsigned long pid = static_cast<unsigned long>(::getpid());
#endif
    fs::path temp = path;
    temp += std::string(kTemporaryMark) + std::to_string(pid) + "-" + std::to_string(counter++);
    return temp;
}

WriteStatus fail(WriteStatus status, std::string* error, const std::string& why)
{
    if (error) *error = why;
    return status;
}

void syncFolder([[maybe_unused]] const fs::path& folder)
{
#ifndef _WIN32
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
}

// Nothing ever reads the leftovers, but each would stay in the folder for
// good; a young one may belong to a write still under way and is kept.
void removeStaleTemporaries(const fs::path& path)
{
    const std::string prefix = path.filename().string() + std::string(kTemporaryMark);
    const fs::path folder = path.parent_path().empty() ? fs::path(".") : path.parent_path();
    const auto cutoff = fs::file_time_type::clock::now() - kStaleAfter;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->path().filename().string().rfind(prefix, 0) != 0) continue;
        std::error_code entryEc;
        const auto written = it->last_write_time(entryEc);
        if (!entryEc && written < cutoff && it->is_regular_file(entryEc)) fs::remove(it->path(), entryEc);
    }
}

}  // namespace

WriteStatus writeFileAtomically(const fs::path& path, std::string_view content, std::string* error)
{
    if (lacksWritePermission(path)) return fail(WriteStatus::AccessDenied, error, "the file is read-only");

    const fs::path temp = temporaryBeside(path);
    std::FILE* file = std::fopen(temp.string().c_str(), "wb");
    if (!file) {
        const int err = errno;
        return fail(err == EACCES || err == EPERM || err == EROFS || err == ENOENT ? WriteStatus::AccessDenied
                                                                                   : WriteStatus::Failed,
                    error, std::strerror(err));
    }
    bool ok = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    ok = std::fflush(file) == 0 && ok;
    ok = KVRNS_FSYNC(KVRNS_FILENO(file)) == 0 && ok;
    const int writeErr = errno;
    ok = std::fclose(file) == 0 && ok;
    std::error_code ec;
    if (!ok) {
        fs::remove(temp, ec);
        return fail(WriteStatus::Failed, error, std::strerror(writeErr));
    }
    // Keep the permissions the file had.
    const auto old = fs::status(path, ec);
    if (!ec && fs::exists(old)) fs::permissions(temp, old.permissions(), ec);
    fs::rename(temp, path, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return fail(ec == std::errc::permission_denied ? WriteStatus::AccessDenied : WriteStatus::Failed, error,
                    ec.message());
    }
    syncFolder(path.parent_path());
    removeStaleTemporaries(path);
    return WriteStatus::Ok;
}

}  // namespace kvrns
