#include <clocale>
#include <iostream>

#include "app/cli/cli.h"

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    const char* point = std::localeconv()->decimal_point;
    kvrns::NumberLocale locale{point && *point ? *point : '.'};
    std::setlocale(LC_NUMERIC, "C");  // our own formatting decides the separator
    return kvrns::cli::run(std::vector<std::string>(argv + 1, argv + argc), {std::cout, std::cerr, locale});
}
