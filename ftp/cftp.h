// cFTP: the program's FTP client. One object holds one connection to the file server, the
// transfer type and connection mode of the next operations, the text of the last failure and
// the last remote listing. Every operation blocks; the chunked transfers yield to the event loop
// once per full 255-byte block and raise FileTransferProgress, and every transfer yields every
// few milliseconds while it waits on the network. Whatever is asked of the object from inside
// those yields while a transfer runs is refused (see isTransferRunning). Nothing throws: a
// failure returns false (or "", -1, -2, nullptr) and leaves its text in GetLastErrorMessage,
// except in the silent cases named below, which leave the previous text as it was.
#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

#include "ftp/cdir_list.h"
#include "ftp/ftp_client.h"

namespace vx {

class cFTP : public QObject {
    Q_OBJECT

public:
    static constexpr qint32 kTransferAscii = 1;
    static constexpr qint32 kTransferBinary = 2;
    static constexpr qint32 kModeActive = 0;
    static constexpr qint32 kModePassive = 0x08000000;
    static constexpr int kBlockSize = 255;

    explicit cFTP(QObject* parent = nullptr);
    ~cFTP() override;  // closes nothing on the server politely; the owner calls CloseConnection

    // The entries of the last listing; an empty list is created when there is none.
    cDirList& Directory();
    // The text of the last failure ("" on a fresh object). Either the operation name, " error
    // code: ", the code and " Message: " with the code's text, or, when the server answered
    // with an error reply, that reply alone.
    QString GetLastErrorMessage() const { return sLastError; }

    // Closes an open connection, then connects to sServer ("host" or "host:port", default port
    // 21, or 990 for implicit TLS) and logs in, in the mode chosen by SetModeActive /
    // SetModePassive and with the TLS of setTls. Failure records "InternetConnect"; while a
    // transfer runs it is refused that way and nothing changes.
    bool OpenConnection(const QString& sServer, const QString& sUser, const QString& sPassword);
    // Closes the connection, if any. Always safe: while a transfer runs (the call came from
    // inside one of its yields) nothing is closed and "CloseConnection" records Busy.
    void CloseConnection();

    // One-call transfers, without progress events: "SimpleFtpPutFile" / "SimpleFtpGetFile".
    bool SimpleFTPPutFile(const QString& sLocal, const QString& sRemote);
    bool SimpleFTPGetFile(const QString& sLocal, const QString& sRemote);
    bool RenameFTPFile(const QString& sExisting, const QString& sNewName);  // "RenameFTPFile"
    bool CreateFTPDirectory(const QString& sDirectory);                     // "CreateFTPDirectory"
    bool RemoveFTPDirectory(const QString& sDirectory);                     // "RemoveFTPDirectory"
    bool DeleteFTPFile(const QString& sRemote);                             // "DeleteFTPFile"

    // Chunked upload of sLocal to sRemote in 255-byte blocks. Both paths lose their leading and
    // trailing spaces in place; an empty path returns false silently. After each full block:
    // one yield, then FileTransferProgress(bytes so far, total); at the end (total, total).
    // Failures record "OpenLocalFile", "FtpOpenFile:PutFile", "ReadLocalFile",
    // "InternetWriteFile", "InternetWriteFile2" or "InternetCloseHandle" (the server did not
    // confirm the stored file); the remote file is then closed and may be partial.
    bool FTPUploadFile(QString& sLocal, QString& sRemote);
    // Chunked download of sRemote into sLocal (created or replaced), like the upload. Silent
    // false for empty paths and for a remote size of 0 or less (no local file is made); a
    // remote file of 2 GiB or more is refused with "FtpOpenFile:GetFile".
    // Failures record "FtpOpenFile:GetFile", "OpenLocalFile", "InternetReadFile",
    // "InternetReadFile2" or "WriteLocalFile"; the local file may then be partial.
    bool FTPDownloadFile(QString& sLocal, QString& sRemote);

