// watch --csv: one row per polling cycle appended to a file that survives a
// crash or a power cut with at most its last row lost.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "common/numtext.h"
#include "protocol/engine.h"

namespace kvrns::cli {

class CsvLog {
public:
    // Opens FILE for appending. A new or empty file gets the header row; a
    // file whose first line is another header is refused, so rows never
    // land under the wrong columns.
    static std::unique_ptr<CsvLog> open(const std::filesystem::path& path, std::string* error);
    ~CsvLog();
    CsvLog(const CsvLog&) = delete;
    CsvLog& operator=(const CsvLog&) = delete;

    // Writes the row and forces it to the disk before returning.
    bool append(const std::string& time, const TickReport& report, NumberLocale locale, std::string* error);

    static std::string header();  // "time,inputVoltage,...,loadPercent,warnings"

private:
    CsvLog(std::FILE* file, std::filesystem::path path) : file_(file), path_(std::move(path)) {}
    bool writeDurably(const std::string& text, std::string* error);

    std::FILE* file_;
    std::filesystem::path path_;
};

// A field as RFC 4180 has it: quoted when it holds a comma, a quote or a line break.
std::string csvField(const std::string& text);

// A reading with "." as its decimal point, whatever the locale wrote:
// tables and metrics are read by programs.
std::string machineNumber(const std::string& text, NumberLocale locale);

}  // namespace kvrns::cli
