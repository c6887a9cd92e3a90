// vexaro-ftp: runs FTP commands from the command line through cFTP, the same client the upload
// window uses, so scripts see the same transfers, listing columns and error texts.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QTextStream>
#include <cstdio>
#include <unistd.h>

#include "core/memory_reuse.h"
#include "core/printable.h"
#include "ftp/cftp.h"
#include "ftp/cli/cli_options.h"
#include "ftp/listing_rows.h"
#include "ftp/whole_upload.h"

namespace {

using vx::cFTP;
using vx::cli::FtpCommand;
using vx::cli::FtpOptions;

QTextStream& out() {
    static QTextStream s(stdout);
    return s;
}

// Prints an error; its text may hold the server's words, so each line is made printable.
void err(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) line = vx::printable(line);
    const QString message = QStringLiteral("vexaro-ftp: ") + lines.join(QLatin1Char('\n'));
    std::fputs(qPrintable(message + QLatin1Char('\n')), stderr);
}

// A one-line bar on the terminal; events come every 255 bytes, so the clock is read only on
// every 256th event.
class ProgressBar {
public:
    ProgressBar(cFTP& ftp, bool enabled) {
        if (!enabled) return;
        QObject::connect(&ftp, &cFTP::FileTransferProgress, &ftp,
                         [this, &ftp](qint32 cur, qint32 total) {
                             onProgress(cur * ftp.progressUnit(), total * ftp.progressUnit());
                         });
    }
    void start(const QString& label) {
        m_label = label;
        m_clock.start();
        m_lastDraw = -1000;
        m_events = 0;
        m_drawn = false;
    }
    void finish() {
        if (m_drawn) std::fputs("\n", stderr);
        m_drawn = false;
    }

private:
    void onProgress(qint64 cur, qint64 total) {
        if ((++m_events & 0xff) != 0 && cur != total) return;
        const qint64 now = m_clock.elapsed();
        if (now - m_lastDraw < 100 && cur != total) return;
        m_lastDraw = now;
        const int width = 30;
        const double f = total > 0 ? qBound(0.0, double(cur) / total, 1.0) : 1.0;
        const int filled = int(f * width);
        const double mbps = now > 0 ? cur / 1e3 / now : 0.0;
        std::fprintf(stderr, "\r%-20.20s [%s%s] %3d%% %9.1f MiB %8.1f MB/s", qPrintable(m_label),
                     QByteArray(filled, '#').constData(), QByteArray(width - filled, ' ').constData(),
                     int(f * 100), cur / 1048576.0, mbps);
        std::fflush(stderr);
        m_drawn = true;
    }

    QString m_label;
    QElapsedTimer m_clock;
    qint64 m_lastDraw = 0;
    quint32 m_events = 0;
    bool m_drawn = false;
};

// Prints the rows of the current folder; false when the listing failed (an empty folder is
// no failure: it prints the header alone).
bool printListing(cFTP& ftp) {
    const QString before = ftp.GetLastErrorMessage();
    if (!ftp.GetDirectoryListing(QStringLiteral("*.*")) && ftp.GetLastErrorMessage() != before)
        return false;
    const auto rows = vx::listingRows(ftp.Directory());
    const QStringList header = {"Name", "Size", "Last Accessed", "Attributes"};
    QList<QStringList> table = {header};
    for (const auto& row : rows) {
        if (row.text == QLatin1String("..")) continue;
        QStringList cells = {vx::printable(row.text)};  // a name chosen by the server
        cells += row.subItems;
        while (cells.size() < 4) cells << QString();
        table << cells;
    }
    int w[4] = {0, 0, 0, 0};
    for (const auto& r : table)
        for (int c = 0; c < 4; ++c) w[c] = qMax(w[c], int(r[c].size()));
    for (const auto& r : table) {
        QString line = r[0].leftJustified(w[0]) + "  " + r[1].rightJustified(w[1]) + "  " +
                       r[2].leftJustified(w[2]) + "  " + r[3];
        out() << line.trimmed() << '\n';
    }
    out().flush();
    return true;
}

