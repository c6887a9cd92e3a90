// cFTP on top of the FTP layer. The 255-byte blocks, the yield and the event after each full
// block are the design; the layer below gathers the blocks into large socket writes and serves
// reads from a large buffer, so a block costs a copy, a clock read and a signal.
#include "ftp/cftp.h"

#include <QFile>
#include <QFileInfo>

#include "core/output_file.h"
#include "core/yield.h"
#include "ftp/ftp_parse.h"
#include "ftp/listing_rows.h"
#include "ftp/server_address.h"

namespace vx {
namespace {

const char kAgent[] = "Mirelo FTP Client";
constexpr qint64 kSimpleChunk = 256 * 1024;

// Leading and trailing spaces only, as the design's trim does (tabs stay).
void trimSpaces(QString& s) {
    qsizetype a = 0, b = s.size();
    while (a < b && s.at(a) == QLatin1Char(' ')) ++a;
    while (b > a && s.at(b - 1) == QLatin1Char(' ')) --b;
    if (a != 0 || b != s.size()) s = s.mid(a, b - a);
}

// What a TLS failure adds to its message: the server's refusal, the handshake's error, or the
// certificate with its fingerprint, for the user to pin.
QString tlsDetail(int code, const ftp::FtpClient& c) {
    switch (code) {
        case ftp::TlsRefused: return c.lastResponse();
        case ftp::TlsFailed: return c.tlsError();
        case ftp::UntrustedCertificate:
            return c.unverifiedCertificate() ? net::refusalText(*c.unverifiedCertificate(), QStringLiteral("FtpTlsPin"))
                                             : QString();
        default: return QString();
    }
}

QString localProblem(const QString& path, const QString& why) {
    return QStringLiteral("%1: %2").arg(path, why);
}

QString readProblem(const QFile& f) {
    return f.error() == QFileDevice::NoError ? QStringLiteral("the file ended early (changed meanwhile?)")
                                             : f.errorString();
}

// Opens a local file for reading, refusing folders (which open but cannot be read).
bool openForReading(QFile& f, QString* why) {
    if (QFileInfo(f.fileName()).isDir()) {
        *why = QStringLiteral("is a folder");
        return false;
    }
    if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        *why = f.errorString();
        return false;
    }
    return true;
}

// The local side of a chunked transfer: the file is written a megabyte at a time, and read
// 64 KiB at a time (a piece that stays in the processor's cache on its way to the socket), and
// the 255-byte blocks are gathered in, or served from, that buffer.
constexpr qint64 kLocalChunk = 1024 * 1024;
constexpr qint64 kReadChunk = 64 * 1024;

class LocalReader {
public:
    explicit LocalReader(QFile& file) : m_file(file) {}
    // The next n bytes (n <= kReadChunk), or nullptr when the file ends sooner or fails.
    const char* next(qint64 n) {
        if (m_buf.size() - m_pos < n) {
            m_buf.remove(0, m_pos);
            m_pos = 0;
            const qint64 have = m_buf.size();
            m_buf.resize(have + kReadChunk);
            const qint64 got = m_file.read(m_buf.data() + have, kReadChunk);
            m_buf.resize(have + qMax<qint64>(0, got));
            if (m_buf.size() < n) return nullptr;
        }
        const char* p = m_buf.constData() + m_pos;
        m_pos += n;
        return p;
    }

private:
    QFile& m_file;
    QByteArray m_buf;
    qint64 m_pos = 0;
};

class LocalWriter {
public:
    explicit LocalWriter(OutputFile& file) : m_file(file) { m_buf.reserve(kLocalChunk + 256); }
    bool write(const char* p, qint64 n) {
        m_buf.append(p, n);
        return m_buf.size() < kLocalChunk || flush();
    }
    bool flush() {
        if (m_buf.isEmpty()) return true;
        m_status = m_file.write(m_buf.constData(), m_buf.size());
        m_buf.resize(0);
        return m_status.isOk();
    }
    QString error() const { return m_status.message(); }

private:
    OutputFile& m_file;
    QByteArray m_buf;
    Status m_status = Status::ok();
};

// The local side of a download: a temporary file beside the local one, which takes its name only
// once all bytes have come, so that a download that fails or is stopped leaves a file of that
// name as it was.
Status openDownload(OutputFile& out, const QString& path) {
    if (QFileInfo(path).isDir())
        return Status::error(localProblem(path, QStringLiteral("is a folder")));
    if (Status s = out.open(); !s) return Status::error(localProblem(path, s.message()));
    return Status::ok();
}

}  // namespace

