// Whole-file writes that never leave a half-written file: the bytes go to a temporary file in
// the same folder, which replaces the target by a rename only once everything was written.
#pragma once

#include <QString>
#include <initializer_list>
#include <string_view>

#include "core/status.h"

namespace vx {

// Writes the pieces one after another as the file path, replacing an existing file only when
// everything was written. On failure no file of that name is created or changed, and the
// message describes the failure.
Status writeFileAtomically(const QString& path, std::initializer_list<std::string_view> pieces);

}  // namespace vx
