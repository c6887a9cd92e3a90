// The internal mailer's dialogue with its relay: connect, log in with AUTH LOGIN and send one
// message, paced by fixed pauses rather than by reply codes. Only the reply to the password is
// looked at. Every call that pauses lets events run (connect and data events arrive that way),
// so other handlers may run inside it. Nothing throws; outcomes come back as values.
// The socket can also speak TLS, and the waits below serve the standard session
// (relay_standard.h), which awaits every reply instead of pausing.
#pragma once

#include <QObject>
#include <QSslSocket>
#include <QString>
#include <deque>
#include <functional>

#include "core/status.h"
#include "mail/pace.h"
#include "mail/smtp_lines.h"
#include "net/reply_reader.h"
#include "net/tls_trust.h"

namespace vx {

class RelaySession : public QObject {
    Q_OBJECT
public:
    // log receives each text to append to the status log; clock paces the pauses.
    RelaySession(std::function<void(const QString&)> log, SecondsClock clock = steadySeconds(),
                 QObject* parent = nullptr);

    QSslSocket WS;
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
    // Appends text to the status log.
    void log(const QString& text) { m_log(text); }

    // The standard session's waits, each up to `limit` seconds of the clock and without fixed
    // pauses. Before any handshake, prepareTls (when set) sets up the socket's certificate trust.
    std::function<void(QSslSocket&)> prepareTls;
    // Closes the socket and connects afresh, with TLS from the first byte when implicitTls;
    // returns once connected (and encrypted).
    Status open(const QString& host, quint16 port, bool implicitTls, double limit);
    // Starts TLS on the open connection and waits for the handshake.
    Status startTls(double limit);
    // The certificate that did not verify in the last failed handshake since open, if that was
    // why it failed.
    const std::optional<net::UnverifiedCertificate>& unverified() const { return m_unverified; }
    // The next reply not yet taken, waiting for it when none is there; fails on time-out, on a
    // closed connection and on text that is no reply. `what` names the step for the message.
    Result<net::Reply> awaitReply(const QString& what, double limit);

signals:
    // The connect event: the remote host as it was given.
    void connectedTo(const QString& host);

private:
    void WS_Connect();
    void WS_DataArrival();

    // Waits until done() or the limit; false on time-out or when the socket closed.
    bool waitUntil(const std::function<bool()>& done, double limit);

    std::function<void(const QString&)> m_log;
    SecondsClock m_clock;
    net::ReplyReader m_reader;
    std::deque<net::Reply> m_replies;  // complete replies not yet taken by awaitReply
    std::optional<net::UnverifiedCertificate> m_unverified;
};

}  // namespace vx
