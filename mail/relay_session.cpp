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
    const auto text = takeReplyText(m_reader, WS.readAll());
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

void RelaySession::quit() {
    m_log(QStringLiteral("quit"));
    writeLine(WS, QStringLiteral("QUIT"));
}

}  // namespace vx
