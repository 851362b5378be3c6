#include "device/trace_recorder.h"

#include <cerrno>
#include <cstring>

namespace kvrns::device {

std::string reportText(std::span<const std::uint8_t> bytes, std::size_t keep)
{
    std::size_t shown = bytes.size();
    while (shown > keep && bytes[shown - 1] == 0) --shown;
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(shown * 3);
    for (std::size_t i = 0; i < shown; ++i) {
        if (i) text += ' ';
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

std::unique_ptr<TraceRecorder> TraceRecorder::create(const std::filesystem::path& path, std::string* error)
{
    std::FILE* file = std::fopen(path.string().c_str(), "wb");
    if (!file) {
        if (error) *error = path.string() + ": cannot write the trace: " + std::strerror(errno);
        return nullptr;
    }
    std::unique_ptr<TraceRecorder> recorder(new TraceRecorder(file, path));
    recorder->writeLine("# kvrns trace, one exchange per line: REQUEST => ANSWER (replay with --device script:FILE)");
    return recorder;
}

TraceRecorder::~TraceRecorder()
{
    if (pendingRequest_) writeLine("# " + *pendingRequest_ + " (no answer was read)");
    std::fclose(file_);
}

void TraceRecorder::record(const ExchangeEvent& event)
{
    if (event.kind == ExchangeEvent::Kind::Write) {
        // A write whose answer was never read (a rail-mode frame sent with
        // no supply open) replays as nothing; keep it visible as a comment.
        if (pendingRequest_) writeLine("# " + *pendingRequest_ + " (no answer was read)");
        pendingRequest_ = reportText(event.bytes);
        return;
    }
    if (!pendingRequest_) return;
    std::string line = *pendingRequest_ + " => ";
    switch (event.status) {
        case ReadStatus::Ok: line += reportText(event.bytes); break;
        case ReadStatus::Timeout: line += "timeout"; break;
        // Replay has no other way to fail a read; the comment keeps the difference.
        case ReadStatus::Failed: line += "timeout    # the read failed"; break;
    }
    pendingRequest_.reset();
    writeLine(line);
}

void TraceRecorder::writeLine(const std::string& line)
{
    if (std::fputs(line.c_str(), file_) < 0 || std::fputc('\n', file_) == EOF || std::fflush(file_) != 0) good_ = false;
}

}  // namespace kvrns::device
