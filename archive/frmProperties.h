// The entry properties dialog: name, sizes, ratio, date, folder and CRC of one archive entry.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace vx {

struct ArkovoEntry;

class frmProperties : public QDialog {
    Q_OBJECT
public:
    // Builds the dialog and runs its load step for the entry.
    explicit frmProperties(const ArkovoEntry& entry, QWidget* parent = nullptr);

    QLabel* lblFilename;
    QLabel* lblSize;
    QLabel* lblCompressed;
    QLabel* lblCompRatio;
    QLabel* lblDate;
    QLabel* lblFilePath;
    QLabel* lblHexCRC;
    QPushButton* cmdoK;

    void Form_Load(const ArkovoEntry& entry);
    void cmdoK_Click();
};

}  // namespace vx
