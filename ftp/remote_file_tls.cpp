// A remote file's transfer over an encrypted data connection. The bytes go through the TLS
// socket's own buffers (the direct descriptor path of plain connections cannot encrypt); waits
// are sliced and yield like the plain ones, and a stall counts from the last progress.
#include <QCoreApplication>
#include <QSslSocket>
#include <unistd.h>

#include "core/yield.h"
#include "ftp/ftp_client.h"
#include "ftp/socket_wait.h"

namespace vx::ftp {
namespace {

constexpr qsizetype kSlice = 32 * 1024;  // a few TLS records

bool connected(const QTcpSocket& s) { return s.state() == QAbstractSocket::ConnectedState; }

// Bytes written but not yet handed to the kernel: plain ones waiting to be encrypted, and
// encrypted ones waiting in the socket's buffer.
qint64 pending(const QSslSocket& s) { return s.bytesToWrite() + s.encryptedBytesToWrite(); }

}  // namespace

bool RemoteFile::flushTls(qint64 keepPending) {
    auto& s = static_cast<QSslSocket&>(*m_data);
    // The chunk goes in slices small enough to stay in the processor's cache through the
    // socket's copies: each is encrypted and handed to the kernel at once, instead of the whole
    // chunk being copied, then encrypted, then copied again through memory.
    for (qsizetype at = 0; at < m_fill; at += kSlice) {
        const qsizetype n = qMin(kSlice, m_fill - at);
        if (!connected(s) || s.write(m_buf.constData() + at, n) != n) return fail(DataConnectionClosed);
        s.flush();
    }
    m_fill = 0;
    // Up to keepPending bytes may stay queued, so that encryption and sending overlap with
    // reading the next chunk of the local file.
    QDeadlineTimer stall(stallMs());
    qint64 last = pending(s);
    while (last > keepPending) {
        if (!connected(s)) return fail(DataConnectionClosed);
        if (stall.hasExpired()) return fail(TimedOut);
        {
            const FtpClient::Waiting waiting(m_client);
            s.waitForBytesWritten(kWaitSliceMs);
            yieldToEvents();
        }
        const qint64 now = pending(s);
        if (now < last) stall.setRemainingTime(stallMs());
        last = now;
    }
    return true;
}

qint64 RemoteFile::receiveTls(char* out, qint64 max) {
    const QDeadlineTimer stall(stallMs());
    for (;;) {
        if (m_data->bytesAvailable() > 0) return m_data->read(out, max);
        // A TLS socket whose buffer was full decrypts the rest it holds in a queued call once
        // it has been read from; deliver that first, or the wait below would sit out its slice.
        QCoreApplication::sendPostedEvents(m_data.get(), QEvent::MetaCall);
        if (m_data->bytesAvailable() > 0) return m_data->read(out, max);
        if (!stillSending(*m_data)) {
            if (!peerEnded(*m_data)) {  // reset, or the TLS session failed
                fail(DataConnectionClosed);
                return -1;
            }
            m_eof = true;  // the server's close; its reply says whether all came
            return 0;
        }
        if (stall.hasExpired()) {
            fail(TimedOut);
            return -1;
        }
        const FtpClient::Waiting waiting(m_client);
        m_data->waitForReadyRead(kWaitSliceMs);
        yieldToEvents();
    }
}

bool RemoteFile::finishSendingTls() {
    auto& s = static_cast<QSslSocket&>(*m_data);
    if (!flushTls(0)) return false;
    // The connection is kept open past the socket's own close, through a second descriptor:
    // what the server still sends (session tickets, its own TLS shutdown) is then read to the
    // server's close instead of being answered with a reset, which could cost the server the end
    // of the file.
    const int fd = ::dup(static_cast<int>(s.socketDescriptor()));
    if (fd < 0) return fail(DataConnectionClosed);
    s.disconnectFromHost();  // the TLS shutdown, then the socket lets go of its descriptor
    QDeadlineTimer stall(stallMs());
    while (s.state() != QAbstractSocket::UnconnectedState && !stall.hasExpired()) {
        s.waitForDisconnected(kWaitSliceMs);
        yieldToEvents();
    }
    const bool sent = s.state() == QAbstractSocket::UnconnectedState;
    const WaitResult r = sent ? waitForPeerClose(fd, *m_client->m_control, stallMs()) : WaitResult::TimedOut;
    ::close(fd);
    return r == WaitResult::TimedOut ? fail(TimedOut) : true;
}

}  // namespace vx::ftp
