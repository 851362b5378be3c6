// settingValues and railMode for the whole run, shared by the user-interface
// thread (the dashboard's controls) and the device thread (fine-tune
// acknowledgements). Every access is one short locked step.
#pragma once

#include <mutex>

#include "settings/settings.h"

namespace kvrns::settings {

class SettingsStore {
public:
    explicit SettingsStore(SettingValues values = defaultValues());

    SettingValues values() const;
    std::string value(int field) const;
    void setValue(int field, std::string text);

    // Replaces the list, as a settings read does, and takes railMode from
    // field 21.
    void replace(SettingValues values);

    // The +12V rail mode: 1 multiple rails, 0 single rail; a hand-edited
    // field may hold another number, which counts as multiple rails on the
    // lever but not where exactly 1 is tested.
    int railMode() const;
    void setRailMode(int mode);  // also writes field 21

private:
    mutable std::mutex mutex_;
    SettingValues values_;
    int railMode_ = 1;
};

}  // namespace kvrns::settings
