// The internal mailer's dialogue with its relay: connect, log in with AUTH LOGIN and send one
// message, paced by fixed pauses rather than by reply codes. Only the reply to the password is
// looked at. Every call that pauses lets events run (connect and data events arrive that way),
// so other handlers may run inside it. Nothing throws; outcomes come back as values.
#pragma once

#include <QObject>
#include <QString>
#include <QTcpSocket>
#include <functional>

#include "mail/pace.h"
#include "mail/smtp_lines.h"
#include "net/reply_reader.h"

namespace vx {

class RelaySession : public QObject {
    Q_OBJECT
public:
    // log receives each text to append to the status log; clock paces the pauses.
    RelaySession(std::function<void(const QString&)> log, SecondsClock clock = steadySeconds(),
                 QObject* parent = nullptr);

    QTcpSocket WS;
    // True from the socket's connect event until the socket is closed here.
    bool Connected = false;
    // The last reply text received; each arrival replaces it.
    QString ServerReply;

    // Closes the socket, connects to host:port and pauses 2 seconds; returns Connected. A port
    // outside 1..65535 makes no connection.
    bool connectTo(const QString& host, qint64 port);
    void close();

    enum class Outcome { Sent, LoginRefused };
    // Sends the rows of the relay dialogue with their logging and pauses. After the password,
    // a reply starting with 535 ends the dialogue with LoginRefused; every other reply is
    // ignored. The message's local address is filled in from the socket.
    Outcome send(RelayMessage message);
    // Logs "quit" and sends "QUIT"; the socket stays open.
    void quit();

    void Pause(double seconds) { vx::Pause(seconds, m_clock); }

signals:
    // The connect event: the remote host as it was given.
    void connectedTo(const QString& host);

private:
    void WS_Connect();
    void WS_DataArrival();

    std::function<void(const QString&)> m_log;
    SecondsClock m_clock;
    net::ReplyReader m_reader;
};

}  // namespace vx
