// Records every exchange on a link in the scripted supply's format,
//
//   00 83 02 40 28 00 00 => 00 83 00 40 28 0D CE
//   00 90 00 00 00 00 00 => timeout
//
// so a trace taken from a real supply replays as it stands with
// --device script:FILE.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "device/device_link.h"

namespace kvrns::device {

// Bytes as upper-case hexadecimal pairs separated by blanks. Trailing zeros
// beyond `keep` bytes are left out: a report's unused tail is zero.
std::string reportText(std::span<const std::uint8_t> bytes, std::size_t keep = wire::kRequestLength);

class TraceRecorder {
public:
    // Creates or replaces the file; null with `error` set when it cannot.
    static std::unique_ptr<TraceRecorder> create(const std::filesystem::path& path, std::string* error);
    ~TraceRecorder();
    TraceRecorder(const TraceRecorder&) = delete;
    TraceRecorder& operator=(const TraceRecorder&) = delete;

    // Feed it a link's events: a write, then the read of its answer. Each
    // exchange reaches the file as soon as its answer is read, so a crash
    // loses at most the exchange under way.
    void record(const ExchangeEvent& event);
    ExchangeObserver observer()
    {
        return [this](const ExchangeEvent& event) { record(event); };
    }

    // False once a line could not be written (a full disk, say).
    bool good() const { return good_; }
    const std::filesystem::path& path() const { return path_; }

private:
    TraceRecorder(std::FILE* file, std::filesystem::path path) : file_(file), path_(std::move(path)) {}
    void writeLine(const std::string& line);

    std::FILE* file_;
    std::filesystem::path path_;
    std::optional<std::string> pendingRequest_;
    bool good_ = true;
};

}  // namespace kvrns::device
