// What the settings window edits, apart from the window: the keys of the settings store in the
// window's order, the access code in keycode.dat, how a control's state becomes a value, and
// the save that writes only what the user changed (an untouched absent key stays absent, so its
// default keeps applying, and no other line of the file changes).
#pragma once

#include <QString>
#include <map>
#include <optional>
#include <vector>

#include "core/status.h"
#include "settings/settings_keys.h"

namespace vx {

class SettingsStore;

// The keys the window edits, in its order.
const std::vector<keys::Key>& settingsWindowKeys();

struct SettingsValues {
    // By key name: the stored value, or nothing when the key is absent.
    std::map<QString, std::optional<QString>> values;
    // The last item of keycode.dat; nothing when the file cannot be read.
    std::optional<QString> accessCode;
};

SettingsValues loadSettingsValues(const SettingsStore& store, const QString& keycodePath);

// The value a text box stands for: what it holds, except that an empty box over an absent key
// leaves the key absent.
std::optional<QString> editedText(const std::optional<QString>& loaded, const QString& text);
// A check box: the loaded value while the box shows what it meant (the default when absent),
// else "1" or "0".
std::optional<QString> editedSwitch(const std::optional<QString>& loaded, const char* fallback,
                                    bool on);
// The connection mode buttons ("ActPasv"): the loaded value while they show what it meant,
// else "0" for passive or "1" for active.
std::optional<QString> editedMode(const std::optional<QString>& loaded, bool passive);

// The text of keycode.dat with its last item replaced by the code; earlier items are kept (an
// item holding a comma or blanks at its ends is quoted). The code alone for an empty text.
QString keycodeWithCode(const QString& existing, const QString& code);

// Writes each value of `edited` that differs from `loaded`, through the store, exactly as it
// stands, then keycode.dat when the code changed (a new file only for a non-empty code).
// Stops at the first failure with a message naming the key or file; what was saved before it
// stays saved.
Status saveSettingsValues(SettingsStore& store, const QString& keycodePath,
                          const SettingsValues& loaded, const SettingsValues& edited);

// The first start of a new user: there is no settings file and no keycode.dat.
bool isFirstStart(const SettingsStore& store, const QString& keycodePath);

}  // namespace vx
