// The temporary name, the retries with resume, the size check and the rename.
#include "ftp/whole_upload.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QThread>
#include <QTimer>

namespace vx {

QString partName(const QString& name) { return QLatin1Char('.') + name + QStringLiteral(".part"); }

bool worthRetrying(int code, const QString& serverReply) {
    switch (code) {
        case ftp::NotConnected:
        case ftp::CannotConnect:
        case ftp::HostNotFound:
        case ftp::TimedOut:
        case ftp::ConnectionLost:
        case ftp::DataConnectionFailed:
        case ftp::DataConnectionClosed:
        case ftp::OutOfStep:
        case ftp::NotAnFtpReply:
            return true;
        case ftp::ServerErrorReply:
            return serverReply.trimmed().startsWith(QLatin1Char('4'));
        default:
            return false;
    }
}

WholeUpload::WholeUpload(cFTP& ftp, Login login, RetryPolicy policy, std::function<void(const QString&)> note)
    : m_ftp(ftp), m_login(std::move(login)), m_policy(std::move(policy)), m_note(std::move(note)) {}

void WholeUpload::say(const QString& line) const {
    if (m_note) m_note(line.trimmed());
}

void WholeUpload::pause(int ms) const {
    if (m_policy.wait) return m_policy.wait(ms);
    if (!QCoreApplication::instance()) return QThread::msleep(static_cast<unsigned long>(ms));
    QEventLoop loop;  // the windows stay alive while the server gets its breath back
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool WholeUpload::run(const QString& sLocal, const QString& sRemote) {
    m_error.clear();
    m_tries = 1;
    const QString part = partName(sRemote);
    const qint64 size = QFileInfo(sLocal).size();
    if (!m_ftp.isConnected()) {  // nothing was lost: there never was a connection
        QString local = sLocal, remote = part;
        m_ftp.FTPUploadFile(local, remote);
        m_error = m_ftp.GetLastErrorMessage();
        return false;
    }
    m_folder = m_ftp.GetFTPDirectory();
    m_maxTries = m_folder.isEmpty() ? 1 : 1 + static_cast<int>(m_policy.waitsMs.size());
    say(QStringLiteral("Uploading %1 (%2 bytes) as %3.").arg(sRemote).arg(size).arg(part));
    for (;; ++m_tries) {
        Step step = Step::Retry;
        if (m_tries > 1) {
            const int ms = m_policy.waitsMs.at(m_tries - 2);
            say(QStringLiteral("Upload try %1 of %2 in %3 seconds: connecting again.")
                    .arg(m_tries).arg(m_maxTries).arg(ms / 1000.0));
            pause(ms);
            if (!reconnect()) step = failed();
        }
        if (step == Step::Retry) step = attempt(sLocal, part, sRemote, size);
        if (step == Step::Done) {
            m_error.clear();
            say(QStringLiteral("%1 is on the server whole (%2 bytes)%3.")
                    .arg(sRemote).arg(size)
                    .arg(m_tries > 1 ? QStringLiteral(" after %1 tries").arg(m_tries) : QString()));
            return true;
        }
        if (step == Step::Fail || m_tries >= m_maxTries) break;
    }
    cleanUp(part);
    say(QStringLiteral("Upload of %1 failed after %2 %3; nothing was stored under that name.")
            .arg(sRemote).arg(m_tries).arg(m_tries == 1 ? QStringLiteral("try") : QStringLiteral("tries")));
    return false;
}

WholeUpload::Step WholeUpload::attempt(const QString& sLocal, const QString& part, const QString& sRemote,
                                       qint64 size) {
    const qint64 offset = m_tries == 1 ? 0 : resumeOffset(part, size);
    if (offset < 0) return failed();
    // A copy that is already whole (the connection went before the server's last reply) is
    // only checked and renamed.
    if (m_tries == 1 || offset < size) {
        if (offset > 0) say(QStringLiteral("Continuing %1 at byte %2 of %3.").arg(part).arg(offset).arg(size));
        QString local = sLocal, remote = part;
        if (!m_ftp.FTPUploadFileFrom(local, remote, offset)) return failed();
    }
    const qint64 stored = m_ftp.ServerFileSize(part);
    if (stored == -2) return failed();
    if (stored >= 0 && stored != size)
        return failed(QStringLiteral("The server holds %1 bytes of %2, but %3 bytes were sent.")
                          .arg(stored).arg(part).arg(size));
    if (!m_ftp.RenameFTPFile(part, sRemote)) return failed();
    return Step::Done;
}

// Where the next try starts: the server's size of the copy, or 0 (all again) when the server
// cannot say or holds more than the file; -1 when asking failed.
qint64 WholeUpload::resumeOffset(const QString& part, qint64 size) {
    const qint64 n = m_ftp.ServerFileSize(part);
    if (n == -2 && !m_ftp.isConnected()) return -1;
    return n < 0 || n > size ? 0 : n;
}

bool WholeUpload::reconnect() {
    m_ftp.CloseConnection();
    return m_ftp.OpenConnection(m_login.server, m_login.user, m_login.password) &&
           m_ftp.SetFTPDirectory(m_folder);
}

WholeUpload::Step WholeUpload::failed(const QString& text) {
    // A copy of the wrong size is worth another go: the next try measures it again.
    const bool retry = !text.isEmpty() || worthRetrying(m_ftp.lastErrorCode(), m_ftp.GetLastErrorMessage());
    m_error = text.isEmpty() ? m_ftp.GetLastErrorMessage() : text;
    say(QStringLiteral("Upload try %1 of %2 failed: %3").arg(m_tries).arg(m_maxTries).arg(m_error.trimmed()));
    return retry ? Step::Retry : Step::Fail;
}

void WholeUpload::cleanUp(const QString& part) {
    if (!m_ftp.isConnected() && !m_folder.isEmpty()) reconnect();
    if (m_ftp.isConnected() && m_ftp.DeleteFTPFile(part))
        say(QStringLiteral("The partial copy %1 was removed.").arg(part));
}

}  // namespace vx
