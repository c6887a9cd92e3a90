// Entry properties dialog.
#include "archive/frmProperties.h"

#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "archive/archive_rows.h"
#include "archive/arkovo.h"
#include "core/number_forms.h"
#include "ui/named.h"

namespace vx {
namespace {

QLabel* valueLabel(QWidget* parent, const char* name) {
    auto* l = named(new QLabel(parent), name);
    l->setTextFormat(Qt::PlainText);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

}  // namespace

frmProperties::frmProperties(const ArkovoEntry& entry, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmProperties"));
    setWindowTitle(QStringLiteral("File Properties"));
    lblFilename = valueLabel(this, "lblFilename");
    lblSize = valueLabel(this, "lblSize");
    lblCompressed = valueLabel(this, "lblCompressed");
    lblCompRatio = valueLabel(this, "lblCompRatio");
    lblDate = valueLabel(this, "lblDate");
    lblFilePath = valueLabel(this, "lblFilePath");
    lblHexCRC = valueLabel(this, "lblHexCRC");
    cmdoK = new QPushButton(QStringLiteral("OK"), this);
    cmdoK->setObjectName(QStringLiteral("cmdoK"));
    cmdoK->setDefault(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Name:"), lblFilename);
    form->addRow(QStringLiteral("File size:"), lblSize);
    form->addRow(QStringLiteral("Compressed size:"), lblCompressed);
    form->addRow(QStringLiteral("Ratio:"), lblCompRatio);
    form->addRow(QStringLiteral("Modified:"), lblDate);
    form->addRow(QStringLiteral("Path:"), lblFilePath);
    form->addRow(QStringLiteral("CRC:"), lblHexCRC);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(cmdoK, 0, Qt::AlignRight);
    connect(cmdoK, &QPushButton::clicked, this, &frmProperties::cmdoK_Click);
    Form_Load(entry);
}

void frmProperties::Form_Load(const ArkovoEntry& entry) {
    lblFilename->setText(Arkovo::GetFileName(entry.FileName));
    lblSize->setText(groupedOrEmpty(entry.Size));
    lblCompressed->setText(groupedOrEmpty(entry.PackedSize));
    lblCompRatio->setText(ratioText(entry.Size, entry.PackedSize));
    lblDate->setText(entry.DateTime);
    lblFilePath->setText(Arkovo::GetFilePath(entry.FileName));
    lblHexCRC->setText(hexCrc(entry.CRC));
}

void frmProperties::cmdoK_Click() { close(); }

}  // namespace vx
