// Plain SMTP dialogue over QTcpSocket.
#include "mail/smtp_sender.h"

#include "mail/smtp_lines.h"
#include "net/server_address.h"
#include "ui/ui.h"

namespace vx {

std::optional<QString> takeReplyText(net::ReplyReader& reader, const QByteArray& arrived,
                                     std::deque<net::Reply>* taken) {
    reader.feed(arrived);
    if (reader.error() != net::ReplyReader::Error::None) {
        reader.reset();
        const QString text = QString::fromUtf8(arrived.left(512));
        if (taken) taken->push_back({0, {text}});
        return text;
    }
    QStringList lines;
    while (auto reply = reader.take()) {
        lines += reply->lines;
        if (taken) taken->push_back(*reply);
    }
    if (lines.isEmpty()) return std::nullopt;
    return lines.join(kCrLf);
}

SmtpSender::SmtpSender(Ui& ui, SecondsClock clock, QObject* parent)
    : QObject(parent), m_ui(ui), m_clock(std::move(clock)) {
    connect(&w, &QTcpSocket::readyRead, this, &SmtpSender::w_DataArrival);
}

void SmtpSender::w_DataArrival() {
    if (auto text = takeReplyText(m_reader, w.readAll())) ServerReply = *text;
}

void writeLine(QAbstractSocket& socket, const QString& line) {
    if (!socket.isOpen()) return;
    socket.write(line.toUtf8() + "\r\n");
    socket.flush();
}

void SmtpSender::SendEmail(const QString& ServerDomain, const QString& FromEmail,
                           const QString& ToEmail, const QString& subject, const QString& Body) {
    const QString refusal = lineBreakRefusal(FromEmail, ToEmail, subject);
    if (!refusal.isEmpty()) {
        m_ui.messageBox(refusal, Buttons::Ok, Icon::Exclamation, kSmtpErrorTitle);
        return;
    }
    // A text that is no valid "host[:port]" is used whole; the connection then fails and every
    // wait times out, as for any unreachable server.
    const auto address = net::parseServerAddress(ServerDomain, kSmtpPort);
    const QString host = address ? address->host : ServerDomain;
    if (w.state() != QAbstractSocket::UnconnectedState) w.abort();
    m_reader.reset();
    w.connectToHost(host, address ? address->port : kSmtpPort);
    for (const SmtpStep& step : plainDialogue(host, FromEmail, ToEmail, subject, Body)) {
        if (step.line) writeLine(w, *step.line);
        if (!step.waitFor.isEmpty()) WaitForResponse(step.waitFor);
    }
    w.close();
}

void SmtpSender::WaitForResponse(const QString& ResponseCode) {
    const double start = m_clock();
    while (ServerReply.isEmpty()) {
        letEventsRun();
        if (m_clock() - start > waitLimit) {
            m_ui.messageBox(QStringLiteral("Error:\r\nSMTP service timed out while waiting for "
                                           "response!"),
                            Buttons::Ok, Icon::Exclamation, kSmtpErrorTitle);
            return;
        }
    }
    while (ServerReply.left(3) != ResponseCode) {
        letEventsRun();
        if (m_clock() - start > waitLimit) {
            m_ui.messageBox(QStringLiteral("Error:\r\nImproper response code received: ") +
                                ServerReply + QStringLiteral("\r\nExpected code: ") + ResponseCode,
                            Buttons::Ok, Icon::Exclamation, kSmtpErrorTitle);
            return;
        }
    }
    ServerReply.clear();
}

}  // namespace vx