cFTP::cFTP(QObject* parent) : QObject(parent) {}

cFTP::~cFTP() = default;

cDirList& cFTP::Directory() {
    if (!oDirList) oDirList = std::make_unique<cDirList>();
    return *oDirList;
}

int cFTP::lastCode() const {
    if (!hConnection) return ftp::NotConnected;
    const int code = hConnection->lastError();
    return code == ftp::NoError ? ftp::NotConnected : code;
}

void cFTP::RecordError(int lErrorCode, const QString& sOperation, const QString& sDetail) {
    m_lastCode = lErrorCode;
    if (lErrorCode == ftp::ServerErrorReply && hConnection) {
        sLastError = hConnection->lastResponse();
        return;
    }
    QString message = ftp::errorMessage(lErrorCode);
    QString detail = sDetail;
    if (detail.isEmpty() && hConnection) detail = tlsDetail(lErrorCode, *hConnection);
    if (!detail.isEmpty()) message += QLatin1Char(' ') + detail;
    sLastError = sOperation + QStringLiteral(" error code: ") + QString::number(lErrorCode) +
                 QStringLiteral(" Message: ") + message;
}

double cFTP::FileTimeToDate(qint64 fileTime) const { return fileTimeToDate(fileTime); }

bool cFTP::OpenConnection(const QString& sServer, const QString& sUser, const QString& sPassword) {
    if (isTransferRunning()) {  // the transfer up the stack still needs this connection
        RecordError(ftp::Busy, QStringLiteral("InternetConnect"));
        return false;
    }
    if (hConnection) {
        hConnection->close();
        hConnection.reset();
    }
    // The machine counts as online: there is no dial-up step on this platform.
    hInternet = std::make_unique<Internet>(Internet{QString::fromLatin1(kAgent), m_timeouts});
    auto connection = std::make_unique<ftp::FtpClient>(hInternet->timeouts);
    connection->setTls(m_tls);
    m_tlsRefusal.clear();
    m_unverified.reset();
    m_tlsFailure = false;
    const auto address = net::parseServerAddress(
        sServer, m_tls.mode == ftp::TlsMode::Implicit ? ftp::kImplicitTlsPort : ftp::kFtpPort);
    const bool passive = lConnectFlags == kModePassive;
    if (address && connection->open(address->host, address->port, sUser, sPassword, passive)) {
        m_tlsRefusal = connection->tlsRefusal();
        hConnection = std::move(connection);
        return true;
    }
    m_unverified = connection->unverifiedCertificate();
    const int code = connection->lastError();
    m_tlsFailure = code == ftp::TlsRefused || code == ftp::TlsFailed || code == ftp::UntrustedCertificate;
    hConnection = std::move(connection);
    RecordError(address ? lastCode() : ftp::InvalidAddress, QStringLiteral("InternetConnect"));
    hConnection.reset();
    return false;
}

void cFTP::CloseConnection() {
    if (isTransferRunning()) {
        RecordError(ftp::Busy, QStringLiteral("CloseConnection"));
        return;
    }
    hFile.reset();
    if (hConnection) hConnection->close();
    hConnection.reset();
    hInternet.reset();
}

bool cFTP::failTransfer(int code, const QString& sOperation, const QString& sDetail) {
    RecordError(code, sOperation, sDetail);
    if (hFile) hFile->abort();
    hFile.reset();
    return false;
}

bool cFTP::stopNow(const QString& sOperation) {
    m_stopAsked = false;
    failTransfer(ftp::Stopped, sOperation);
    if (hConnection) hConnection->close();
    hConnection.reset();
    return false;
}

