// A blocking, single-connection FTP client over QTcpSocket: login, folder commands, one remote
// file open for chunked reading or writing, and searches over parsed folder listings. Passive
// mode uses EPSV with a PASV fall-back, active mode EPRT with a PORT fall-back; listings use
// MLSD with a LIST fall-back. Every call blocks until done or until its time-out. Only the waits
// of a file transfer yield to the event loop (see socket_wait.h); while they do, the connection
// refuses every other command with Busy, and open() and close() too.
// A failing call leaves an error code (ftp_errors.h) and, where the server answered, its reply.
// Commands and replies are kept in step: anything the server sent that no command asked for,
// found when the next command is due, drops the connection (OutOfStep), so that no command is
// ever answered by the reply to another.
// With TLS (ftp_tls.h) the control connection is encrypted before the log-in ("AUTH TLS", or
// from the first byte), "PBSZ 0" and "PROT P" follow the log-in, and every data connection is
// encrypted too, resuming the control connection's TLS session, and ends with a TLS shutdown
// read to the server's close. Plain data connections keep the direct descriptor path.
#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QString>
#include <memory>
#include <optional>

#include "ftp/find_data.h"
#include "ftp/ftp_errors.h"
#include "ftp/ftp_tls.h"
#include "ftp/socket_wait.h"
#include "net/reply_reader.h"

class QSslSocket;
class QTcpSocket;

namespace vx::ftp {

struct Timeouts {
    int connectMs = 30000;   // reaching the server and each data connection
    int replyMs = 30000;     // each reply, with any preliminary replies ("wait") before it
    int dataMs = 30000;      // any stall of a data transfer
    int listingMs = 120000;  // a whole listing, however steadily its data comes
};

enum class TransferType { Ascii, Binary };
enum class Access { Read, Write };

class FtpClient;

// A remote file opened for one transfer. Writes are gathered into large socket writes and
// reads are served from a large buffer, so small calls cost little. In ASCII mode line ends
// travel as CR LF and are stored locally as LF. Whenever a call waits on the network it yields
// to the event loop every few milliseconds; a stall time-out counts from the last progress.
class RemoteFile {
public:
    ~RemoteFile();  // abandons the transfer if it was not closed
    RemoteFile(const RemoteFile&) = delete;
    RemoteFile& operator=(const RemoteFile&) = delete;

    // Hands over n bytes. False when the data connection failed (the client's lastError says why).
    bool write(const char* data, qint64 n);
    // Reads exactly n bytes; false when the data ended sooner or stalled.
    bool read(char* data, qint64 n);
    // Reads what is there, up to max bytes, waiting for some: the count, 0 at the end of the
    // data, -1 on failure.
    qint64 readSome(char* data, qint64 max);
    // Ends the transfer: flushes what was written and waits until the server has taken it all,
    // closes the data connection, and takes the server's closing reply, whose time-out counts
    // from then. False when the flush failed, the data stalled, or the reply is an error; for
    // reads the reply of a transfer cut short by the client is not an error.
    bool close();
    // Cuts the transfer short and takes the server's reply, keeping the client's last error.
    void abort();

private:
    friend class FtpClient;
    RemoteFile(FtpClient* client, std::unique_ptr<QTcpSocket> data, Access access, TransferType type);
    qsizetype sendChunk() const;  // gathered bytes that are sent together
    bool flush();  // sends all gathered bytes
    // After the last byte, waits until the server has read all (TimedOut on a stall).
    bool finishSending();
    int stallMs() const;
    WaitResult wait(short events, const QDeadlineTimer& deadline);  // marked as the client's wait
    // Up to max received bytes, waiting for some: the count, 0 at the end (m_eof), -1 on error.
    qint64 receive(char* out, qint64 max);
    // Moves received bytes into the buffer, undoing ASCII line ends; false at the end or on error.
    bool refill();
    bool fail(int code);
    void finish(bool cutShort);
    // The same over TLS, through the socket's own buffers (remote_file_tls.cpp).
    bool flushTls(qint64 keepPending);
    qint64 receiveTls(char* out, qint64 max);
    bool finishSendingTls();

