// A scripted supply: exact answers read from a text file, for tests and for
// replaying a trace recorded from a real supply.
//
//   # a comment
//   00 83 02 40 28 00 00 => 00 83 00 40 28 0D CE
//   00 90 00 00 00 00 00 => timeout
//
// ANSWER is hexadecimal byte pairs, the report-ID byte first (the rest of the
// 65-byte report is zero), or the word timeout. A request listed again gets
// its next answer in turn, the last one repeating; a request with no line is
// not answered.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "device/hid_transport.h"
#include "protocol/wire.h"

namespace kvrns::device {

class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ScriptSupply final : public HidBackend {
public:
    // Throws ScriptError naming the file and the line that is wrong.
    static std::unique_ptr<ScriptSupply> fromFile(const std::string& path);
    static std::unique_ptr<ScriptSupply> fromText(const std::string& text, const std::string& name = "script");

    std::vector<HidInterface> enumerate() override;
    std::unique_ptr<HidConnection> open(const std::string& path, std::string* error) override;

    // The answer to a request written now: nothing means no answer.
    std::optional<Report> answer(const Report& request);

    std::size_t requestCount() const { return entries_.size(); }

private:
    explicit ScriptSupply(std::string name) : name_(std::move(name)) {}
    struct Entry {
        std::vector<std::optional<Report>> answers;  // nullopt: timeout
        std::size_t next = 0;
    };
    class Connection;
    std::string name_;
    std::map<Report, Entry> entries_;
};

}  // namespace kvrns::device
