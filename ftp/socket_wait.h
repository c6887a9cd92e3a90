// Waiting on the sockets of a transfer without holding up the window. Every wait polls in slices
// of a few milliseconds and hands over to the event loop between them, so a slow link never
// freezes the program; time-outs still count from the last sign of progress. Also the TCP
// keep-alive that keeps a quiet control connection from being dropped during a long transfer.
#pragma once

#include <QDeadlineTimer>
#include <QtGlobal>

class QTcpSocket;

namespace vx::ftp {

// The longest a transfer's wait polls before it yields to the event loop.
inline constexpr int kWaitSliceMs = 10;

enum class WaitResult { Ready, TimedOut, Closed };

// Waits until `socket` can take bytes (events POLLOUT) or has bytes to give (POLLIN: in Qt's
// buffer, or in the kernel's, or the end of the data), or until `deadline`. Yields after every
// slice, ready or not, so a steady trickle of readiness cannot hold the event loop off either.
// Closed when the socket is closed or failed (the event loop closes it when the peer hangs up,
// once Qt's buffer holds whatever came before). The descriptor is looked up after each yield.
WaitResult waitReady(QTcpSocket& socket, short events, const QDeadlineTimer& deadline);

// Bytes handed to the kernel for `socket` that the peer has not acknowledged yet; -1 where the
// system cannot tell or the socket is closed.
qint64 unacknowledged(const QTcpSocket& socket);

// After the last byte of an upload: half-closes `data` and waits until the server has read to
// the end, that is until it closes the data connection or `control` has something to read (a
// server may answer before it closes). Progress, which restarts the stall clock of stallMs, is
// the count of unacknowledged bytes falling; once the server's kernel has taken them all, the
// server may still need a while to read them, within the stall time-out. Bytes the server sends
// on `data` are dropped. Ready at the end; TimedOut on a stall; never Closed (a connection that
// closed or failed is an end, whose verdict the server's reply gives).
WaitResult waitForPeerEnd(QTcpSocket& data, QTcpSocket& control, int stallMs);

// The same on a bare descriptor `fd` of a data connection whose socket has already let go of
// it (an encrypted one after its TLS shutdown): half-closes it and reads to the server's close.
WaitResult waitForPeerClose(int fd, QTcpSocket& control, int stallMs);

// Marks the data connection `data` once the server has ended what it sends on it: closed it, or,
// over TLS, sent its TLS close. Some servers wait for the client's close before they reply, so
// the end of the data cannot wait for the connection's. The socket's own error says "closed" at
// that moment, but the time-out of any later wait overwrites it; the mark stays.
void watchPeerEnd(QTcpSocket& data);
// Whether `data` (watched as above) has been so marked.
bool peerEnded(const QTcpSocket& data);
// True while the server may still send on `data`: connected, and not marked as ended.
bool stillSending(const QTcpSocket& data);

// Turns TCP keep-alive on for a connected `socket`: the first probe after idleSecs without
// traffic, then one every intervalSecs.
void keepAlive(QTcpSocket& socket, int idleSecs, int intervalSecs);

}  // namespace vx::ftp
