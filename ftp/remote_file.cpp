// The two handles the FTP layer hands out: a remote file open for one transfer, with gathered
// writes and buffered reads, and a search over a listing already read.
#include <QSslSocket>
#include <QTcpSocket>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <utility>

#include "ftp/ftp_client.h"
#include "ftp/socket_wait.h"

namespace vx::ftp {
namespace {

constexpr qsizetype kChunk = 256 * 1024;  // one socket read, or one handing-over to TLS
// One plain socket write: small enough that the bytes are still in the processor's cache when
// the kernel copies them (TLS pays per record and does better with the larger chunk).
constexpr qsizetype kSendChunk = 64 * 1024;

}  // namespace

bool FindHandle::next(FindData& out) {
    if (m_next >= m_entries.size()) {
        if (m_client) m_client->fail(NoMoreFiles);
        return false;
    }
    out = m_entries.at(m_next++);
    return true;
}

RemoteFile::RemoteFile(FtpClient* client, std::unique_ptr<QTcpSocket> data, Access access,
                       TransferType type)
    : m_client(client), m_data(std::move(data)), m_access(access), m_type(type) {
    m_tls = qobject_cast<QSslSocket*>(m_data.get()) != nullptr;
    // Writes gather in a buffer sized once: room for a full send and one more piece with its
    // line ends doubled, so that gathering is a plain copy.
    if (access == Access::Write)
        m_buf.resize(3 * sendChunk());
    else
        m_buf.reserve(kChunk + 1024);
    if (m_tls) return;  // the TLS socket keeps its own descriptor as it is
    // The direct sends and receives below rely on a non-blocking descriptor, so that every
    // wait goes through the sliced, yielding waits with the stall time-out.
    const int fd = static_cast<int>(m_data->socketDescriptor());
    if (fd >= 0) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
}

RemoteFile::~RemoteFile() {
    if (!m_finished) abort();
}

bool RemoteFile::fail(int code) {
    if (m_client) m_client->fail(code);
    return false;
}

int RemoteFile::stallMs() const { return m_client ? m_client->m_timeouts.dataMs : 1000; }

WaitResult RemoteFile::wait(short events, const QDeadlineTimer& deadline) {
    const FtpClient::Waiting waiting(m_client);
    return waitReady(*m_data, events, deadline);
}

qsizetype RemoteFile::sendChunk() const { return m_tls ? kChunk : kSendChunk; }

bool RemoteFile::write(const char* data, qint64 n) {
    if (m_finished || !m_data || m_access != Access::Write) return fail(NotConnected);
    const qsizetype limit = sendChunk();
    while (n > 0) {
        const qsizetype piece = qMin<qint64>(n, limit);
        if (m_fill >= limit && !flush()) return false;
        char* out = m_buf.data() + m_fill;
        if (m_type == TransferType::Binary) {
            std::memcpy(out, data, static_cast<size_t>(piece));
            out += piece;
        } else {
            for (qsizetype i = 0; i < piece; ++i) {
                if (data[i] == '\n' && !m_pendingCr) *out++ = '\r';
                m_pendingCr = data[i] == '\r';
                *out++ = data[i];
            }
        }
        m_fill = out - m_buf.constData();
        data += piece;
        n -= piece;
    }
    return m_fill >= limit ? flush() : true;
}

bool RemoteFile::flush() {
    // The data socket's descriptor is written directly: one large send per chunk, waiting only
    // when the kernel's buffer is full. Qt's own write buffer stays empty, so nothing else
    // writes to this socket; its state is checked first because the event loop (run during the
    // waits' yields and the caller's) closes the descriptor when the server has gone.
    if (m_tls) return flushTls(kChunk);
    QDeadlineTimer stall(stallMs());
    const char* p = m_buf.constData();
    qsizetype left = m_fill;
    while (left > 0) {
        if (m_data->state() != QAbstractSocket::ConnectedState) return fail(DataConnectionClosed);
        const int fd = static_cast<int>(m_data->socketDescriptor());
        const ssize_t sent = ::send(fd, p, static_cast<size_t>(left), MSG_NOSIGNAL);
        if (sent > 0) {
            p += sent;
            left -= sent;
            stall.setRemainingTime(stallMs());
            continue;
        }
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            const WaitResult r = wait(POLLOUT, stall);
            if (r == WaitResult::TimedOut) return fail(TimedOut);
            if (r == WaitResult::Closed) return fail(DataConnectionClosed);
            continue;
        }
        return fail(DataConnectionClosed);  // reset by the server, broken pipe
    }
    m_fill = 0;
    return true;
}

