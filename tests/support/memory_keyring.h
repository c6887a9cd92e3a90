// A keyring in memory for the settings store's tests; `refuse` makes every write fail.
#pragma once

#include <map>

#include "settings/secret_keyring.h"

namespace vx::test {

struct MemoryKeyring final : SecretKeyring {
    std::map<QString, QString> entries;
    bool refuse = false;
    std::optional<QString> read(const QString& key) override {
        const auto it = entries.find(key);
        return it == entries.end() ? std::nullopt : std::optional(it->second);
    }
    bool write(const QString& key, const QString& value) override {
        if (!refuse) entries[key] = value;
        return !refuse;
    }
};

}  // namespace vx::test
