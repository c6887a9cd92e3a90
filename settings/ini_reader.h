// Reads one value from an INI file by the classic profile rules: section and key matched without
// regard to case, blanks around the value removed, one pair of surrounding quotes removed, the
// value cut to 254 characters; a missing file, section or key gives the empty string.
#pragma once

#include <QString>

namespace vx {

// The largest number of characters a value comes back with.
inline constexpr int kIniValueLimit = 254;

QString ReadIniValue(const QString& section, const QString& key, const QString& filePath);

}  // namespace vx
