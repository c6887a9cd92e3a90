// vexaro-crypt: opens and makes ".uzp" files and armoured texts without the desktop program,
// and prints the quality of a key. The direction of a file or text is decided from its
// content, as in the program.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <exception>
#include <unistd.h>

#include "core/cp1252.h"
#include "core/printable.h"
#include "core/yield.h"
#include "crypto/cli/key_source.h"
#include "crypto/cli/terminal_progress.h"
#include "crypto/error_codes.h"
#include "crypto/file_crypto.h"
#include "crypto/key_rules.h"
#include "crypto/korva_state.h"
#include "crypto/text_crypto.h"

namespace {

using namespace vx;

// Exit statuses other than the module's own error codes (which are 1..33 and never 64+).
constexpr int kExitUsage = 64;
constexpr int kExitNoKey = 66;
constexpr int kExitInterrupted = 130;

const char kUsage[] =
    "Usage: vexaro-crypt [OPTIONS] [--force] file SOURCE [TARGET]\n"
    "       vexaro-crypt [OPTIONS] text\n"
    "       vexaro-crypt [OPTIONS] quality\n"
    "\n"
    "file     Encrypts SOURCE into TARGET without its extension plus \".uzp\", or, when\n"
    "         SOURCE is an encrypted file, restores it under TARGET without its extension\n"
    "         plus the stored one. TARGET defaults to SOURCE; then SOURCE is replaced.\n"
    "         An existing file of the output's name is kept unless --force is given;\n"
    "         --force replaces it (a symbolic link there is replaced itself, never the\n"
    "         file it points to). Prints the path of the file written.\n"
    "text     Reads a text from standard input and writes its armoured form, or the plain\n"
    "         text of an armoured block, to standard output.\n"
    "quality  Prints the quality of the key, 0 to 100 (0: too short or repeating).\n"
    "\n"
    "Options:\n"
    "  --key-file FILE          the key is the first line of FILE\n"
    "  --private-key-file FILE  the private key is the first line of FILE\n"
    "  --force                  replace an existing output file\n"
    "  -h, --help               this text\n"
    "\n"
    "Without --key-file the key comes from the environment variable VEXARO_KEY, else it is\n"
    "asked for on the terminal without echo. The private key comes from --private-key-file,\n"
    "else from VEXARO_PRIVATE_KEY, else it is asked for when the key was asked for, else it\n"
    "is empty. Keys are never taken from the command line.\n"
    "\n"
    "Exit status: 0 on success; the module's error code (3 key, 4 no source, 5 checksum,\n"
    "6 empty file, 7 key outside Windows-1252, 11/21 interrupted, 12/22 file error, 20 unknown file, 23/33 wrong key or\n"
    "damaged data, 1/10/30 text errors); 64 usage; 66 no key; 130 interrupted at a prompt.\n"
    "Ctrl-C while a file or text is processed stops it and leaves the disk as it was.\n";

volatile std::sig_atomic_t g_interrupted = 0;

void onInterrupt(int) {
    g_interrupted = 1;
    std::signal(SIGINT, SIG_DFL);  // a second Ctrl-C ends the program at once
}

void installInterruptHandler() {
    struct sigaction sa {};
    sa.sa_handler = onInterrupt;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = 0;  // no restart: an interrupted key prompt returns
    sigaction(SIGINT, &sa, nullptr);
    // The module tests its abort flag after each yield; the interrupt sets it there.
    setYieldHook([] {
        if (g_interrupted) korva::state().AbortFlag = true;
    });
}

// Prints a message on standard error; names in it (paths, arguments) cannot move the cursor.
void report(const QString& message) {
    std::fprintf(stderr, "vexaro-crypt: %s\n", printable(message).toUtf8().constData());
}

int usageError(const QString& why) {
    report(why);
    std::fputs(kUsage, stderr);
    return kExitUsage;
}

int moduleFailure() {
    report(korva::state().ErrorMessage);
    return korva::state().ErrorCode;
}

Result<crypt_cli::Keys> keysOrReport(const crypt_cli::KeyOptions& options, bool withPrivate,
                                     int& exitCode) {
    Result<crypt_cli::Keys> keys = crypt_cli::obtainKeys(options, withPrivate);
    if (!keys) {
        exitCode = g_interrupted ? kExitInterrupted : kExitNoKey;
        report(keys.message());
    }
    return keys;
}

int runFile(const QStringList& args, const crypt_cli::KeyOptions& options, bool force) {
    if (args.size() < 1 || args.size() > 2) return usageError("file needs SOURCE [TARGET]");
    const QString source = args[0];
    const QString target = args.size() == 2 ? args[1] : source;
    int exitCode = 0;
    const auto keys = keysOrReport(options, true, exitCode);
    if (!keys) return exitCode;

    crypt_cli::TerminalProgress progress;
    korva::state().sink = &progress;
    bool kept = false;
    korva::state().ConfirmReplace = [&](const QString&) {
        kept = !force;
        return force;
    };
    const QString output =
        korva::FileCrypto(source, target, keys.value().key, keys.value().privateKey);
    korva::state().sink = nullptr;
    korva::state().ConfirmReplace = nullptr;
    if (korva::state().ErrorCode != 0) {
        const int code = moduleFailure();
        if (kept) report(QStringLiteral("--force replaces it"));
        return code;
    }
    std::printf("%s\n", printable(output).toUtf8().constData());
    return 0;
}

QByteArray readAllStandardInput() {
    QByteArray all;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR && !g_interrupted) continue;
        if (got <= 0) break;
        all.append(buffer, got);
    }
    return all;
}