class Runner {
public:
    Runner(cFTP& ftp, const FtpOptions& o) : m_ftp(ftp), m_o(o), m_bar(ftp, !o.quiet && isatty(2)) {}

    // Runs one command; prints its error and returns false when it fails.
    bool run(const FtpCommand& c) {
        const QString before = m_ftp.GetLastErrorMessage();
        m_silent.clear();
        const bool ok = dispatch(c);
        if (!ok) {
            QString why = m_ftp.GetLastErrorMessage();
            if (!m_silent.isEmpty() || why == before) why = m_silent.isEmpty() ? QStringLiteral("failed") : m_silent;
            err(c.name + ": " + why);
        }
        return ok;
    }

private:
    bool dispatch(const FtpCommand& c) {
        const QStringList& a = c.args;
        if (c.name == "pwd") {
            const QString dir = m_ftp.GetFTPDirectory();
            if (dir.isEmpty()) return false;
            out() << vx::printable(dir) << '\n';
            out().flush();
            return true;
        }
        if (c.name == "cd") return m_ftp.SetFTPDirectory(a[0]);
        if (c.name == "ls") return printListing(m_ftp);
        if (c.name == "size") {
            const qint64 n = m_ftp.GetFTPFileSize(a[0]);
            if (n == -1) m_silent = a[0] + ": no such remote file";
            if (n < 0) return false;
            out() << n << '\n';
            out().flush();
            return true;
        }
        if (c.name == "mkdir") return m_ftp.CreateFTPDirectory(a[0]);
        if (c.name == "rmdir") return m_ftp.RemoveFTPDirectory(a[0]);
        if (c.name == "rm") return m_ftp.DeleteFTPFile(a[0]);
        if (c.name == "rename") return m_ftp.RenameFTPFile(a[0], a[1]);
        if (c.name == "put") return put(a[0], a[1]);
        if (c.name == "get") return get(a[0], a[1]);
        return false;
    }

    bool put(QString local, QString remote) {
        if (remote.trimmed() == ".") remote = QFileInfo(local.trimmed()).fileName();
        if (local.trimmed().isEmpty() || remote.trimmed().isEmpty()) {
            m_silent = QStringLiteral("empty file name");
            return false;
        }
        QElapsedTimer t;
        t.start();
        m_bar.start(remote);
        const bool ok = m_o.resume ? resumable(local, remote) : m_ftp.FTPUploadFile(local, remote);
        m_bar.finish();
        if (ok) summary("uploaded", QFileInfo(local).size(), remote, t.elapsed());
        return ok;
    }

    // put --resume: each try and outcome is a line on standard error (unless quiet).
    bool resumable(const QString& local, const QString& remote) {
        vx::RetryPolicy policy;
        const int first = int(m_o.retryWaitSeconds * 1000);
        policy.waitsMs = {first, first * 2, first * 4};
        vx::WholeUpload upload(m_ftp, {m_o.server, m_o.user, m_o.password}, policy, [this](const QString& line) {
            if (m_o.quiet) return;
            m_bar.finish();
            std::fprintf(stderr, "%s\n", qPrintable(vx::printable(line)));
        });
        if (upload.run(local.trimmed(), remote.trimmed())) return true;
        m_silent = upload.errorText().trimmed();
        if (m_silent.isEmpty()) m_silent = QStringLiteral("failed");
        return false;
    }

    bool get(QString remote, QString local) {
        const auto target = vx::cli::getTarget(remote, local);
        if (!target) {
            m_silent = remote + QStringLiteral(": not usable as a local file name");
            return false;
        }
        local = *target;
        if (local.trimmed().isEmpty() || remote.trimmed().isEmpty()) {
            m_silent = QStringLiteral("empty file name");
            return false;
        }
        QElapsedTimer t;
        t.start();
        m_bar.start(remote);
        const bool ok = m_ftp.FTPDownloadFile(local, remote);
        m_bar.finish();
        if (ok) {
            summary("downloaded", QFileInfo(local).size(), local, t.elapsed());
            return true;
        }
        return explainSilentDownload(remote, local);
    }

