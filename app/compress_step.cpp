// Compress step.
#include "app/compress_step.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSlider>

#include "app/frmAdd.h"
#include "archive/arkovo.h"

namespace vx {

void CompressStep(frmAdd& add, Arkovo& arkovo, Ui& ui, const std::function<void()>& next) {
    arkovo.setArchiveName(add.Text1->text());
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
    if (next) next();
}

}  // namespace vx
