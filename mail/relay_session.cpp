// Relay dialogue over QTcpSocket.
#include "mail/relay_session.h"

#include "mail/smtp_sender.h"

namespace vx {

RelaySession::RelaySession(std::function<void(const QString&)> log, SecondsClock clock,
                           QObject* parent)
    : QObject(parent), m_log(std::move(log)), m_clock(std::move(clock)) {
    connect(&WS, &QTcpSocket::connected, this, &RelaySession::WS_Connect);
    connect(&WS, &QTcpSocket::readyRead, this, &RelaySession::WS_DataArrival);
}

void RelaySession::WS_Connect() {
    Connected = true;
    emit connectedTo(WS.peerName());
}

void RelaySession::WS_DataArrival() {
    const auto text = takeReplyText(m_reader, WS.readAll(), &m_replies);
    if (!text) return;
    ServerReply = *text;
    m_log(ServerReply + kCrLf);
}

void RelaySession::close() {
    WS.abort();
    Connected = false;
}

bool RelaySession::connectTo(const QString& host, qint64 port) {
    close();
    m_reader.reset();
    m_replies.clear();
    if (port > 0 && port <= 65535) WS.connectToHost(host, static_cast<quint16>(port));
    Pause(2);
    return Connected;
}

RelaySession::Outcome RelaySession::send(RelayMessage message) {
    message.localAddress = WS.localAddress().toString();
    for (const RelayStep& step : relayDialogue(message)) {
        writeLine(WS, step.line);
        if (step.log == RelayStep::Log::Line) m_log(step.line + kCrLf);
        if (step.log == RelayStep::Log::WithoutLineEnd) m_log(step.line);
        for (double seconds : step.pauses) Pause(seconds);
        if (step.loginCheck && ServerReply.left(3).toInt() == 535) return Outcome::LoginRefused;
    }
    return Outcome::Sent;
}

bool RelaySession::waitUntil(const std::function<bool()>& done, double limit) {
    const double start = m_clock();
    while (!done()) {
        if (WS.state() == QAbstractSocket::UnconnectedState || m_clock() - start > limit)
            return false;
        letEventsRun();
    }
    return true;
}

Status RelaySession::open(const QString& host, quint16 port, bool implicitTls, double limit) {
    close();
    m_reader.reset();
    m_replies.clear();
    if (implicitTls) {
        if (prepareTls) prepareTls(WS);
        WS.connectToHostEncrypted(host, port);
    } else {
        WS.connectToHost(host, port);
    }
    m_unverified.reset();
    if (waitUntil([&] { return implicitTls ? WS.isEncrypted() : Connected; }, limit))
        return Status::ok();
    if (implicitTls) m_unverified = net::TlsTrust::unverified(WS);
    const QString why = WS.state() == QAbstractSocket::UnconnectedState
                            ? WS.errorString()
                            : QStringLiteral("no answer within %1 seconds").arg(limit);
    close();
    return Status::error(
        QStringLiteral("No connection to %1 port %2: %3.").arg(host).arg(port).arg(why));
}

Status RelaySession::startTls(double limit) {
    if (prepareTls) prepareTls(WS);
    WS.startClientEncryption();
    if (waitUntil([&] { return WS.isEncrypted(); }, limit)) return Status::ok();
    m_unverified = net::TlsTrust::unverified(WS);
    const QString why = WS.state() == QAbstractSocket::UnconnectedState
                            ? WS.errorString()
                            : QStringLiteral("no handshake within %1 seconds").arg(limit);
    return Status::error(
        QStringLiteral("The TLS handshake with the mail server failed: %1.").arg(why));
}

Result<net::Reply> RelaySession::awaitReply(const QString& what, double limit) {
    // Replies already in count even when the server closed the connection after them.
    if (!waitUntil([&] { return !m_replies.empty(); }, limit) && m_replies.empty()) {
        if (WS.state() == QAbstractSocket::UnconnectedState)
            return Status::error(
                QStringLiteral("The mail server closed the connection before it answered the %1.")
                    .arg(what));
        return Status::error(
            QStringLiteral("The mail server did not answer the %1 within %2 seconds.")
                .arg(what)
                .arg(limit));
    }
    net::Reply reply = m_replies.front();
    m_replies.pop_front();
    if (reply.code == 0)
        return Status::error(
            QStringLiteral("The mail server's answer to the %1 is not an SMTP reply.").arg(what));
    return reply;
}

void RelaySession::quit() {
    m_log(QStringLiteral("quit"));
    writeLine(WS, QStringLiteral("QUIT"));
}

}  // namespace vx
