// The lines the two SMTP senders write, as tables, and the text rules they share: the body on
// the wire, the refusal of header fields that hold a line break, and the log-in's Base64.
#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace vx {

inline const QString kCrLf = QStringLiteral("\r\n");

// The body as it goes out: every line end made CR LF, and every line that starts with "." given
// one more "." in front, so that no line of the text can end the message early. A body with
// CR LF line ends and no line starting with "." comes back unchanged.
QString bodyForWire(const QString& body);

// The message that refuses a send whose sender, recipient or subject holds a CR or LF (such a
// field could add header lines, recipients or commands); empty when none does.
QString lineBreakRefusal(const QString& sender, const QString& recipient, const QString& subject);

// Standard Base64 of the text's Windows-1252 bytes, on one line with "=" padding.
QString EncodeBase64(const QString& text);

// One row of the plain sender's dialogue: the line to send (none for the greeting) and the reply
// code to wait for afterwards (empty: no wait).
struct SmtpStep {
    std::optional<QString> line;
    QString waitFor;
};

// The plain dialogue, greeting to "quit". heloHost is the server's name as given, without port.
QList<SmtpStep> plainDialogue(const QString& heloHost, const QString& from, const QString& to,
                              const QString& subject, const QString& body);

// One row of the relay's dialogue: the line, how it is logged, the pauses after it (seconds)
// and whether the log-in reply is checked after those pauses.
struct RelayStep {
    enum class Log { No, Line, WithoutLineEnd };
    QString line;
    Log log = Log::Line;
    QList<double> pauses;
    bool loginCheck = false;
};

struct RelayMessage {
    QString localAddress, user, password, sender, recipient, subject, body;
    QString date;       // today in the system's short date form
    QString localHost;  // this machine's name
    QString cc, bcc;    // copy and blind copy recipients (standard session only)
};

// The relay dialogue from "HELO" to the closing ".".
QList<RelayStep> relayDialogue(const RelayMessage& m);

}  // namespace vx
