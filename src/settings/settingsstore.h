#pragma once

#include <optional>
#include <string>

namespace orvane {

// The per-user settings store, read only. A missing key yields nullopt and the
// caller falls back to its own default.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::optional<std::string> readText(const std::string &application, const std::string &section,
                                                const std::string &key) = 0;
    // The file the store reads from, to show it; empty when it has none.
    virtual std::string location(const std::string & /*application*/) const { return std::string(); }
    // Where key is kept (the file holding it), to name it in a message about
    // its value; by default the store's location.
    virtual std::string locationOf(const std::string &application, const std::string & /*section*/,
                                   const std::string & /*key*/) const
    {
        return location(application);
    }
};

// A store with nothing in it: every key yields its default.
class EmptySettingsStore : public SettingsStore {
public:
    std::optional<std::string> readText(const std::string &, const std::string &, const std::string &) override
    {
        return std::nullopt;
    }
};

} // namespace orvane
