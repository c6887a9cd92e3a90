// Sliced socket waits for the FTP layer: poll() for at most a slice, then yield, until ready.
#include "ftp/socket_wait.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

#include <QTcpSocket>
#include <cerrno>
#if __has_include(<linux/sockios.h>)
#include <linux/sockios.h>
#endif

#include "core/yield.h"

namespace vx::ftp {
namespace {

constexpr char kPeerEnded[] = "vexaroPeerEnded";  // set by watchPeerEnd

bool connected(const QTcpSocket& s) { return s.state() == QAbstractSocket::ConnectedState; }

// The next slice: kWaitSliceMs, or less when the deadline is nearer.
int sliceMs(const QDeadlineTimer& deadline) {
    const qint64 left = deadline.remainingTime();  // -1 for a deadline that never comes
    return left < 0 ? kWaitSliceMs : static_cast<int>(qMin<qint64>(kWaitSliceMs, left));
}

// One poll() of at most ms: its count (0 on time-out or interruption) and the events seen.
int pollOnce(int fd, short events, int ms, short* revents) {
    pollfd p{fd, events, 0};
    const int n = ::poll(&p, 1, ms);
    *revents = p.revents;
    return n < 0 && errno == EINTR ? 0 : n;
}

}  // namespace

WaitResult waitReady(QTcpSocket& socket, short events, const QDeadlineTimer& deadline) {
    for (;;) {
        if ((events & POLLIN) && socket.bytesAvailable() > 0) return WaitResult::Ready;
        if (!connected(socket)) return WaitResult::Closed;
        short revents = 0;
        const int n = pollOnce(static_cast<int>(socket.socketDescriptor()), events,
                               sliceMs(deadline), &revents);
        yieldToEvents();
        if (n < 0) return WaitResult::Closed;
        if (n > 0) return (revents & events) ? WaitResult::Ready : WaitResult::Closed;
        if (deadline.hasExpired()) return WaitResult::TimedOut;
    }
}

namespace {

qint64 unacknowledgedOn(int fd) {
#ifdef SIOCOUTQ
    int n = 0;
    if (fd < 0 || ::ioctl(fd, SIOCOUTQ, &n) != 0) return -1;
    return n;
#else
    (void)fd;
    return -1;
#endif
}

// waitForPeerEnd on `fd`; `data` is its socket while that still holds the descriptor.
WaitResult peerEnd(int fd, QTcpSocket* data, QTcpSocket& control, int stallMs) {
    if (fd >= 0) ::shutdown(fd, SHUT_WR);  // queued behind the data
    QDeadlineTimer stall(stallMs);
    qint64 last = -1;
    char scratch[4096];
    for (;;) {
        if (control.bytesAvailable() > 0 || (data && !connected(*data))) return WaitResult::Ready;
        if (data && data->bytesAvailable() > 0) data->skip(data->bytesAvailable());
        const qint64 left = unacknowledgedOn(fd);
        if (left >= 0 && last >= 0 && left < last) stall.setRemainingTime(stallMs);
        last = left;
        pollfd p[2] = {{fd, POLLIN, 0}, {static_cast<int>(control.socketDescriptor()), POLLIN, 0}};
        const int n = ::poll(p, 2, sliceMs(stall));
        yieldToEvents();
        if (n > 0 && p[1].revents) return WaitResult::Ready;
        // The data socket: the end (0), an error or hang-up, or bytes nobody asked for.
        if (n > 0 && p[0].revents && (!data || connected(*data))) {
            const ssize_t got = ::recv(fd, scratch, sizeof scratch, 0);
            if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR))
                return WaitResult::Ready;
        }
        if (n < 0 && errno != EINTR) return WaitResult::Ready;
        if (stall.hasExpired()) return WaitResult::TimedOut;
    }
}

}  // namespace

qint64 unacknowledged(const QTcpSocket& socket) {
    if (!connected(socket)) return -1;
    return unacknowledgedOn(static_cast<int>(socket.socketDescriptor()));
}

WaitResult waitForPeerEnd(QTcpSocket& data, QTcpSocket& control, int stallMs) {
    return peerEnd(static_cast<int>(data.socketDescriptor()), &data, control, stallMs);
}

WaitResult waitForPeerClose(int fd, QTcpSocket& control, int stallMs) {
    return peerEnd(fd, nullptr, control, stallMs);
}

void watchPeerEnd(QTcpSocket& data) {
    QObject::connect(&data, &QAbstractSocket::errorOccurred, &data,
                     [&data](QAbstractSocket::SocketError e) {
                         if (e == QAbstractSocket::RemoteHostClosedError)
                             data.setProperty(kPeerEnded, true);
                     });
}

bool peerEnded(const QTcpSocket& data) { return data.property(kPeerEnded).toBool(); }

bool stillSending(const QTcpSocket& data) {
    return data.state() == QAbstractSocket::ConnectedState && !peerEnded(data);
}

void keepAlive(QTcpSocket& socket, int idleSecs, int intervalSecs) {
    socket.setSocketOption(QAbstractSocket::KeepAliveOption, 1);
#if defined(TCP_KEEPIDLE) && defined(TCP_KEEPINTVL)
    const int fd = static_cast<int>(socket.socketDescriptor());
    if (fd < 0) return;
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idleSecs, sizeof idleSecs);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &intervalSecs, sizeof intervalSecs);
#else
    (void)idleSecs;
    (void)intervalSecs;
#endif
}

}  // namespace vx::ftp
