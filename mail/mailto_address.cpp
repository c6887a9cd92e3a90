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

// "&", "#" and "%" would end a value or change what follows them in the address (RFC 6068), so
// they are written "%26", "%23" and "%25"; nothing else is encoded. In a body, "%0A" is a line
// break the text already carries and stays as it is.
QString encodedValue(const QString& value, bool body = false) {
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (body && QStringView(value).mid(i, 3) == QLatin1String("%0A")) {
            out += QLatin1String("%0A");
            i += 2;
        } else if (c == QLatin1Char('&')) {
            out += QLatin1String("%26");
        } else if (c == QLatin1Char('#')) {
            out += QLatin1String("%23");
        } else if (c == QLatin1Char('%')) {
            out += QLatin1String("%25");
        } else {
            out += c;
        }
    }
    return out;
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
    if (!subject.isEmpty()) fields << QStringLiteral("subject=") + encodedValue(subject);
    if (!body.isEmpty()) fields << QStringLiteral("body=") + encodedValue(body, true);
    if (cc) fields << QStringLiteral("cc=") + encodedValue(*cc);
    if (bcc) fields << QStringLiteral("bcc=") + encodedValue(*bcc);
    QString address = QStringLiteral("mailto:") + encodedValue(*to);
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
