// Helpers for the cipher module's tests: the fixed sample files, the names in a folder, a scratch
// folder with a fresh module state, and a builder that writes an encrypted file piece by piece
// (salt, extension bytes, block, check value), so that damaged and unusual files can be made on
// purpose.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "crypto/cipher.h"
#include "crypto/file_format.h"
#include "module_guard.h"
#include "temp_home.h"

namespace vx::test {

// A sample file made by an independent implementation of the formats (tests/crypto/data).
inline QString sampleFile(const char* name) {
    return QStringLiteral(VEXARO_TEST_DATA "/") + QLatin1String(name);
}

// Names in a folder, sorted: what "the disk as it was" means in the tests.
inline QStringList listing(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

// A scratch folder and a fresh module state for one test.
class CryptoFolder : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    QString make(const QString& name, const QByteArray& bytes) const {
        return writeFile(path(name), bytes);
    }
    QTemporaryDir dir;
    ModuleGuard guard;
};

struct CraftedFile {
    QByteArray salt = QByteArray(40, 'S');  // first byte set to the length when built
    QByteArray extension = "txt";           // bytes between salt and the 0 byte
    bool terminate = true;                  // write the 0 byte
    QByteArray block = "HE0\rrestored";     // the compressed block
    int checkDelta = 0;                     // added to the first check byte
    qsizetype truncateTo = -1;              // cut the finished file to this size

    QByteArray build(const QByteArray& key) const {
        QByteArray s = salt;
        s[0] = static_cast<char>(s.size());
        QByteArray plain = s + extension;
        if (terminate) plain.append('\0');
        plain += block;
        plain.append(static_cast<char>(s[s.size() - 2] + checkDelta));
        plain.append(s[s.size() - 1]);
        korva::Cipher c(key, {});
        c.encrypt(reinterpret_cast<uint8_t*>(plain.data()), size_t(plain.size()));
        QByteArray file = korva::cryptoFileBanner() + plain;
        if (truncateTo >= 0) file.truncate(truncateTo);
        return file;
    }
};

}  // namespace vx::test
