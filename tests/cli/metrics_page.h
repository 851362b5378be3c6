// A metrics page in Prometheus's text format, read line by line: every line
// must be a comment of the exposition format or a sample, or parsing fails.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <string>

#include "cli/process.h"

namespace kvrns::test {

struct MetricsPage {
    std::map<std::string, double> samples;  // 'name{labels}' as written -> value
    std::set<std::string> names;            // family names with samples
};

inline MetricsPage parseMetricsPage(const std::string& text)
{
    static const std::regex help(R"(# HELP [a-zA-Z_:][a-zA-Z0-9_:]* .*)");
    static const std::regex type(R"(# TYPE [a-zA-Z_:][a-zA-Z0-9_:]* (gauge|counter|summary|histogram|untyped))");
    static const std::regex sample(
        R"(([a-zA-Z_:][a-zA-Z0-9_:]*)(\{(?:[a-zA-Z_][a-zA-Z0-9_]*="(?:[^"\\]|\\.)*",?)*\})? ([-+0-9.eE]+|Nan|NaN|\+Inf|-Inf)(?: -?[0-9]+)?)");
    MetricsPage page;
    for (const auto& line : lines(text)) {
        std::smatch m;
        if (std::regex_match(line, help) || std::regex_match(line, type)) continue;
        if (!std::regex_match(line, m, sample)) {
            ADD_FAILURE() << "not a line of the exposition format: '" << line << "'";
            continue;
        }
        page.names.insert(m[1]);
        page.samples[m[1].str() + m[2].str()] = std::strtod(m[3].str().c_str(), nullptr);
    }
    return page;
}

}  // namespace kvrns::test
