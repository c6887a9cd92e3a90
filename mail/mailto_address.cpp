// Building and opening the mailto: address.
#include "mail/mailto_address.h"

#include <QStringList>
#include <optional>

#include "ui/ui.h"

namespace vx {
namespace {

// The recipients of an argument, or nothing when it is of another kind.
std::optional<QString> recipients(const QVariant& v) {
    switch (v.typeId()) {
        case QMetaType::QString:
            return v.toString();
        case QMetaType::QStringList:
            return v.toStringList().join(QLatin1Char(';'));
        case QMetaType::QVariantList: {
            QStringList texts;
            for (const QVariant& item : v.toList()) {
                if (item.typeId() != QMetaType::QString) return std::nullopt;
                texts << item.toString();
            }
            return texts.join(QLatin1Char(';'));
        }
        default:
            return std::nullopt;
    }
}

Status invalid(const char* name) {
    return Status::error(QStringLiteral("ERROR: %1 Invalid Data Type").arg(QLatin1String(name)));
}

}  // namespace

Result<QString> mailtoAddress(const QVariant& jTo, const QVariant& jCC, const QVariant& jBCC,
                              const QString& subject, const QString& body) {
    const auto to = recipients(jTo);
    if (!to) return invalid("jTo");
    const auto cc = jCC.isValid() ? recipients(jCC) : std::optional<QString>();
    if (jCC.isValid() && !cc) return invalid("jCC");
    const auto bcc = jBCC.isValid() ? recipients(jBCC) : std::optional<QString>();
    if (jBCC.isValid() && !bcc) return invalid("jBCC");

    QStringList fields;
    if (!subject.isEmpty()) fields << QStringLiteral("subject=") + subject;
    if (!body.isEmpty()) fields << QStringLiteral("body=") + body;
    if (cc) fields << QStringLiteral("cc=") + *cc;
    if (bcc) fields << QStringLiteral("bcc=") + *bcc;
    QString address = QStringLiteral("mailto:") + *to;
    if (!fields.isEmpty()) address += QLatin1Char('?') + fields.join(QLatin1Char('&'));
    return address;
}

QString QuickMail(Ui& ui, const QVariant& jTo, const QVariant& jCC, const QVariant& jBCC,
                  const QString& subject, const QString& body) {
    const Result<QString> address = mailtoAddress(jTo, jCC, jBCC, subject, body);
    if (!address) return address.message();
    ui.shellOpen(address.value());
    return QString();
}

}  // namespace vx
