// Relay log-in test, one reply per command.
#include "mail/relay_login_check.h"

#include <QHostInfo>
#include <QTcpSocket>

#include "mail/smtp_lines.h"
#include "mail/smtp_sender.h"
#include "net/reply_reader.h"

namespace vx {
namespace {

struct Step {
    QString command;  // empty: the greeting
    int expected;     // the reply code that lets the test go on
    const char* what;
};

// Waits for the next complete reply; nothing (and `why` set) on time-out, closed connection or
// a stream that is not SMTP.
std::optional<net::Reply> nextReply(QTcpSocket& socket, net::ReplyReader& reader, double limit,
                                    const SecondsClock& clock, QString& why) {
    const double start = clock();
    while (!reader.hasReply()) {
        reader.feed(socket.readAll());
        if (reader.error() != net::ReplyReader::Error::None) {
            why = net::errorText(reader.error());
            return std::nullopt;
        }
        if (reader.hasReply()) break;
        if (socket.state() != QAbstractSocket::ConnectedState) {
            why = QStringLiteral("The relay closed the connection.");
            return std::nullopt;
        }
        if (clock() - start >= limit) {
            why = QStringLiteral("The relay did not answer.");
            return std::nullopt;
        }
        letEventsRun();
    }
    return reader.take();
}

}  // namespace

Result<QString> checkRelayLogin(const RelayLogin& login, double limitSeconds,
                                const SecondsClock& clock) {
    bool numeric = false;
    const int port = login.port.trimmed().toInt(&numeric);
    if (!numeric || port < 1 || port > 65535)
        return Status::error(QStringLiteral("The port \"") + login.port +
                             QStringLiteral("\" is not a number from 1 to 65535."));
    QTcpSocket socket;
    socket.connectToHost(login.host.trimmed(), static_cast<quint16>(port));
    const double start = clock();
    while (socket.state() != QAbstractSocket::ConnectedState) {
        if (socket.state() == QAbstractSocket::UnconnectedState || clock() - start >= limitSeconds)
            return Status::error(QStringLiteral("No connection to ") + login.host +
                                 QLatin1Char(':') + login.port + QStringLiteral(": ") +
                                 socket.errorString());
        letEventsRun();
    }
    const Step steps[] = {
        {QString(), 220, "greeting"},
        {QStringLiteral("HELO ") + QHostInfo::localHostName(), 250, "HELO"},
        {QStringLiteral("AUTH LOGIN"), 334, "AUTH LOGIN"},
        {EncodeBase64(login.user), 334, "user name"},
        {EncodeBase64(login.password), 235, "password"},
    };
    net::ReplyReader reader;
    for (const Step& step : steps) {
        if (!step.command.isEmpty()) writeLine(socket, step.command);
        QString why;
        const auto reply = nextReply(socket, reader, limitSeconds, clock, why);
        if (!reply || reply->code != step.expected) {
            socket.abort();
            return Status::error(QStringLiteral("At the ") + QString::fromLatin1(step.what) +
                                 QStringLiteral(" the relay answered:\n") +
                                 (reply ? reply->text() : why));
        }
    }
    writeLine(socket, QStringLiteral("QUIT"));
    QString ignored;
    (void)nextReply(socket, reader, limitSeconds, clock, ignored);
    socket.abort();
    return QStringLiteral("Logged in to the relay ") + login.host + QLatin1Char(':') + login.port +
           QStringLiteral(" as ") + login.user + QStringLiteral(" and quit.");
}

}  // namespace vx
