// Key input for vexaro-crypt.
#include "crypto/cli/key_source.h"

#include <QFile>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include "core/cp1252.h"

namespace vx::crypt_cli {
namespace {

QString lineWithoutEnd(QByteArray bytes) {
    const qsizetype lf = bytes.indexOf('\n');
    if (lf >= 0) bytes.truncate(lf);
    if (bytes.endsWith('\r')) bytes.chop(1);
    return decodeDataFile(bytes);
}

// Reads one line from the terminal with echo off. Fails when there is no terminal or the
// user interrupted the prompt.
Result<QString> prompt(const char* question) {
    const int fd = ::open("/dev/tty", O_RDWR | O_CLOEXEC);
    if (fd < 0) return Status::error(QStringLiteral("no terminal to ask for the key on"));
    termios saved{};
    const bool isTty = ::tcgetattr(fd, &saved) == 0;
    if (isTty) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ::tcsetattr(fd, TCSAFLUSH, &quiet);
    }
    (void)!::write(fd, question, std::char_traits<char>::length(question));
    QByteArray line;
    bool ok = true;
    for (;;) {
        char c;
        const ssize_t got = ::read(fd, &c, 1);
        if (got < 0 && errno == EINTR) { ok = false; break; }
        if (got <= 0 || c == '\n') break;
        line.append(c);
    }
    if (isTty) ::tcsetattr(fd, TCSAFLUSH, &saved);
    (void)!::write(fd, "\n", 1);
    ::close(fd);
    if (!ok) return Status::error(QStringLiteral("interrupted"));
    return lineWithoutEnd(line);
}

Result<QString> fromFileOrEnv(const QString& file, const char* env, bool& found) {
    found = true;
    if (!file.isEmpty()) return firstLineOf(file);
    if (qEnvironmentVariableIsSet(env)) return lineWithoutEnd(qgetenv(env));
    found = false;
    return QString();
}

}  // namespace

Result<QString> firstLineOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Status::error(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    return lineWithoutEnd(file.readLine());
}

Result<Keys> obtainKeys(const KeyOptions& options, bool withPrivateKey) {
    Keys keys;
    bool found = false;
    Result<QString> key = fromFileOrEnv(options.keyFile, "VEXARO_KEY", found);
    const bool prompted = !found;
    if (prompted) key = prompt("Key: ");
    if (!key) return key.status();
    keys.key = key.value();
    if (!withPrivateKey) return keys;

    Result<QString> priv =
        fromFileOrEnv(options.privateKeyFile, "VEXARO_PRIVATE_KEY", found);
    if (!found && prompted) priv = prompt("Private key (Enter for none): ");
    if (!priv) return priv.status();
    keys.privateKey = priv.value();
    return keys;
}

}  // namespace vx::crypt_cli
