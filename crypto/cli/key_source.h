// Where vexaro-crypt takes its key and private key from: a file's first line, an environment
// variable, or a prompt on the terminal without echo. Never from the command line itself, so
// the key does not show in the process list or the shell history.
#pragma once

#include <QString>

#include "core/status.h"

namespace vx::crypt_cli {

struct KeyOptions {
    QString keyFile;         // --key-file; empty when not given
    QString privateKeyFile;  // --private-key-file; empty when not given
};

struct Keys {
    QString key;
    QString privateKey;
};

// The first line of a file without its line end (LF or CR LF), read as UTF-8 when valid and
// as Windows-1252 otherwise.
Result<QString> firstLineOf(const QString& path);

// The key: --key-file, else VEXARO_KEY, else a prompt on the terminal. The private key:
// --private-key-file, else VEXARO_PRIVATE_KEY, else a prompt when the key was prompted for
// too, else empty. withPrivateKey = false skips the private key altogether.
Result<Keys> obtainKeys(const KeyOptions& options, bool withPrivateKey);

}  // namespace vx::crypt_cli
