// The plain SMTP sender of the notification window: one message per SendEmail, no log-in, no
// encryption, port 25 unless the server text names another ("host:port"). Each command is
// followed by a wait for its reply code; a wait that fails is reported in a message box and the
// dialogue goes on with the next command. SendEmail and WaitForResponse block the caller but let
// events run while they wait (replies arrive that way), so other handlers may run inside them.
#pragma once

#include <QObject>
#include <QString>
#include <QTcpSocket>

#include "mail/pace.h"
#include "net/reply_reader.h"

namespace vx {

class Ui;

inline constexpr quint16 kSmtpPort = 25;
inline const QString kSmtpErrorTitle = QStringLiteral("SMTP Service Error");

class SmtpSender : public QObject {
    Q_OBJECT
public:
    // Messages go through ui; clock measures the reply waits.
    explicit SmtpSender(Ui& ui, SecondsClock clock = steadySeconds(), QObject* parent = nullptr);

    QTcpSocket w;
    // The last reply text received (its lines joined by CR LF); each arrival replaces it and a
    // successful wait empties it.
    QString ServerReply;
    // The reply-wait limit in seconds of the clock.
    double waitLimit = 10.0;

    // Runs the whole dialogue, greeting to "quit", then closes the socket; tells the caller
    // nothing. A sender, recipient or subject holding a line break is refused with a message
    // before any connection is made.
    void SendEmail(const QString& ServerDomain, const QString& FromEmail, const QString& ToEmail,
                   const QString& subject, const QString& Body);

    // Waits until ServerReply begins with ResponseCode or the limit has passed since the start:
    // the time-out message when nothing came, the improper-code message when something else came.
    void WaitForResponse(const QString& ResponseCode);

    // Reads what has arrived into ServerReply.
    void w_DataArrival();

private:
    Ui& m_ui;
    SecondsClock m_clock;
    net::ReplyReader m_reader;
};

// Replies that have arrived, as ServerReply holds them: the complete replies' lines joined by
// CR LF, or nothing while a reply is still incomplete. Text that is not a reply at all is
// returned as it came (cut to 512 characters) and the reader starts afresh. When `taken` is
// given, the replies are also appended to it, text that is no reply as a reply of code 0.
std::optional<QString> takeReplyText(net::ReplyReader& reader, const QByteArray& arrived,
                                     std::deque<net::Reply>* taken = nullptr);

// Hands line + CR LF (UTF-8) to the socket in one write and pushes it towards the network
// without blocking; does nothing on a socket that is not open.
void writeLine(QAbstractSocket& socket, const QString& line);

}  // namespace vx
