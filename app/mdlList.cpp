// List file loader.
#include "app/mdlList.h"

#include <QFile>
#include <QListWidget>

#include "app/frmAdd.h"
#include "app/list_file.h"

namespace vx {

void LoadList(const QString& path, QListWidget& listToClear, frmAdd& target, Ui& ui) {
    listToClear.clear();
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly)) bytes = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        ui.messageBox(QStringLiteral("An error has occured ") + file.errorString());
        return;
    }
    file.close();
    for (const QString& line : listFileLines(bytes)) {
        target.lstAdd->addItem(line);
        target.logIncluded(line);
    }
    ui.messageBox(QStringLiteral("The list has been loaded and is ready."));
}

}  // namespace vx
