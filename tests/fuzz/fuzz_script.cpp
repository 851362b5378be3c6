// The script-supply file parser: any text is read or refused with the line
// at fault, and a supply read from it answers any request without crashing.
#include <algorithm>
#include <cctype>

#include "device/script_supply.h"
#include "fuzz_support.h"

namespace kvrns::fuzz {
namespace {

void exercise(device::ScriptSupply& supply, std::string_view requests)
{
    const auto interfaces = supply.enumerate();
    check(interfaces.size() == 1, "a script supply enumerates one interface");
    auto connection = supply.open(interfaces[0].path, nullptr);
    check(connection != nullptr, "a script supply does not open");
    for (std::size_t at = 0; at < requests.size(); at += wire::kRequestLength) {
        Report request{};
        const auto chunk = requests.substr(at, wire::kRequestLength);
        std::copy(chunk.begin(), chunk.end(), request.begin());
        connection->write(request);
        Report answer{};
        connection->read(answer, wire::kReadTimeoutMs);
    }
}

}  // namespace
}  // namespace kvrns::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kvrns;
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::unique_ptr<device::ScriptSupply> supply;
    try {
        supply = device::ScriptSupply::fromText(text, "fuzz.script");
    } catch (const device::ScriptError& e) {
        const std::string message = e.what();
        fuzz::check(message.rfind("fuzz.script:", 0) == 0 && message.size() > 12 &&
                        std::isdigit(static_cast<unsigned char>(message[12])),
                    "a refusal without its line number: " + fuzz::printable(message));
        return 0;
    }
    const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    fuzz::check(supply->requestCount() <= lines, "more requests than lines");
    fuzz::exercise(*supply, text);
    return 0;
}