bool cFTP::FTPUploadFileFrom(QString& sLocal, QString& sRemote, qint64 lOffset) {
    const Running running(*this);
    trimSpaces(sLocal);
    trimSpaces(sRemote);
    if (sLocal.isEmpty() || sRemote.isEmpty()) return false;
    if (hFile) {  // another transfer is running (this call came from inside its yield)
        RecordError(ftp::Busy, QStringLiteral("FtpOpenFile:PutFile"));
        return false;
    }
    m_stopAsked = false;
    // The local file is opened first so that a missing one does not replace the remote file.
    QFile local(sLocal);
    QString why;
    if (!openForReading(local, &why)) {
        RecordError(ftp::LocalFileError, QStringLiteral("OpenLocalFile"), localProblem(sLocal, why));
        return false;
    }
    const qint64 lTotalBytes = local.size();
    if (lOffset < 0 || lOffset > lTotalBytes || !local.seek(lOffset)) {
        RecordError(ftp::LocalFileError, QStringLiteral("OpenLocalFile"),
                    localProblem(sLocal, QStringLiteral("cannot continue at byte %1").arg(lOffset)));
        return false;
    }
    const auto type = lTransferType == kTransferBinary ? ftp::TransferType::Binary : ftp::TransferType::Ascii;
    if (hConnection) hFile = hConnection->openFile(sRemote, ftp::Access::Write, type, lOffset);
    if (!hFile) {
        RecordError(lastCode(), QStringLiteral("FtpOpenFile:PutFile"));
        return false;
    }
    const int shift = progressShift(lTotalBytes);
    m_progressUnit = qint64(1) << shift;
    const qint32 lTotalUnits = scaledProgress(lTotalBytes, lTotalBytes).total;
    qint64 lCurrentBytes = lOffset;
    LocalReader reader(local);
    const qint64 blocks = (lTotalBytes - lOffset) / kBlockSize;
    for (qint64 i = 0; i < blocks; ++i) {
        const char* block = reader.next(kBlockSize);
        if (!block)
            return failTransfer(ftp::LocalFileError, QStringLiteral("ReadLocalFile"),
                                localProblem(sLocal, readProblem(local)));
        if (!hFile || !hFile->write(block, kBlockSize))
            return failTransfer(lastCode(), QStringLiteral("InternetWriteFile"));
        yieldToEvents();
        lCurrentBytes += kBlockSize;
        emit FileTransferProgress(static_cast<qint32>(lCurrentBytes >> shift), lTotalUnits);
        if (m_stopAsked) return stopNow(QStringLiteral("InternetWriteFile"));
    }
    const qint32 rest = static_cast<qint32>((lTotalBytes - lOffset) % kBlockSize);
    if (rest != 0) {
        const char* block = reader.next(rest);
        if (!block)
            return failTransfer(ftp::LocalFileError, QStringLiteral("ReadLocalFile"),
                                localProblem(sLocal, readProblem(local)));
        if (!hFile || !hFile->write(block, rest))
            return failTransfer(lastCode(), QStringLiteral("InternetWriteFile2"));
    }
    local.close();
    emit FileTransferProgress(lTotalUnits, lTotalUnits);
    if (!hFile) return failTransfer(ftp::NotConnected, QStringLiteral("InternetCloseHandle"));
    const bool stored = hFile->close();
    if (!stored) RecordError(lastCode(), QStringLiteral("InternetCloseHandle"));
    hFile.reset();
    return stored;
}

