#include "settings/settings_store.h"

namespace kvrns::settings {

SettingsStore::SettingsStore(SettingValues values)
{
    replace(std::move(values));
}

SettingValues SettingsStore::values() const
{
    std::lock_guard lock(mutex_);
    return values_;
}

std::string SettingsStore::value(int field) const
{
    std::lock_guard lock(mutex_);
    return field >= 0 && static_cast<std::size_t>(field) < values_.size() ? values_[static_cast<std::size_t>(field)]
                                                                          : std::string{};
}

void SettingsStore::setValue(int field, std::string text)
{
    std::lock_guard lock(mutex_);
    if (field >= 0 && static_cast<std::size_t>(field) < values_.size())
        values_[static_cast<std::size_t>(field)] = std::move(text);
}

void SettingsStore::replace(SettingValues values)
{
    if (values.size() < kFieldCount) values.resize(kFieldCount);
    const int mode = railModeOf(values).value_or(0);
    std::lock_guard lock(mutex_);
    values_ = std::move(values);
    railMode_ = mode;
}

int SettingsStore::railMode() const
{
    std::lock_guard lock(mutex_);
    return railMode_;
}

void SettingsStore::setRailMode(int mode)
{
    std::lock_guard lock(mutex_);
    railMode_ = mode;
    values_[RailMode] = std::to_string(mode);
}

}  // namespace kvrns::settings
