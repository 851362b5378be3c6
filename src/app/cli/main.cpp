#include <chrono>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <thread>

#include "app/cli/cli.h"

namespace {

std::filesystem::path executableFolder(const char* argv0)
{
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) self = std::filesystem::absolute(argv0, ec);
    return self.parent_path();
}

}  // namespace

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    const char* point = std::localeconv()->decimal_point;
    const kvrns::NumberLocale locale{point && *point ? *point : '.'};
    std::setlocale(LC_NUMERIC, "C");  // our own formatting decides the separator

    kvrns::cli::Environment env{.out = std::cout, .err = std::cerr, .locale = locale};
    env.executableFolder = executableFolder(argv[0]);
    env.getenv = [](const char* name) { return std::getenv(name); };
    env.sleep = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
    return kvrns::cli::run(std::vector<std::string>(argv + 1, argv + argc), env);
}
