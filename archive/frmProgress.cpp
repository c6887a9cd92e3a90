// Progress window.
#include "archive/frmProgress.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace vx {

frmProgress::frmProgress(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(QStringLiteral("Working..."));
    pbrProgress = new QProgressBar(this);
    pbrProgress->setObjectName(QStringLiteral("pbrProgress"));
    pbrProgress->setRange(0, 100);
    pbrProgress->setValue(0);
    lblWorking = new QLabel(QStringLiteral("Working..."), this);
    lblWorking->setObjectName(QStringLiteral("lblWorking"));
    // A long name must not widen the window past the screen.
    lblWorking->setMinimumWidth(360);
    lblWorking->setTextFormat(Qt::PlainText);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblWorking);
    layout->addWidget(pbrProgress);
    setFixedWidth(420);
}

}  // namespace vx
