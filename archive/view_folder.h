// A private temporary folder of this run for entries opened with View: made on first use under
// the system's temporary folder with access for the owner only (0700), and removed with all it
// holds when its owner goes away or when the program ends at once (quick_exit).
#pragma once

#include <QString>
#include <memory>

class QTemporaryDir;

namespace vx {

class ViewFolder {
public:
    ViewFolder();
    ~ViewFolder();
    ViewFolder(const ViewFolder&) = delete;
    ViewFolder& operator=(const ViewFolder&) = delete;

    // The folder's path, making it on first call; empty when it cannot be made.
    QString path();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

}  // namespace vx