bool cFTP::FTPDownloadFile(QString& sLocal, QString& sRemote) {
    const Running running(*this);
    trimSpaces(sLocal);
    trimSpaces(sRemote);
    if (sLocal.isEmpty() || sRemote.isEmpty()) return false;
    if (hFile) {
        RecordError(ftp::Busy, QStringLiteral("FtpOpenFile:GetFile"));
        return false;
    }
    m_stopAsked = false;
    const auto size = remoteSize(sRemote);
    const qint64 lTotalBytes = size ? *size : m_sizeResult;
    if (lTotalBytes <= 0) return false;
    const auto type = lTransferType == kTransferBinary ? ftp::TransferType::Binary : ftp::TransferType::Ascii;
    if (hConnection) hFile = hConnection->openFile(sRemote, ftp::Access::Read, type);
    if (!hFile) {
        RecordError(lastCode(), QStringLiteral("FtpOpenFile:GetFile"));
        return false;
    }
    OutputFile local(sLocal, false);
    if (Status s = openDownload(local, sLocal); !s)
        return failTransfer(ftp::LocalFileError, QStringLiteral("OpenLocalFile"), s.message());
    const int shift = progressShift(lTotalBytes);
    m_progressUnit = qint64(1) << shift;
    const qint32 lTotalUnits = scaledProgress(lTotalBytes, lTotalBytes).total;
    qint64 lCurrentBytes = 0;
    char block[kBlockSize];
    LocalWriter writer(local);
    for (qint64 i = 0; i < lTotalBytes / kBlockSize; ++i) {
        if (!hFile || !hFile->read(block, kBlockSize))
            return failTransfer(lastCode(), QStringLiteral("InternetReadFile"));
        if (!writer.write(block, kBlockSize))
            return failTransfer(ftp::LocalFileError, QStringLiteral("WriteLocalFile"),
                                writer.error());
        yieldToEvents();
        lCurrentBytes += kBlockSize;
        emit FileTransferProgress(static_cast<qint32>(lCurrentBytes >> shift), lTotalUnits);
        if (m_stopAsked) return stopNow(QStringLiteral("InternetReadFile"));
    }
    const qint32 rest = static_cast<qint32>(lTotalBytes % kBlockSize);
    if (rest != 0) {
        if (!hFile || !hFile->read(block, rest))
            return failTransfer(lastCode(), QStringLiteral("InternetReadFile2"));
        if (!writer.write(block, rest))
            return failTransfer(ftp::LocalFileError, QStringLiteral("WriteLocalFile"),
                                writer.error());
    }
    if (!writer.flush())
        return failTransfer(ftp::LocalFileError, QStringLiteral("WriteLocalFile"), writer.error());
    if (Status s = local.commit(OutputFile::modeFor(sLocal)); !s)
        return failTransfer(ftp::LocalFileError, QStringLiteral("WriteLocalFile"), s.message());
    emit FileTransferProgress(lTotalUnits, lTotalUnits);
    // All promised bytes are here; the server's closing reply cannot change the file.
    if (hFile) (void)hFile->close();
    hFile.reset();
    return true;
}

bool cFTP::SimpleFTPPutFile(const QString& sLocal, const QString& sRemote) {
    const Running running(*this);
    const QString op = QStringLiteral("SimpleFtpPutFile");
    if (hFile) {
        RecordError(ftp::Busy, op);
        return false;
    }
    QFile local(sLocal);
    QString why;
    if (!openForReading(local, &why)) {
        RecordError(ftp::LocalFileError, op, localProblem(sLocal, why));
        return false;
    }
    const auto type = lTransferType == kTransferBinary ? ftp::TransferType::Binary : ftp::TransferType::Ascii;
    std::unique_ptr<ftp::RemoteFile> remote;
    if (hConnection) remote = hConnection->openFile(sRemote, ftp::Access::Write, type);
    if (!remote) {
        RecordError(lastCode(), op);
        return false;
    }
    QByteArray chunk;
    while (!(chunk = local.read(kSimpleChunk)).isEmpty()) {
        if (!remote->write(chunk.constData(), chunk.size())) {
            RecordError(lastCode(), op);
            return false;  // the remote file's destructor cuts the transfer
        }
    }
    if (local.error() != QFileDevice::NoError) {
        RecordError(ftp::LocalFileError, op, localProblem(sLocal, local.errorString()));
        return false;
    }
    if (!remote->close()) {
        RecordError(lastCode(), op);
        return false;
    }
    return true;
}

bool cFTP::SimpleFTPGetFile(const QString& sLocal, const QString& sRemote) {
    const Running running(*this);
    const QString op = QStringLiteral("SimpleFtpGetFile");
    if (hFile) {
        RecordError(ftp::Busy, op);
        return false;
    }
    const auto type = lTransferType == kTransferBinary ? ftp::TransferType::Binary : ftp::TransferType::Ascii;
    std::unique_ptr<ftp::RemoteFile> remote;
    if (hConnection) remote = hConnection->openFile(sRemote, ftp::Access::Read, type);
    if (!remote) {
        RecordError(lastCode(), op);
        return false;
    }
    OutputFile local(sLocal, false);
    if (Status s = openDownload(local, sLocal); !s) {
        RecordError(ftp::LocalFileError, op, s.message());
        remote->abort();
        return false;
    }
    std::vector<char> buf(kSimpleChunk);
    for (;;) {
        const qint64 got = remote->readSome(buf.data(), kSimpleChunk);
        if (got < 0) {
            RecordError(lastCode(), op);
            remote->abort();
            return false;
        }
        if (got == 0) break;
        if (Status s = local.write(buf.data(), got); !s) {
            RecordError(ftp::LocalFileError, op, s.message());
            remote->abort();
            return false;
        }
    }
    if (!remote->close()) {
        RecordError(lastCode(), op);
        return false;
    }
    if (Status s = local.commit(OutputFile::modeFor(sLocal)); !s) {
        RecordError(ftp::LocalFileError, op, s.message());
        return false;
    }
    return true;
}

