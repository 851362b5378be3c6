#include "device/report_descriptor.h"

#include <algorithm>
#include <map>
#include <vector>

namespace kvrns::device {
namespace {

enum ItemType { kMain = 0, kGlobal = 1, kLocal = 2 };
enum MainTag { kInput = 0x8, kOutput = 0x9 };
enum GlobalTag { kReportSize = 0x7, kReportId = 0x8, kReportCount = 0x9, kPush = 0xA, kPop = 0xB };

struct Globals {
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint32_t reportId = 0;
};

std::uint16_t bytesWithId(std::uint64_t bits)
{
    const std::uint64_t bytes = (bits + 7) / 8 + 1;
    return static_cast<std::uint16_t>(std::min<std::uint64_t>(bytes, 0xFFFF));
}

}  // namespace

std::optional<DescriptorFacts> parseReportDescriptor(std::span<const std::uint8_t> d)
{
    Globals globals;
    std::vector<Globals> stack;
    std::map<std::uint32_t, std::uint64_t> inputBits, outputBits;
    bool numbered = false;

    std::size_t i = 0;
    while (i < d.size()) {
        const std::uint8_t prefix = d[i++];
        if (prefix == 0xFE) {  // long item: size byte, tag byte, data
            if (i >= d.size()) return std::nullopt;
            i += 2u + d[i];
            continue;
        }
        const std::size_t size = (prefix & 0x3) == 3 ? 4 : (prefix & 0x3);
        if (i + size > d.size()) return std::nullopt;
        std::uint32_t data = 0;
        for (std::size_t k = 0; k < size; ++k) data |= std::uint32_t{d[i + k]} << (8 * k);
        i += size;

        const int type = (prefix >> 2) & 0x3;
        const int tag = prefix >> 4;
        if (type == kGlobal) {
            switch (tag) {
                case kReportSize: globals.reportSize = data; break;
                case kReportCount: globals.reportCount = data; break;
                case kReportId:
                    globals.reportId = data;
                    numbered = true;
                    break;
                case kPush: stack.push_back(globals); break;
                case kPop:
                    if (stack.empty()) return std::nullopt;
                    globals = stack.back();
                    stack.pop_back();
                    break;
                default: break;
            }
        } else if (type == kMain && (tag == kInput || tag == kOutput)) {
            auto& bits = tag == kInput ? inputBits : outputBits;
            bits[globals.reportId] += std::uint64_t{globals.reportSize} * globals.reportCount;
        }
    }
    if (inputBits.empty()) return std::nullopt;

    auto largest = [](const std::map<std::uint32_t, std::uint64_t>& bits) {
        std::uint64_t most = 0;
        for (const auto& [id, count] : bits) most = std::max(most, count);
        return most;
    };
    DescriptorFacts facts;
    facts.numberedReports = numbered;
    facts.lengths.input = bytesWithId(largest(inputBits));
    facts.lengths.output = outputBits.empty() ? 0 : bytesWithId(largest(outputBits));
    return facts;
}

}  // namespace kvrns::device
