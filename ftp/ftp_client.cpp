// The FTP dialogue: a control connection driven command by command with blocking waits, and
// one data connection per transfer or listing. Any doubt about where the control connection
// stands (time-out, garbage, a lost data connection after the server promised one) drops it,
// so no later command can be answered by a stale reply.
#include "ftp/ftp_client.h"

#include <QDeadlineTimer>
#include <QLoggingCategory>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>

#include "core/yield.h"
#include "ftp/ftp_parse.h"

Q_LOGGING_CATEGORY(lcFtp, "vexaro.ftp", QtWarningMsg)

namespace vx::ftp {
namespace {

constexpr qint64 kHighWater = 1024 * 1024;           // read buffer of a data connection
constexpr qsizetype kMaxListing = 64 * 1024 * 1024;  // a listing beyond this is refused
// Keep-alive probes on the control connection, which stays silent for as long as a transfer
// runs: often enough that routers and firewalls do not forget the connection meanwhile.
constexpr int kKeepAliveIdleSecs = 30;
constexpr int kKeepAliveIntervalSecs = 15;

int socketErrorCode(const QTcpSocket& s) {
    switch (s.error()) {
        case QAbstractSocket::HostNotFoundError: return HostNotFound;
        case QAbstractSocket::SocketTimeoutError: return TimedOut;
        default: return CannotConnect;
    }
}

int readerErrorCode(net::ReplyReader::Error e) {
    return e == net::ReplyReader::Error::NotAReply ? NotAnFtpReply : ReplyTooLong;
}

int remaining(const QDeadlineTimer& d) { return static_cast<int>(qMax<qint64>(0, d.remainingTime())); }

// Takes the server's data connection in active mode, as a TLS-capable socket when the data is
// to be encrypted.
class DataListener : public QTcpServer {
public:
    explicit DataListener(bool tls) : m_tls(tls) {}

protected:
    void incomingConnection(qintptr fd) override {
        QTcpSocket* s = m_tls ? new QSslSocket(this) : new QTcpSocket(this);
        s->setSocketDescriptor(fd);
        addPendingConnection(s);
    }

private:
    bool m_tls;
};

}  // namespace

const char* stateName(FtpClient::State s) {
    switch (s) {
        case FtpClient::State::Disconnected: return "[STOP]";
        case FtpClient::State::Connecting: return "[CONNECT]";
        case FtpClient::State::Greeting: return "[GREETING]";
        case FtpClient::State::User: return "[USER]";
        case FtpClient::State::Pass: return "[PASS]";
        case FtpClient::State::Ready: return "[READY]";
        case FtpClient::State::DataSetup: return "[DATA]";
        case FtpClient::State::Transfer: return "[TRANSFER]";
    }
    return "[?]";
}

// ---- control connection ----

FtpClient::FtpClient(Timeouts timeouts) : m_timeouts(timeouts) {}

FtpClient::~FtpClient() {
    if (m_file) {
        m_file->m_data.reset();
        m_file->m_client = nullptr;
        m_file->m_finished = true;
        m_file = nullptr;
    }
    if (m_control) m_control->abort();
}

void FtpClient::setState(State s) {
    if (s == m_state) return;
    qCDebug(lcFtp) << stateName(m_state) << "->" << stateName(s);
    m_state = s;
}

bool FtpClient::fail(int code) {
    m_lastError = code;
    return false;
}

void FtpClient::drop(int code) {
    if (m_control) m_control->abort();
    m_control.reset();
    m_reader.reset();
    setState(State::Disconnected);
    m_lastError = code;
}

bool FtpClient::isOpen() const { return m_control && m_state != State::Disconnected; }

QSslSocket* FtpClient::tlsControl() const { return qobject_cast<QSslSocket*>(m_control.get()); }

bool FtpClient::isEncrypted() const {
    const QSslSocket* s = tlsControl();
    return s && s->isEncrypted();
}

bool FtpClient::ready() {
    if (!isOpen()) return fail(NotConnected);
    if (m_file || m_state != State::Ready) return fail(Busy);
    return true;
}

bool FtpClient::inStep() {
    // Whatever the server sent since the last reply was taken would be read as the answer to
    // the next command, and every later command would read the answer to the one before.
    m_control->waitForReadyRead(0);  // takes in what has arrived already
    if (m_control->bytesAvailable() > 0) m_reader.feed(m_control->readAll());
    if (m_reader.isIdle()) return true;
    const auto r = m_reader.take();
    if (r && r->code == 421) {  // the server closing an idle connection: its words say it best
        m_lastResponse = r->text();
        drop(ServerErrorReply);
        return false;
    }
    drop(OutOfStep);
    return false;
}

bool FtpClient::send(const QString& command) {
    if (command.contains(QLatin1Char('\r')) || command.contains(QLatin1Char('\n')))
        return fail(InvalidName);
    if (!m_control) return fail(NotConnected);
    if (!inStep()) return false;
    qCDebug(lcFtp) << "<<" << (command.startsWith(QLatin1String("PASS ")) ? "PASS ****" : command);
    m_control->write(command.toUtf8() + "\r\n");
    m_control->flush();
    return true;
}

std::optional<net::Reply> FtpClient::readReply(const QDeadlineTimer& deadline, bool yielding) {
    while (m_control) {
        if (auto r = m_reader.take()) {
            m_lastResponse = r->text();
            qCDebug(lcFtp) << ">>" << m_lastResponse;
            return r;
        }
        if (m_reader.error() != net::ReplyReader::Error::None) {
            drop(readerErrorCode(m_reader.error()));
            return std::nullopt;
        }
        if (m_control->bytesAvailable() > 0) {
            m_reader.feed(m_control->read(64 * 1024));
            continue;
        }
        if (m_control->state() != QAbstractSocket::ConnectedState) break;
        if (deadline.hasExpired()) {
            drop(TimedOut);
            return std::nullopt;
        }
        if (!yielding) {
            m_control->waitForReadyRead(qMax(1, remaining(deadline)));
            continue;
        }
        const Waiting waiting(this);
        m_control->waitForReadyRead(qBound(1, remaining(deadline), kWaitSliceMs));
        yieldToEvents();
    }
    drop(ConnectionLost);
    return std::nullopt;
}

std::optional<net::Reply> FtpClient::finalReply(bool yielding) {
    const QDeadlineTimer deadline(m_timeouts.replyMs);
    auto r = readReply(deadline, yielding);
    while (r && r->isPreliminary()) r = readReply(deadline, yielding);
    return r;
}

std::optional<net::Reply> FtpClient::command(const QString& cmd, bool opensData) {
    if (!send(cmd)) return std::nullopt;
    auto r = readReply(QDeadlineTimer(m_timeouts.replyMs));
    if (r && r->isPreliminary() && !opensData) {
        drop(OutOfStep);  // the final reply promised would answer the next command
        return std::nullopt;
    }
    return r;
}

bool FtpClient::simple(const QString& cmd, int wantedClass) {
    if (!ready()) return false;
    const auto r = command(cmd);
    if (!r) return false;
    return r->code / 100 == wantedClass ? true : fail(ServerErrorReply);
}

bool FtpClient::open(const QString& host, quint16 port, const QString& user,
                     const QString& password, bool passive) {
    if (isWaiting()) return fail(Busy);
    close();
    m_passive = passive;
    m_noEpsv = m_noEprt = m_noMlsd = false;
    m_type.reset();
    m_protected = false;
    m_tlsRefusal.clear();
    m_unverified.reset();
    m_tlsError.clear();
    if (host.trimmed().isEmpty() || port == 0) return fail(InvalidAddress);
    m_host = host;
    if (m_tls.mode == TlsMode::Off) {
        // Without TLS the TLS layer is never loaded: that would cost a plain session the time
        // of loading and setting up the crypto library.
        m_control = std::make_unique<QTcpSocket>();
    } else {
        auto s = std::make_unique<QSslSocket>();  // a plain socket until encrypted
        m_tls.trust.apply(*s);
        m_control = std::move(s);
    }
    setState(State::Connecting);
    m_control->connectToHost(host, port);
    if (!m_control->waitForConnected(m_timeouts.connectMs)) {
        const int code = socketErrorCode(*m_control);
        drop(code);
        return false;
    }
    keepAlive(*m_control, kKeepAliveIdleSecs, kKeepAliveIntervalSecs);
    if (m_tls.mode == TlsMode::Implicit && !encrypt(*tlsControl(), false)) {
        drop(m_lastError);
        return false;
    }
    setState(State::Greeting);
    const auto greeting = finalReply();  // after any "120 wait a moment"
    if (!greeting) return false;
    if (greeting->code != 220) {
        drop(ServerErrorReply);
        return false;
    }
    const bool explicitTls = m_tls.mode == TlsMode::Auto || m_tls.mode == TlsMode::Require;
    if (explicitTls && !authTls()) return false;
    if (!login(user, password)) return false;
    return !isEncrypted() || protectData();
}

bool FtpClient::authTls() {
    const auto r = command(QStringLiteral("AUTH TLS"));
    if (!r) return false;
    if (r->code == 234) {
        // Whatever came after the reply in the clear would later pass for encrypted words.
        if (m_control->bytesAvailable() > 0 || !m_reader.isIdle()) {
            drop(OutOfStep);
            return false;
        }
        if (encrypt(*tlsControl(), false)) return true;
        drop(m_lastError);
        return false;
    }
    if (m_tls.mode == TlsMode::Auto && (r->isTransientFailure() || r->isPermanentFailure())) {
        m_tlsRefusal = r->text();
        return true;
    }
    drop(TlsRefused);  // lastResponse holds the server's answer
    return false;
}

bool FtpClient::protectData() {
    for (const QString& cmd : {QStringLiteral("PBSZ 0"), QStringLiteral("PROT P")}) {
        const auto r = command(cmd);
        if (!r) return false;
        if (!r->isCompletion()) {
            drop(TlsRefused);
            return false;
        }
    }
    m_protected = true;
    return true;
}

bool FtpClient::encrypt(QSslSocket& socket, bool resume) {
    if (const QSslSocket* control = resume ? tlsControl() : nullptr) {
        QSslConfiguration c = socket.sslConfiguration();
        c.setSessionTicket(control->sslConfiguration().sessionTicket());
        socket.setSslConfiguration(c);
    }
    socket.setPeerVerifyName(m_host);
    socket.startClientEncryption();
    if (socket.waitForEncrypted(m_timeouts.connectMs)) return true;
    m_unverified = net::TlsTrust::unverified(socket);
    m_tlsError = socket.errorString();
    if (m_unverified) return fail(UntrustedCertificate);
    return fail(socket.error() == QAbstractSocket::SocketTimeoutError ? TimedOut : TlsFailed);
}

std::unique_ptr<QTcpSocket> FtpClient::newDataSocket() const {
    if (!m_protected) return std::make_unique<QTcpSocket>();
    auto s = std::make_unique<QSslSocket>();
    m_tls.trust.apply(*s);
    return s;
}

bool FtpClient::login(const QString& user, const QString& password) {
    setState(State::User);
    auto r = command(QStringLiteral("USER ") + user);
    if (!r) return false;
    if (r->code == 331) {
        setState(State::Pass);
        r = command(QStringLiteral("PASS ") + password);
        if (!r) return false;
    }
    if (r->code != 230 && r->code != 202) {
        // An error reply says in the server's own words why; anything else is a login that
        // this client cannot complete.
        drop(r->isTransientFailure() || r->isPermanentFailure() ? ServerErrorReply : LoginRefused);
        return false;
    }
    setState(State::Ready);
    return true;
}

void FtpClient::close() {
    if (isWaiting()) {  // the wait up the stack still needs the connection
        fail(Busy);
        return;
    }
    if (m_file) m_file->abort();
    if (isOpen() && m_state == State::Ready && send(QStringLiteral("QUIT")))
        readReply(QDeadlineTimer(qMin(m_timeouts.replyMs, 2000)));
    if (m_control) m_control->abort();
    m_control.reset();
    m_reader.reset();
    setState(State::Disconnected);
}

// ---- simple commands ----

std::optional<QString> FtpClient::currentDirectory() {
    if (!ready()) return std::nullopt;
    const auto r = command(QStringLiteral("PWD"));
    if (!r) return std::nullopt;
    if (r->code != 257) {
        fail(ServerErrorReply);
        return std::nullopt;
    }
    auto dir = parsePwdReply(r->lines.first());
    if (!dir) fail(NotAnFtpReply);
    return dir;
}

bool FtpClient::changeDirectory(const QString& path) { return simple(QStringLiteral("CWD ") + path); }
bool FtpClient::makeDirectory(const QString& path) { return simple(QStringLiteral("MKD ") + path); }
bool FtpClient::removeDirectory(const QString& path) { return simple(QStringLiteral("RMD ") + path); }
bool FtpClient::deleteFile(const QString& path) { return simple(QStringLiteral("DELE ") + path); }

bool FtpClient::rename(const QString& from, const QString& to) {
    return simple(QStringLiteral("RNFR ") + from, 3) && simple(QStringLiteral("RNTO ") + to);
}

std::optional<qint64> FtpClient::size(const QString& path) {
    // Servers give the stored size only in binary mode.
    if (!ready() || !setType(TransferType::Binary)) return std::nullopt;
    const auto r = command(QStringLiteral("SIZE ") + path);
    if (!r) return std::nullopt;
    if (r->code != 213) {
        fail(ServerErrorReply);
        return std::nullopt;
    }
    bool ok = false;
    const qint64 n = r->lines.first().mid(4).trimmed().toLongLong(&ok);
    if (!ok || n < 0) {
        fail(NotAnFtpReply);
        return std::nullopt;
    }
    return n;
}

bool FtpClient::setType(TransferType type) {
    if (m_type == type) return true;
    if (!simple(type == TransferType::Ascii ? QStringLiteral("TYPE A") : QStringLiteral("TYPE I")))
        return false;
    m_type = type;
    return true;
}

// ---- data connections ----

std::unique_ptr<QTcpSocket> FtpClient::passiveSocket() {
    std::optional<quint16> port;
    if (!m_noEpsv) {
        const auto r = command(QStringLiteral("EPSV"));
        if (!r) return nullptr;
        if (r->code == 229) {
            port = parseEpsvReply(r->lines.first());
            if (!port) return fail(DataConnectionFailed), nullptr;
        } else if (r->isPermanentFailure()) {
            m_noEpsv = true;
        } else {
            return fail(ServerErrorReply), nullptr;
        }
    }
    if (!port) {
        const auto r = command(QStringLiteral("PASV"));
        if (!r) return nullptr;
        if (r->code != 227) return fail(ServerErrorReply), nullptr;
        // The host of the reply is ignored on purpose: data goes to the control peer only.
        port = parsePasvReply(r->lines.first());
        if (!port) return fail(DataConnectionFailed), nullptr;
    }
    auto data = newDataSocket();
    data->connectToHost(m_control->peerAddress(), *port);
    if (!data->waitForConnected(m_timeouts.connectMs)) return fail(DataConnectionFailed), nullptr;
    return data;
}

bool FtpClient::sendActiveAddress(quint16 port) {
    const QHostAddress local = m_control->localAddress();
    if (!m_noEprt) {
        const auto r = command(QStringLiteral("EPRT ") + eprtArgument(local, port));
        if (!r) return false;
        if (r->isCompletion()) return true;
        if (!r->isPermanentFailure()) return fail(ServerErrorReply);
        m_noEprt = true;
    }
    const QString arg = portArgument(local, port);
    if (arg.isEmpty()) return fail(DataConnectionFailed);
    const auto r = command(QStringLiteral("PORT ") + arg);
    if (!r) return false;
    return r->isCompletion() ? true : fail(ServerErrorReply);
}

std::unique_ptr<QTcpSocket> FtpClient::openData(const QString& cmd, TransferType type, qint64 restartAt) {
    if (!ready() || !setType(type)) return nullptr;
    if (cmd.contains(QLatin1Char('\r')) || cmd.contains(QLatin1Char('\n')))
        return fail(InvalidName), nullptr;
    setState(State::DataSetup);
    std::unique_ptr<QTcpSocket> data;
    std::unique_ptr<DataListener> listener;
    const auto backToReady = [this] {
        if (isOpen()) setState(State::Ready);
    };
    if (m_passive) {
        data = passiveSocket();
        if (!data) return backToReady(), nullptr;
    } else {
        listener = std::make_unique<DataListener>(m_protected);
        if (!listener->listen(m_control->localAddress(), 0))
            return backToReady(), fail(DataConnectionFailed), nullptr;
        if (!sendActiveAddress(listener->serverPort())) return backToReady(), nullptr;
    }
    if (restartAt > 0) {
        const auto rest = command(QStringLiteral("REST ") + QString::number(restartAt));
        if (!rest) return nullptr;
        if (rest->code != 350) {
            if (rest->code == 500 || rest->code == 502 || rest->code == 504) m_noRest = true;
            backToReady();
            return fail(ServerErrorReply), nullptr;
        }
    }
    const auto r = command(cmd, true);
    if (!r) return nullptr;
    if (!r->isPreliminary()) {
        backToReady();
        return fail(ServerErrorReply), nullptr;
    }
    if (listener) {
        if (!listener->hasPendingConnections() && !listener->waitForNewConnection(m_timeouts.connectMs)) {
            // The server promised a connection and will answer for it later: out of step.
            drop(DataConnectionFailed);
            return nullptr;
        }
        data.reset(listener->nextPendingConnection());
        data->setParent(nullptr);
        if (!data->peerAddress().isEqual(m_control->peerAddress(),
                                         QHostAddress::ConvertV4MappedToIPv4)) {
            drop(DataConnectionFailed);
            return nullptr;
        }
        if (m_protected) m_tls.trust.apply(static_cast<QSslSocket&>(*data));
    }
    // The client starts TLS once the server has accepted the command, as servers expect.
    if (m_protected && !encrypt(static_cast<QSslSocket&>(*data), true)) {
        const int code = m_lastError;
        data->abort();
        data.reset();
        endTransfer(true, false);  // the server's answer to the failed data connection
        fail(code);
        return nullptr;
    }
    data->setReadBufferSize(kHighWater);
    watchPeerEnd(*data);
    setState(State::Transfer);
    return data;
}

bool FtpClient::endTransfer(bool cutShort, bool yielding) {
    if (!isOpen()) return fail(NotConnected);
    const auto r = finalReply(yielding);
    if (!r) return false;
    setState(State::Ready);
    if (r->isCompletion() || cutShort) return true;
    return fail(ServerErrorReply);
}

std::unique_ptr<RemoteFile> FtpClient::openFile(const QString& path, Access access, TransferType type,
                                                qint64 restartAt) {
    const bool resume = access == Access::Write && restartAt > 0;
    std::unique_ptr<QTcpSocket> data;
    if (resume && !m_noRest) {
        data = openData(QStringLiteral("STOR ") + path, type, restartAt);
        if (!data && !m_noRest) return nullptr;
    }
    // APPE continues at the end of the remote file, which the caller has measured.
    if (resume && m_noRest) data = openData(QStringLiteral("APPE ") + path, type);
    if (!resume) {
        const QString verb = access == Access::Write ? QStringLiteral("STOR ") : QStringLiteral("RETR ");
        data = openData(verb + path, type);
    }
    if (!data) return nullptr;
    std::unique_ptr<RemoteFile> file(new RemoteFile(this, std::move(data), access, type));
    m_file = file.get();
    return file;
}

std::optional<QByteArray> FtpClient::readListing(const QString& folder, bool mlsd) {
    QString cmd = mlsd ? QStringLiteral("MLSD") : QStringLiteral("LIST");
    if (!folder.isEmpty()) cmd += QLatin1Char(' ') + folder;
    auto data = openData(cmd, m_type.value_or(TransferType::Ascii));
    if (!data) return std::nullopt;
    QByteArray out;
    int error = NoError;
    const QDeadlineTimer whole(m_timeouts.listingMs);
    QDeadlineTimer stall(m_timeouts.dataMs);
    while (error == NoError) {
        if (data->bytesAvailable() > 0) {
            out += data->readAll();
            if (out.size() > kMaxListing) error = ReplyTooLong;
            stall.setRemainingTime(m_timeouts.dataMs);
            continue;
        }
        if (!stillSending(*data)) break;
        // The listing ends at a stall of dataMs or at its own deadline. The waits are sliced:
        // a TLS close arriving on its own wakes no wait for data.
        if (whole.hasExpired() || stall.hasExpired()) {
            error = TimedOut;
            break;
        }
        data->waitForReadyRead(qBound(1, qMin(remaining(whole), remaining(stall)), kWaitSliceMs));
    }
    data->abort();
    data.reset();
    if (error != NoError) {
        endTransfer(true, false);
        fail(error);
        return std::nullopt;
    }
    if (!endTransfer(false, false)) return std::nullopt;
    return out;
}

std::unique_ptr<FindHandle> FtpClient::findFirst(const QString& searchPath, FindData& first) {
    const SearchPath sp = splitSearchPath(searchPath);
    auto data = readListing(sp.folder, !m_noMlsd);
    if (!data && !m_noMlsd && m_lastError == ServerErrorReply && isOpen() &&
        (m_lastResponse.startsWith(QLatin1String("500")) || m_lastResponse.startsWith(QLatin1String("502")))) {
        m_noMlsd = true;  // the server does not know MLSD
        data = readListing(sp.folder, false);
    }
    if (!data) return nullptr;
    const auto form = m_noMlsd ? ListingForm::List : ListingForm::Mlsd;
    QList<FindData> entries;
    for (FindData& e : parseListing(*data, form, QDate::currentDate()))
        if (matchesPattern(e.name, sp.pattern)) entries.append(std::move(e));
    if (entries.isEmpty()) return fail(NoMoreFiles), nullptr;
    first = entries.first();
    std::unique_ptr<FindHandle> h(new FindHandle(this, std::move(entries)));
    h->m_next = 1;
    return h;
}

}  // namespace vx::ftp