    // The download declines silently for a missing or empty remote file; say which, and make
    // the empty file locally, as a person would expect of "get".
    bool explainSilentDownload(const QString& remote, const QString& local) {
        const QString before = m_ftp.GetLastErrorMessage();
        const qint64 n = m_ftp.GetFTPFileSize(remote);
        if (m_ftp.GetLastErrorMessage() != before) return false;
        if (n == -1) {
            m_silent = remote + ": no such remote file";
            return false;
        }
        if (n == 0) {
            QFile f(local);
            if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
                m_silent = local + ": " + f.errorString();
                return false;
            }
            summary("downloaded", 0, local, 0);
            return true;
        }
        return false;
    }

    void summary(const char* verb, qint64 bytes, const QString& name, qint64 ms) {
        if (m_o.quiet) return;
        const double mbps = ms > 0 ? bytes / 1e3 / ms : 0.0;
        std::fprintf(stderr, "%s %lld bytes %s %s in %.2f s (%.1f MB/s)\n", verb,
                     static_cast<long long>(bytes), verb[0] == 'u' ? "to" : "into", qPrintable(name),
                     ms / 1000.0, mbps);
    }

    cFTP& m_ftp;
    const FtpOptions& m_o;
    ProgressBar m_bar;
    QString m_silent;
};

}  // namespace

int main(int argc, char** argv) {
    vx::keepFreedMemoryForReuse();
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    const auto parsed = vx::cli::parseArguments(
        args,
        [](const QString& name) -> std::optional<QString> {
            if (!qEnvironmentVariableIsSet(qPrintable(name))) return std::nullopt;
            return qEnvironmentVariable(qPrintable(name));
        },
        [](const QString& path) -> std::optional<QByteArray> {
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
            return f.read(64 * 1024);
        });
    if (!parsed.options) {
        err(parsed.error + " (try --help)");
        return 2;
    }
    const FtpOptions& o = *parsed.options;
    if (o.help) {
        out() << vx::cli::usageText();
        return 0;
    }
    if (o.verbose) QLoggingCategory::setFilterRules(QStringLiteral("vexaro.ftp.debug=true"));

    cFTP ftp;
    const int ms = o.timeoutSeconds * 1000;
    ftp.setTimeouts({ms, ms, ms, qMax(ms, 120000)});  // a whole listing may take longer
    if (o.passive) ftp.SetModePassive(); else ftp.SetModeActive();
    if (o.ascii) ftp.SetTransferASCII(); else ftp.SetTransferBinary();
    vx::ftp::TlsOptions tls;
    tls.mode = o.tls;
    QString caError;
    if (!tls.trust.addCaFile(o.caFile, &caError)) {
        err(caError);
        return 1;
    }
    tls.trust.setPins(o.pins.join(QLatin1Char(' ')));
    ftp.setTls(std::move(tls));
    if (!ftp.OpenConnection(o.server, o.user, o.password)) {
        err(QStringLiteral("cannot connect to %1: %2").arg(o.server, ftp.GetLastErrorMessage()));
        return 1;
    }
    if (!ftp.tlsRefusal().isEmpty())  // said even with --quiet: the password went in the clear
        err(QStringLiteral("the session with %1 is not encrypted: the server answered AUTH TLS "
                           "with \"%2\"").arg(o.server, ftp.tlsRefusal()));
    Runner runner(ftp, o);
    int status = 0;
    for (const auto& c : o.commands) {
        if (!runner.run(c)) {
            status = 1;
            break;
        }
    }
    ftp.CloseConnection();
    return status;
}
