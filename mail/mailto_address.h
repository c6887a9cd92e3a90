// The hand-off to the user's mail program: recipients, subject and body packed into one mailto:
// address, which the desktop opens with the registered mail program. Values go in as they stand
// except for "&", "#" and "%", which would break the address apart and are percent-encoded (a
// body written for an address already carries its line breaks as "%0A", which stay).
#pragma once

#include <QString>
#include <QVariant>

#include "core/status.h"

namespace vx {

class Ui;

// A recipient argument is one text (QString), a list of texts (QStringList, or a QVariantList
// whose items are all texts) joined with ";", or, for Cc and Bcc only, absent (an invalid
// QVariant). "mailto:" + To, then "subject=", "body=", "cc=", "bcc=" for the fields present (an
// empty subject or body is absent), the first introduced by "?" and the others by "&"; inside
// every value "&", "#" and "%" become "%26", "%23" and "%25" (but "%0A" in the body stays). Any other
// kind of argument gives the error "ERROR: jTo Invalid Data Type" (jCC, jBCC), checked in the
// order To, Cc, Bcc.
Result<QString> mailtoAddress(const QVariant& jTo, const QVariant& jCC, const QVariant& jBCC,
                              const QString& subject, const QString& body);

// Builds the address and asks the desktop to open it (the outcome is not examined); returns the
// empty text. For a bad argument nothing is opened and the error text is returned.
QString QuickMail(Ui& ui, const QVariant& jTo, const QVariant& jCC = QVariant(),
                  const QVariant& jBCC = QVariant(), const QString& subject = QString(),
                  const QString& body = QString());

}  // namespace vx
