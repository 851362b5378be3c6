#include "app/cli/csv_log.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "warnings/evaluation.h"

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace kvrns::cli {
namespace {

bool syncToDisk(std::FILE* file)
{
#if defined(_WIN32)
    return _commit(_fileno(file)) == 0;
#else
    return ::fsync(fileno(file)) == 0;
#endif
}

std::string problemWith(const std::filesystem::path& path, const std::string& what)
{
    return path.string() + ": " + what + ": " + std::strerror(errno);
}

}  // namespace

std::string csvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string machineNumber(const std::string& text, NumberLocale locale)
{
    std::string out = text;
    if (locale.decimalSeparator != '.')
        for (char& c : out)
            if (c == locale.decimalSeparator) c = '.';
    return out;
}

std::string CsvLog::header()
{
    std::string line = "time";
    for (const auto& field : kTelemetryFields) line += "," + std::string(field.name);
    return line + ",warnings";
}

std::unique_ptr<CsvLog> CsvLog::open(const std::filesystem::path& path, std::string* error)
{
    std::string firstLine;
    bool endsWithNewline = true;
    if (std::ifstream existing(path, std::ios::binary); existing) {
        std::getline(existing, firstLine);
        if (!firstLine.empty() && firstLine.back() == '\r') firstLine.pop_back();
        existing.clear();
        existing.seekg(0, std::ios::end);
        if (existing.tellg() > 0) {
            existing.seekg(-1, std::ios::end);
            endsWithNewline = existing.get() == '\n';
        }
    }
    const bool empty = firstLine.empty() && endsWithNewline;
    if (!empty && firstLine != header()) {
        if (error)
            *error = path.string() +
                     ": holds other columns (its first line is not this program's header); choose another file";
        return nullptr;
    }
    std::FILE* file = std::fopen(path.string().c_str(), "ab");
    if (!file) {
        if (error) *error = problemWith(path, "cannot append to it");
        return nullptr;
    }
    std::unique_ptr<CsvLog> log(new CsvLog(file, path));
    // A row cut short by a crash stays on a line of its own.
    const std::string start = empty ? header() + "\n" : endsWithNewline ? "" : "\n";
    if (!start.empty() && !log->writeDurably(start, error)) return nullptr;
    return log;
}

CsvLog::~CsvLog()
{
    std::fclose(file_);
}

bool CsvLog::append(const std::string& time, const TickReport& report, NumberLocale locale, std::string* error)
{
    std::string row = csvField(time);
    for (const auto& field : kTelemetryFields)
        row += "," + csvField(machineNumber(report.telemetry.*(field.member), locale));
    std::string raised;
    for (std::size_t i = 0; i < report.warnings.size(); ++i)
        raised += (i ? ";" : "") + warnings::describe(report.warnings[i]);
    return writeDurably(row + "," + csvField(raised) + "\n", error);
}

bool CsvLog::writeDurably(const std::string& text, std::string* error)
{
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size() || std::fflush(file_) != 0 ||
        !syncToDisk(file_)) {
        if (error) *error = problemWith(path_, "cannot write to it");
        return false;
    }
    return true;
}

}  // namespace kvrns::cli
