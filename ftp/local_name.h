// Names that come from the server, or are typed after what it showed, used as local file names.
// Such a name must never reach outside the folder it is meant for.
#pragma once

#include <QString>
#include <optional>

namespace vx::ftp {

// The remote name as the name of a local file in a folder of the caller's choice, or nothing
// when it is empty or ".", or holds "/", ".." or a NUL character.
std::optional<QString> localFileName(const QString& remoteName);

}  // namespace vx::ftp