int runText(const QStringList& args, const crypt_cli::KeyOptions& options) {
    if (!args.isEmpty()) return usageError("text takes no arguments");
    int exitCode = 0;
    const auto keys = keysOrReport(options, true, exitCode);
    if (!keys) return exitCode;
    const QString text = decodeDataFile(readAllStandardInput());
    if (g_interrupted) return kExitInterrupted;
    QString result = korva::TextCrypto(text, keys.value().key, keys.value().privateKey);
    if (korva::state().ErrorCode != 0) return moduleFailure();
    if (!result.endsWith(QLatin1Char('\n'))) result += QLatin1Char('\n');
    const QByteArray out = result.toUtf8();
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    return std::fflush(stdout) == 0 ? 0 : korva::kEncodeFileError;
}

int runQuality(const QStringList& args, const crypt_cli::KeyOptions& options) {
    if (!args.isEmpty()) return usageError("quality takes no arguments");
    int exitCode = 0;
    const auto keys = keysOrReport(options, false, exitCode);
    if (!keys) return exitCode;
    std::printf("%d\n", korva::KeyQuality(keys.value().key));
    return 0;
}

int run(const QStringList& argv) {
    crypt_cli::KeyOptions options;
    bool force = false;
    QStringList words;
    for (qsizetype i = 0; i < argv.size(); ++i) {
        const QString& a = argv[i];
        if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (a == QLatin1String("--key-file") || a == QLatin1String("--private-key-file")) {
            if (i + 1 >= argv.size()) return usageError(a + QStringLiteral(" needs a FILE"));
            (a == QLatin1String("--key-file") ? options.keyFile : options.privateKeyFile) =
                argv[++i];
        } else if (a == QLatin1String("--force")) {
            force = true;
        } else if (a.startsWith(QLatin1String("--key-file="))) {
            options.keyFile = a.mid(11);
        } else if (a.startsWith(QLatin1String("--private-key-file="))) {
            options.privateKeyFile = a.mid(19);
        } else if (a == QLatin1String("--")) {
            words += argv.mid(i + 1);
            break;
        } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            return usageError(QStringLiteral("unknown option ") + a);
        } else {
            words += a;
        }
    }
    if (words.isEmpty()) return usageError("no command given");
    const QString command = words.takeFirst();
    installInterruptHandler();
    if (command == QLatin1String("file")) return runFile(words, options, force);
    if (command == QLatin1String("text")) return runText(words, options);
    if (command == QLatin1String("quality")) return runQuality(words, options);
    return usageError(QStringLiteral("unknown command ") + command);
}

}  // namespace

int main(int argc, char** argv) {
    try {
        QStringList args;
        for (int i = 1; i < argc; ++i) args += QString::fromLocal8Bit(argv[i]);
        return run(args);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vexaro-crypt: %s\n", e.what());
        return 70;
    }
}
