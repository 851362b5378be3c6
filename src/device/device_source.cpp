#include "device/device_source.h"

#include "device/hidapi_backend.h"
#include "device/script_supply.h"
#include "device/sim_supply.h"

namespace kvrns::device {

OpenedBackend makeBackend(std::string_view source, SecondsClock clock)
{
    OpenedBackend result;
    if (source == "auto" || source == "hid") {
        result.backend = std::make_unique<HidapiBackend>();
        return result;
    }
    if (source == "sim" || source.starts_with("sim:")) {
        auto sim = std::make_unique<SimSupply>(std::move(clock));
        std::string_view options = source.size() > 3 ? source.substr(4) : std::string_view{};
        while (!options.empty()) {
            const auto comma = options.find(',');
            if (auto problem = sim->applyOption(options.substr(0, comma))) {
                result.error = "--device " + std::string(source) + ": " + *problem;
                return result;
            }
            options = comma == std::string_view::npos ? std::string_view{} : options.substr(comma + 1);
        }
        result.backend = std::move(sim);
        result.simulated = true;
        return result;
    }
    if (source.starts_with("script:") && source.size() > 7) {
        try {
            result.backend = ScriptSupply::fromFile(std::string(source.substr(7)));
            result.simulated = true;
        } catch (const ScriptError& e) {
            result.error = e.what();
        }
        return result;
    }
    result.error = "--device '" + std::string(source) + "' is not one of " + std::string(kDeviceSources);
    return result;
}

}  // namespace kvrns::device