    // The current remote folder, or "" after recording "FtpGetCurrentDirectory".
    QString GetFTPDirectory();
    // Changes the remote folder; on failure ("FtpSetCurrentDirectory") the folder stays.
    bool SetFTPDirectory(const QString& sDir);
    // Size (low 32 bits, signed) of the first entry matching sFile with each blank replaced by
    // '?'. -1 silently when nothing matches; -2 after recording "FtpFindFirstFile".
    qint32 GetFTPFileSize(const QString& sFile);
    // Lists the current folder's entries matching sFilter ("*.*" for all) into a new list and
    // returns it; nullptr when nothing matches (silent) or on failure ("FtpFindFirstFile",
    // "InternetFindNextFile").
    cDirList* GetDirectoryListing(const QString& sFilter);

    void SetTransferASCII() { lTransferType = kTransferAscii; }
    void SetTransferBinary() { lTransferType = kTransferBinary; }
    // The mode applies from the next OpenConnection on.
    void SetModeActive() { lConnectFlags = kModeActive; }
    void SetModePassive() { lConnectFlags = kModePassive; }

    // Platform additions: time-outs for the next connection, and read-only views of the state.
    void setTimeouts(const ftp::Timeouts& t) { m_timeouts = t; }
    // TLS of the next connection (ftp/ftp_tls.h); the plain dialogue until set.
    void setTls(ftp::TlsOptions tls) { m_tls = std::move(tls); }
    const ftp::TlsOptions& tls() const { return m_tls; }
    bool isEncrypted() const { return hConnection && hConnection->isEncrypted(); }
    // After a connection that went on in plain because the server refused "AUTH TLS" (mode
    // auto): the server's answer; empty otherwise.
    QString tlsRefusal() const { return m_tlsRefusal; }
    // The certificate that did not verify when the last OpenConnection failed on it.
    const std::optional<net::UnverifiedCertificate>& unverifiedCertificate() const { return m_unverified; }
    // True when the last OpenConnection failed on TLS: refused, failed, or a certificate.
    bool failedOnTls() const { return m_tlsFailure; }
    qint32 transferType() const { return lTransferType; }
    qint32 connectFlags() const { return lConnectFlags; }
    bool isConnected() const { return hConnection && hConnection->isOpen(); }
    bool isFileOpen() const { return hFile != nullptr; }
    // True from the start to the end of a transfer call, and while the connection waits.
    bool isTransferRunning() const {
        return m_running > 0 || (hConnection && hConnection->isWaiting());
    }

signals:
    void FileTransferProgress(qint32 lCurrentBytes, qint32 lTotalBytes);

private:
    struct Internet {
        QString agent;
        ftp::Timeouts timeouts;
    };

    void RecordError(int lErrorCode, const QString& sOperation, const QString& sDetail = QString());
    double FileTimeToDate(qint64 fileTime) const;
    int lastCode() const;
    bool failTransfer(int code, const QString& sOperation, const QString& sDetail = QString());
    // The full size behind GetFTPFileSize; nothing with m_sizeResult -1 (no match) or -2.
    std::optional<qint64> remoteSize(const QString& sFile);
    // Counts a transfer call for isTransferRunning while it lives.
    class Running {
    public:
        explicit Running(cFTP& f) : m_f(f) { ++m_f.m_running; }
        ~Running() { --m_f.m_running; }
        Running(const Running&) = delete;
        Running& operator=(const Running&) = delete;

    private:
        cFTP& m_f;
    };

    std::unique_ptr<Internet> hInternet;
    std::unique_ptr<ftp::FtpClient> hConnection;
    std::unique_ptr<ftp::RemoteFile> hFile;
    qint32 lTransferType = kTransferAscii;
    qint32 lConnectFlags = kModeActive;
    QString sLastError;
    std::unique_ptr<cDirList> oDirList;
    ftp::Timeouts m_timeouts;
    ftp::TlsOptions m_tls;
    QString m_tlsRefusal;
    bool m_tlsFailure = false;
    std::optional<net::UnverifiedCertificate> m_unverified;
    qint32 m_sizeResult = -2;
    int m_running = 0;
};

}  // namespace vx
