// Test helper: writes two different settings lines to a file, one after the
// other, forever, and reports each finished write with one byte on
// standard output. The durability test kills it at random moments.
//   kvrns_settings_writer FILE
#include <unistd.h>

#include <cstdio>

#include "durability_lines.h"
#include "settings/settings.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: kvrns_settings_writer FILE\n");
        return 1;
    }
    using namespace kvrns;
    const settings::SettingValues lines[] = {test::firstSettings(), test::secondSettings()};
    for (unsigned long i = 0;; ++i) {
        std::string error;
        if (settings::writeSettingsFile(argv[1], lines[i % 2], &error) != WriteStatus::Ok) {
            std::fprintf(stderr, "kvrns_settings_writer: %s\n", error.c_str());
            return 2;
        }
        if (::write(STDOUT_FILENO, "w", 1) != 1) return 0;  // nobody listens any more
    }
}
