// The progress window: a bar and a line of text that the archive window sets while the zip
// component works. It has no behaviour of its own.
#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

namespace vx {

class frmProgress : public QWidget {
    Q_OBJECT
public:
    // A tool window owned by parent (which may be hidden), caption "Working...".
    explicit frmProgress(QWidget* parent = nullptr);

    QProgressBar* pbrProgress;  // 0 to 100
    QLabel* lblWorking;         // "Working..." until the first progress event
};

}  // namespace vx
