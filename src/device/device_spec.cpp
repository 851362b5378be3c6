#include "device/device_spec.h"

#include "device/hidapi_backend.h"
#include "device/script_supply.h"
#include "device/sim_supply.h"

namespace kvrns::device {

OpenedBackend makeBackend(std::string_view spec, SecondsClock clock)
{
    OpenedBackend result;
    if (spec == "auto" || spec == "hid") {
        result.backend = std::make_unique<HidapiBackend>();
        return result;
    }
    if (spec == "sim" || spec.starts_with("sim:")) {
        auto sim = std::make_unique<SimSupply>(std::move(clock));
        std::string_view options = spec.size() > 3 ? spec.substr(4) : std::string_view{};
        while (!options.empty()) {
            const auto comma = options.find(',');
            if (auto problem = sim->applyOption(options.substr(0, comma))) {
                result.error = "--device " + std::string(spec) + ": " + *problem;
                return result;
            }
            options = comma == std::string_view::npos ? std::string_view{} : options.substr(comma + 1);
        }
        result.backend = std::move(sim);
        result.simulated = true;
        return result;
    }
    if (spec.starts_with("script:") && spec.size() > 7) {
        try {
            result.backend = ScriptSupply::fromFile(std::string(spec.substr(7)));
            result.simulated = true;
        } catch (const ScriptError& e) {
            result.error = e.what();
        }
        return result;
    }
    result.error = "--device '" + std::string(spec) + "' is not one of " + std::string(kDeviceSpecHelp);
    return result;
}

}  // namespace kvrns::device
