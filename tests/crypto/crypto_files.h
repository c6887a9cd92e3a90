// Helpers for the file format tests: small file utilities, and a builder that writes an
// encrypted file piece by piece (salt, extension bytes, block, check value), so that damaged
// and unusual files can be made on purpose.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include "crypto/cipher.h"
#include "crypto/file_format.h"

namespace vx::test {

inline QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

// Names in a folder, sorted: what "the disk as it was" means in the tests.
inline QStringList listing(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                               QDir::Name);
}

struct CraftedFile {
    QByteArray salt = QByteArray(40, 'S');  // first byte set to the length when built
    QByteArray extension = "txt";           // bytes between salt and the 0 byte
    bool terminate = true;                   // write the 0 byte
    QByteArray block;                        // the compressed block
    int checkDelta = 0;                      // added to the first check byte
    qsizetype truncateTo = -1;               // cut the finished file to this size

    QByteArray build(const QByteArray& key, const QByteArray& privateKey) const {
        QByteArray s = salt;
        s[0] = static_cast<char>(s.size());
        QByteArray plain = s + extension;
        if (terminate) plain.append('\0');
        plain += block;
        plain.append(static_cast<char>(s[s.size() - 2] + checkDelta));
        plain.append(s[s.size() - 1]);
        korva::Cipher c;
        c.init(key, privateKey);
        c.encrypt(reinterpret_cast<uint8_t*>(plain.data()), size_t(plain.size()));
        QByteArray file = korva::cryptoFileBanner() + plain;
        if (truncateTo >= 0) file.truncate(truncateTo);
        return file;
    }
};

// What an encrypted file holds, deciphered with the given key.
struct OpenedFile {
    int saltLength = 0;
    QByteArray extension;
    QByteArray block;
    bool checkMatches = false;
};

inline OpenedFile openEncrypted(const QByteArray& file, const QByteArray& key,
                                const QByteArray& privateKey) {
    OpenedFile o;
    QByteArray p = file.mid(29);
    korva::Cipher c;
    c.init(key, privateKey);
    c.decrypt(reinterpret_cast<const uint8_t*>(p.constData()), reinterpret_cast<uint8_t*>(p.data()),
              size_t(p.size()));
    o.saltLength = static_cast<uint8_t>(p[0]);
    const qsizetype zero = p.indexOf('\0', o.saltLength);
    o.extension = p.mid(o.saltLength, zero - o.saltLength);
    o.block = p.mid(zero + 1, p.size() - zero - 3);
    o.checkMatches = p.right(2) == p.mid(o.saltLength - 2, 2);
    return o;
}

}  // namespace vx::test
