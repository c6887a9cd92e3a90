// Remote names checked before they become local file names.
#include "ftp/local_name.h"

namespace vx::ftp {

std::optional<QString> localFileName(const QString& remoteName) {
    const bool unsafe = remoteName.isEmpty() || remoteName == QLatin1String(".") ||
                        remoteName.contains(QLatin1Char('/')) || remoteName.contains(QLatin1String("..")) ||
                        remoteName.contains(QChar(u'\0'));
    if (unsafe) return std::nullopt;
    return remoteName;
}

}  // namespace vx::ftp
