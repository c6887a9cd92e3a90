// Compress step.
#include "app/compress_step.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QSlider>

#include "app/frmAdd.h"
#include "archive/arkovo.h"

namespace vx {

void CompressStep(frmAdd& add, Arkovo& arkovo, Ui& ui, const std::function<void()>& next) {
    // A click while the archive window's extract, view or delete yields: that work sits below
    // this call and cannot go on until it returns, so waiting here would never end.
    const QString busy = arkovo.busyWith();
    if (!busy.isEmpty()) {
        ui.messageBox(QStringLiteral("The archive window is still %1. Press \"Compress/Upload\" "
                                     "again when it is done.")
                          .arg(busy),
                      Buttons::Ok, Icon::Exclamation, kProductName);
        return;
    }
    const QString archive = add.Text1->text();
    arkovo.setArchiveName(archive);
    if (add.lstAdd->count() == 0) {
        ui.messageBox(QStringLiteral("There is nothing to do!"), Buttons::Ok, Icon::Information,
                      kProductName);
        return;
    }
    QStringList names;
    names.reserve(add.lstAdd->count());
    for (int i = 0; i < add.lstAdd->count(); ++i) names << add.lstAdd->item(i)->text();
    bool keepPaths = add.chkDirNames->checkState() != Qt::Unchecked;
    bool dos83 = add.chkDOS83->checkState() != Qt::Unchecked;
    const int action = add.actionCode();
    const int level = add.sldCompression->value();
    arkovo.AddFiles(names, action, keepPaths, false, dos83, level);
    // The component has said why when it wrote nothing; with no archive there is nothing to send.
    if (!QFileInfo(archive).isFile()) return;
    if (next) next();
}

}  // namespace vx
