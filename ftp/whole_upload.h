// An upload the recipient can trust: the file goes up under a temporary name beside its final
// one, a connection lost on the way is re-made and the transfer continues where the server's
// copy ends, the server's size of the copy is compared with the local size, and only then is
// the copy renamed to its final name. So a download link to the final name never fetches half a
// file, and a failed upload leaves nothing under that name.
#pragma once

#include <QList>
#include <QString>
#include <functional>

#include "ftp/cftp.h"

namespace vx {

// ".<name>.part": the name a file carries on the server until it has arrived whole.
QString partName(const QString& name);

// True for a failure that a new connection may cure: the control or data connection lost,
// timed out or not to be had, or a transient (4xx) reply of the server. Local file errors,
// permanent (5xx) replies and a refused log-in are not retried.
bool worthRetrying(int code, const QString& serverReply);

// Where a lost connection is made again: the same server and account. The folder is the remote
// folder the upload started in.
struct Login {
    QString server;
    QString user;
    QString password;
};

struct RetryPolicy {
    // The wait before each retry; as many retries as waits (three, growing).
    QList<int> waitsMs = {2000, 5000, 10000};
    // Waits that many milliseconds; empty: a wait that keeps the windows alive.
    std::function<void(int ms)> wait;
};

class WholeUpload {
public:
    // `note` receives one line per try and per outcome worth keeping in the log.
    WholeUpload(cFTP& ftp, Login login, RetryPolicy policy = {},
                std::function<void(const QString&)> note = {});

    // Uploads sLocal into the current remote folder of the open connection as sRemote: under
    // partName(sRemote) first, then checked and renamed. Retries as the policy says when the
    // connection is lost. True only when the file stands whole under sRemote. On failure the
    // partial copy is removed where the server allows it (reconnecting once if need be), and
    // nothing is under sRemote that this upload put there. Without an open connection at the
    // start it tries once, as a plain upload would, and fails with the client's text.
    bool run(const QString& sLocal, const QString& sRemote);

    // Why the upload failed: the client's last error text, or the size check's own.
    QString errorText() const { return m_error; }
    // Tries made by the last run (1 when the first went through).
    int tries() const { return m_tries; }

private:
    enum class Step { Done, Retry, Fail };
    Step attempt(const QString& sLocal, const QString& part, const QString& sRemote, qint64 size);
    bool reconnect();
    qint64 resumeOffset(const QString& part, qint64 size);
    Step failed(const QString& text = QString());
    void cleanUp(const QString& part);
    void say(const QString& line) const;
    void pause(int ms) const;

    cFTP& m_ftp;
    Login m_login;
    RetryPolicy m_policy;
    std::function<void(const QString&)> m_note;
    QString m_folder;
    QString m_error;
    int m_tries = 0;
    int m_maxTries = 1;
};

}  // namespace vx
