// Private view folder, removed at the end of the run.
#include "archive/view_folder.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>
#include <vector>

namespace vx {
namespace {

// Folders still alive, removed by the quick_exit handler when the program ends without
// running destructors. All windows live on one thread, so no lock is needed.
std::vector<QString>& liveFolders() {
    static std::vector<QString> folders;
    return folders;
}

void removeLiveFolders() {
    for (const QString& f : liveFolders()) QDir(f).removeRecursively();
    liveFolders().clear();
}

void forget(const QString& folder) { std::erase(liveFolders(), folder); }

}  // namespace

ViewFolder::ViewFolder() = default;

ViewFolder::~ViewFolder() {
    if (m_dir) forget(m_dir->path());  // QTemporaryDir removes the folder itself
}

QString ViewFolder::path() {
    if (!m_dir) {
        // mkdtemp underneath: a fresh name, mode 0700.
        auto dir = std::make_unique<QTemporaryDir>(QDir::tempPath() +
                                                   QStringLiteral("/vexaro-view-XXXXXX"));
        if (!dir->isValid()) return QString();
        static const bool registered = std::at_quick_exit(removeLiveFolders) == 0;
        (void)registered;
        liveFolders().push_back(dir->path());
        m_dir = std::move(dir);
    }
    return m_dir->path();
}

}  // namespace vx