bool cFTP::RenameFTPFile(const QString& sExisting, const QString& sNewName) {
    if (hConnection && hConnection->rename(sExisting, sNewName)) return true;
    RecordError(lastCode(), QStringLiteral("RenameFTPFile"));
    return false;
}

bool cFTP::CreateFTPDirectory(const QString& sDirectory) {
    if (hConnection && hConnection->makeDirectory(sDirectory)) return true;
    RecordError(lastCode(), QStringLiteral("CreateFTPDirectory"));
    return false;
}

bool cFTP::RemoveFTPDirectory(const QString& sDirectory) {
    if (hConnection && hConnection->removeDirectory(sDirectory)) return true;
    RecordError(lastCode(), QStringLiteral("RemoveFTPDirectory"));
    return false;
}

bool cFTP::DeleteFTPFile(const QString& sRemote) {
    if (hConnection && hConnection->deleteFile(sRemote)) return true;
    RecordError(lastCode(), QStringLiteral("DeleteFTPFile"));
    return false;
}

QString cFTP::GetFTPDirectory() {
    if (hConnection) {
        if (const auto dir = hConnection->currentDirectory()) return dir->left(1023);
    }
    RecordError(lastCode(), QStringLiteral("FtpGetCurrentDirectory"));
    return QString();
}

bool cFTP::SetFTPDirectory(const QString& sDir) {
    if (hConnection && hConnection->changeDirectory(sDir)) return true;
    RecordError(lastCode(), QStringLiteral("FtpSetCurrentDirectory"));
    return false;
}

qint64 cFTP::GetFTPFileSize(const QString& sFile) {
    const auto size = remoteSize(sFile);
    return size ? *size : m_sizeResult;
}

qint64 cFTP::ServerFileSize(const QString& sFile) {
    if (hConnection) {
        if (const auto size = hConnection->size(sFile)) return *size;
        const QString reply = hConnection->lastResponse();
        if (hConnection->isOpen() && hConnection->lastError() == ftp::ServerErrorReply &&
            (reply.startsWith(QLatin1String("500")) || reply.startsWith(QLatin1String("502"))))
            return -1;
    }
    RecordError(lastCode(), QStringLiteral("FtpFileSize"));
    return -2;
}

std::optional<qint64> cFTP::remoteSize(const QString& sFile) {
    QString pattern = sFile;
    pattern.replace(QLatin1Char(' '), QLatin1Char('?'));
    m_sizeResult = -2;
    if (!hConnection) {
        RecordError(ftp::NotConnected, QStringLiteral("FtpFindFirstFile"));
        return std::nullopt;
    }
    // A plain name is asked for directly; the listing search remains the fall-back for folders,
    // servers without SIZE, and patterns.
    if (!ftp::hasWildcards(pattern)) {
        if (const auto size = hConnection->size(pattern)) return size;
        if (!hConnection->isOpen()) {
            RecordError(lastCode(), QStringLiteral("FtpFindFirstFile"));
            return std::nullopt;
        }
    }
    ftp::FindData first;
    if (hConnection->findFirst(pattern, first)) return first.size;
    const int code = lastCode();
    if (code == ftp::NoMoreFiles) {
        m_sizeResult = -1;
        return std::nullopt;
    }
    RecordError(code, QStringLiteral("FtpFindFirstFile"));
    return std::nullopt;
}

cDirList* cFTP::GetDirectoryListing(const QString& sFilter) {
    oDirList.reset();
    if (!hConnection) {
        RecordError(ftp::NotConnected, QStringLiteral("FtpFindFirstFile"));
        return nullptr;
    }
    ftp::FindData entry;
    auto search = hConnection->findFirst(sFilter, entry);
    if (!search) {
        const int code = lastCode();
        if (code != ftp::NoMoreFiles) RecordError(code, QStringLiteral("FtpFindFirstFile"));
        return nullptr;
    }
    do {
        appendEntry(Directory(), entry);
    } while (search->next(entry));
    const int code = lastCode();
    if (code == ftp::NoMoreFiles) return oDirList.get();
    RecordError(code, QStringLiteral("InternetFindNextFile"));
    return nullptr;
}

}  // namespace vx