bool RemoteFile::finishSending() {
    const FtpClient::Waiting waiting(m_client);
    if (!m_client || !m_client->m_control) return fail(NotConnected);
    if (m_tls) return finishSendingTls();
    const WaitResult r = waitForPeerEnd(*m_data, *m_client->m_control, stallMs());
    return r == WaitResult::TimedOut ? fail(TimedOut) : true;
}

qint64 RemoteFile::receive(char* out, qint64 max) {
    // Bytes the event loop moved into the socket's own buffer (during a yield) come first; only
    // when it is empty is the descriptor read directly, which saves a copy per byte. Both are
    // looked at again after every wait, so the order is kept.
    if (m_tls) return receiveTls(out, max);
    const QDeadlineTimer stall(stallMs());
    for (;;) {
        if (m_data->bytesAvailable() > 0) return m_data->read(out, max);
        if (m_data->state() != QAbstractSocket::ConnectedState) {
            m_eof = true;  // closed while the event loop ran; its buffer is drained
            return 0;
        }
        const int fd = static_cast<int>(m_data->socketDescriptor());
        const ssize_t got = ::recv(fd, out, static_cast<size_t>(max), 0);
        if (got > 0) return got;
        if (got == 0) {
            m_eof = true;
            return 0;
        }
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            fail(DataConnectionClosed);  // reset by the server
            return -1;
        }
        if (wait(POLLIN, stall) == WaitResult::TimedOut) {
            fail(TimedOut);
            return -1;
        }
        // Readable, closed, or hung up / in error: the next round tells which.
    }
}

bool RemoteFile::refill() {
    m_buf.resize(kChunk);
    m_pos = 0;
    const qint64 got = m_eof ? 0 : receive(m_buf.data(), kChunk);
    m_buf.resize(qMax<qint64>(0, got));
    if (got < 0) return false;
    if (got == 0) {
        if (!m_pendingCr) return false;
        m_pendingCr = false;  // a lone CR at the very end
        m_buf.append('\r');
        return true;
    }
    if (m_type == TransferType::Ascii) {
        const QByteArray raw = std::exchange(m_buf, QByteArray());
        m_buf.reserve(raw.size() + 1);
        for (char c : raw) {
            if (m_pendingCr && c != '\n') m_buf.append('\r');
            m_pendingCr = c == '\r';
            if (!m_pendingCr) m_buf.append(c);
        }
    }
    return true;  // possibly empty when the chunk was one CR; the caller reads again
}

bool RemoteFile::read(char* out, qint64 n) {
    if (m_finished || !m_data || m_access != Access::Read) return fail(NotConnected);
    while (n > 0) {
        const qint64 avail = m_buf.size() - m_pos;
        if (avail == 0) {
            if (!refill()) return m_eof ? fail(DataConnectionClosed) : false;
            continue;
        }
        const qint64 take = qMin(avail, n);
        std::memcpy(out, m_buf.constData() + m_pos, static_cast<size_t>(take));
        m_pos += take;
        out += take;
        n -= take;
    }
    return true;
}

qint64 RemoteFile::readSome(char* out, qint64 max) {
    if (m_finished || !m_data || m_access != Access::Read) {
        fail(NotConnected);
        return -1;
    }
    while (m_buf.size() == m_pos) {
        if (!refill()) return m_eof ? 0 : -1;
    }
    const qint64 take = qMin<qint64>(m_buf.size() - m_pos, max);
    std::memcpy(out, m_buf.constData() + m_pos, static_cast<size_t>(take));
    m_pos += take;
    return take;
}

void RemoteFile::finish(bool cutShort) {
    m_finished = true;
    if (m_data) m_data->abort();
    m_data.reset();
    if (!m_client) return;
    FtpClient* client = std::exchange(m_client, nullptr);
    client->fileGone();
    client->endTransfer(cutShort, true);
}

bool RemoteFile::close() {
    if (m_finished) return fail(NotConnected);
    if (m_access == Access::Write) {
        // The server has read all bytes before the connection closes: the reply's time-out
        // then counts from the end of the data, however slow the link.
        if (!m_data || !flush() || !finishSending()) {
            abort();
            return false;
        }
        m_data->abort();  // the server has closed its side, or answered already
    }
    m_finished = true;
    m_data.reset();
    if (!m_client) return false;
    FtpClient* client = std::exchange(m_client, nullptr);
    client->fileGone();
    // A read stopped before the end of the data (the caller had all it wanted) may be answered
    // with a complaint about the cut; that is no failure.
    return client->endTransfer(m_access == Access::Read && !m_eof, true);
}

void RemoteFile::abort() {
    if (m_finished) return;
    FtpClient* client = m_client;
    const int keep = client ? client->m_lastError : NoError;
    finish(true);
    if (client) client->m_lastError = keep;
}

}  // namespace vx::ftp
