// Files replaced whole, so a crash or power cut during a write leaves either
// the old content or the new, never a truncated mix.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kvrns {

enum class WriteStatus {
    Ok,
    AccessDenied,  // read-only file, or a folder we may not write in
    Failed,        // anything else (disk full, I/O error)
};

// Writes `content` to a temporary file beside `path`, flushes it to disk and
// renames it over `path`. An existing file without write permission is
// refused and left untouched, as it would be by an ordinary open for
// writing. On failure nothing at `path` changes and `error` says why.
WriteStatus writeFileAtomically(const std::filesystem::path& path, std::string_view content,
                                std::string* error = nullptr);

}  // namespace kvrns
