// List file loader. Lines end in CR LF or LF; the file is read as UTF-8 when valid, otherwise
// as Windows-1252.
#include "app/mdlList.h"

#include <QFile>
#include <QListWidget>

#include "app/frmAdd.h"
#include "core/cp1252.h"

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
    QStringList lines = decodeDataFile(bytes).split(QLatin1Char('\n'));
    if (lines.size() > 1 && lines.back().isEmpty()) lines.removeLast();  // after the last line end
    if (bytes.isEmpty()) lines.clear();
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        target.lstAdd->addItem(line);
        target.logIncluded(line);
    }
    ui.messageBox(QStringLiteral("The list has been loaded and is ready."));
}

}  // namespace vx