    FtpClient* m_client;
    std::unique_ptr<QTcpSocket> m_data;
    Access m_access;
    TransferType m_type;
    QByteArray m_buf;      // gathered writes, or received bytes not yet read
    qsizetype m_fill = 0;  // writes: the bytes gathered at the start of m_buf
    qsizetype m_pos = 0;   // reads: next unread byte of m_buf
    bool m_pendingCr = false;
    bool m_eof = false;
    bool m_finished = false;
    bool m_tls = false;   // the data connection is encrypted
};

// A search over a listing already read in full; its entries are handed out one by one.
class FindHandle {
public:
    // The next entry, or false with lastError NoMoreFiles at the end.
    bool next(FindData& out);

private:
    friend class FtpClient;
    FindHandle(FtpClient* client, QList<FindData> entries) : m_client(client), m_entries(std::move(entries)) {}
    FtpClient* m_client;
    QList<FindData> m_entries;
    qsizetype m_next = 0;
};

class FtpClient {
public:
    enum class State { Disconnected, Connecting, Greeting, User, Pass, Ready, DataSetup, Transfer };

    explicit FtpClient(Timeouts timeouts = {});
    // TLS for the next open(); Off (the plain dialogue) until set.
    void setTls(TlsOptions tls) { m_tls = std::move(tls); }
    ~FtpClient();  // ends any open transfer and closes the connection
    FtpClient(const FtpClient&) = delete;
    FtpClient& operator=(const FtpClient&) = delete;

    // Connects to host:port and logs in; the control connection keeps itself alive with TCP
    // keep-alive probes. Refused with Busy from inside a yield of a wait. Errors: InvalidAddress,
    // HostNotFound, CannotConnect, TimedOut, ConnectionLost, NotAnFtpReply, ReplyTooLong,
    // OutOfStep, ServerErrorReply (the greeting or the login was refused with an error reply:
    // see lastResponse), LoginRefused (any other answer to the user name or password), and with
    // TLS: TlsRefused (in Require: "AUTH TLS", "PBSZ" or "PROT" refused, see lastResponse),
    // TlsFailed (see tlsError), UntrustedCertificate (see unverifiedCertificate).
    bool open(const QString& host, quint16 port, const QString& user, const QString& password,
              bool passive);
    // Says QUIT (briefly) and closes. Harmless when not open. Refused (lastError Busy, nothing
    // closed) while called from inside a yield of one of this connection's waits.
    void close();
    bool isOpen() const;
    // True while a transfer's wait on this connection hands over to the event loop.
    bool isWaiting() const { return m_waits > 0; }
    State state() const { return m_state; }

    // The current remote folder (PWD), or nothing on failure.
    std::optional<QString> currentDirectory();
    bool changeDirectory(const QString& path);
    bool makeDirectory(const QString& path);
    bool removeDirectory(const QString& path);
    bool deleteFile(const QString& path);
    bool rename(const QString& from, const QString& to);
    // SIZE of a remote file, or nothing (ServerErrorReply when the server declines).
    std::optional<qint64> size(const QString& path);

    // Opens a remote file for one transfer (STOR or RETR). Only one file or search at a time.
    // A write from restartAt > 0 on continues the remote file at that byte: REST, then STOR;
    // a server that does not know REST (500, 502, 504) gets APPE instead, from then on.
    std::unique_ptr<RemoteFile> openFile(const QString& path, Access access, TransferType type,
                                         qint64 restartAt = 0);

    // Lists the folder of `searchPath` and returns a search over the entries whose names match
    // its last part (see splitSearchPath and matchesPattern), with the first entry in `first`.
    // Nothing with lastError NoMoreFiles when no entry matches.
    std::unique_ptr<FindHandle> findFirst(const QString& searchPath, FindData& first);

