#include "device/script_supply.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

namespace kvrns::device {
namespace {

std::string trim(const std::string& s)
{
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

bool isHexPair(const std::string& token)
{
    return token.size() == 2 && std::isxdigit(static_cast<unsigned char>(token[0])) &&
           std::isxdigit(static_cast<unsigned char>(token[1]));
}

// Reads blank-separated byte pairs; throws a message without the location.
Report parseBytes(const std::string& text, const char* what)
{
    Report bytes{};
    std::istringstream in(text);
    std::string token;
    std::size_t count = 0;
    while (in >> token) {
        if (!isHexPair(token))
            throw ScriptError(std::string(what) + " byte '" + token + "' is not two hexadecimal digits");
        if (count == bytes.size())
            throw ScriptError(std::string(what) + " has more than " + std::to_string(bytes.size()) + " bytes");
        bytes[count++] = static_cast<std::uint8_t>(std::stoul(token, nullptr, 16));
    }
    if (count == 0) throw ScriptError(std::string(what) + " is empty");
    return bytes;
}

}  // namespace

class ScriptSupply::Connection final : public HidConnection {
public:
    explicit Connection(ScriptSupply& supply) : supply_(supply) {}
    ReportLengths reportLengths() const override { return {}; }
    int write(std::span<const std::uint8_t> report) override
    {
        Report request{};
        std::copy_n(report.begin(), std::min(report.size(), request.size()), request.begin());
        pending_ = supply_.answer(request);
        return static_cast<int>(report.size());
    }
    ReadStatus read(std::span<std::uint8_t> report, int) override
    {
        if (!pending_) return ReadStatus::Timeout;
        std::copy_n(pending_->begin(), std::min(report.size(), pending_->size()), report.begin());
        pending_.reset();
        return ReadStatus::Ok;
    }

private:
    ScriptSupply& supply_;
    std::optional<Report> pending_;
};

std::unique_ptr<ScriptSupply> ScriptSupply::fromFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ScriptError(path + ": cannot read the script file");
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) throw ScriptError(path + ": cannot read the script file");
    return fromText(text.str(), path);
}

std::unique_ptr<ScriptSupply> ScriptSupply::fromText(const std::string& text, const std::string& name)
{
    std::unique_ptr<ScriptSupply> supply(new ScriptSupply(name));
    std::istringstream in(text);
    std::string raw;
    for (int lineNumber = 1; std::getline(in, raw); ++lineNumber) {
        const std::string line = trim(raw.substr(0, raw.find('#')));
        if (line.empty()) continue;
        try {
            const auto arrow = line.find("=>");
            if (arrow == std::string::npos) throw ScriptError("expected 'REQUEST => ANSWER'");
            const Report request = parseBytes(line.substr(0, arrow), "request");
            const std::string answerText = trim(line.substr(arrow + 2));
            std::optional<Report> answer;
            if (answerText != "timeout") answer = parseBytes(answerText, "answer");
            supply->entries_[request].answers.push_back(answer);
        } catch (const ScriptError& e) {
            throw ScriptError(name + ":" + std::to_string(lineNumber) + ": " + e.what());
        }
    }
    return supply;
}

std::vector<HidInterface> ScriptSupply::enumerate()
{
    return {{"script:" + name_, wire::kVendorId, wire::kProductId}};
}

std::unique_ptr<HidConnection> ScriptSupply::open(const std::string& path, std::string* error)
{
    if (path != "script:" + name_) {
        if (error) *error = "no such scripted supply";
        return nullptr;
    }
    return std::make_unique<Connection>(*this);
}

std::optional<Report> ScriptSupply::answer(const Report& request)
{
    const auto found = entries_.find(request);
    if (found == entries_.end()) return std::nullopt;
    Entry& entry = found->second;
    const std::size_t index = std::min(entry.next, entry.answers.size() - 1);
    if (entry.next < entry.answers.size()) ++entry.next;
    return entry.answers[index];
}

}  // namespace kvrns::device