    int lastError() const { return m_lastError; }
    // True while the control connection is encrypted.
    bool isEncrypted() const;
    // In Auto, the server's answer to "AUTH TLS" when it refused and the session went on in plain.
    QString tlsRefusal() const { return m_tlsRefusal; }
    // The certificate met by the last handshake that failed on it; nothing otherwise.
    const std::optional<net::UnverifiedCertificate>& unverifiedCertificate() const { return m_unverified; }
    // Why the last TLS handshake or session failed (TlsFailed).
    QString tlsError() const { return m_tlsError; }
    // The server's last reply, all its lines, as received.
    QString lastResponse() const { return m_lastResponse; }
    const Timeouts& timeouts() const { return m_timeouts; }

private:
    friend class RemoteFile;
    friend class FindHandle;

    // Marks a wait that yields to the event loop, for isWaiting().
    class Waiting {
    public:
        explicit Waiting(FtpClient* c) : m_c(c) {
            if (m_c) ++m_c->m_waits;
        }
        ~Waiting() {
            if (m_c) --m_c->m_waits;
        }
        Waiting(const Waiting&) = delete;
        Waiting& operator=(const Waiting&) = delete;

    private:
        FtpClient* m_c;
    };

    void setState(State s);
    bool fail(int code);
    void drop(int code);  // the control connection cannot be trusted any more
    bool ready();         // open and idle, or fail with NotConnected / Busy
    bool inStep();        // nothing unasked-for has come from the server, or drop with OutOfStep
    bool send(const QString& command);
    // The next reply; `yielding` waits in slices and yields between them.
    std::optional<net::Reply> readReply(const QDeadlineTimer& deadline, bool yielding = false);
    // The next reply that is not preliminary; all of them are due within one reply time-out.
    std::optional<net::Reply> finalReply(bool yielding = false);
    // Sends a command and takes its reply; a preliminary reply is out of step unless the
    // command opens a data connection.
    std::optional<net::Reply> command(const QString& command, bool opensData = false);
    bool simple(const QString& command, int wantedClass = 2);
    bool login(const QString& user, const QString& password);
    bool authTls();                       // "AUTH TLS" and the handshake (Auto, Require)
    bool protectData();                   // "PBSZ 0", "PROT P"
    bool encrypt(QSslSocket& socket, bool resume);  // client handshake on a connected socket
    QSslSocket* tlsControl() const;                 // the control socket when it can be encrypted
    std::unique_ptr<QTcpSocket> newDataSocket() const;
    bool setType(TransferType type);
    // Sets up the data connection and sends `command` on it; restartAt > 0 sends REST first,
    // right before the command.
    std::unique_ptr<QTcpSocket> openData(const QString& command, TransferType type, qint64 restartAt = 0);
    std::unique_ptr<QTcpSocket> passiveSocket();
    bool sendActiveAddress(quint16 port);
    std::optional<QByteArray> readListing(const QString& folder, bool mlsd);
    bool endTransfer(bool cutShort, bool yielding);
    void fileGone() { m_file = nullptr; }

    Timeouts m_timeouts;
    std::unique_ptr<QTcpSocket> m_control;  // a QSslSocket unless TLS is off
    net::ReplyReader m_reader;
    State m_state = State::Disconnected;
    bool m_passive = true;
    bool m_noEpsv = false;
    bool m_noEprt = false;
    bool m_noMlsd = false;
    bool m_noRest = false;
    std::optional<TransferType> m_type;
    RemoteFile* m_file = nullptr;
    int m_waits = 0;  // waits in progress that yield (nested ones count again)
    int m_lastError = NoError;
    QString m_lastResponse;
    TlsOptions m_tls;
    QString m_host;               // the name certificates must carry
    bool m_protected = false;     // "PROT P" accepted: data connections are encrypted
    QString m_tlsRefusal;
    std::optional<net::UnverifiedCertificate> m_unverified;
    QString m_tlsError;
};

// Text of a state for logs: "[USER]".
const char* stateName(FtpClient::State s);

}  // namespace vx::ftp
