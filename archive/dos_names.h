// Short "8.3" stored names. Each part of a stored path is converted on its own:
//   - upper case; spaces and leading dots are dropped; the last remaining dot splits the name
//     from its extension and the other dots are dropped; characters other than A-Z, 0-9 and ! # $ %
//     & ' ( ) - @ ^ _ ` { } ~ (all non-ASCII ones included) become "_";
//   - a part that fits eight characters and a three-character extension with nothing lost but
//     case is kept as it is ("readme.txt" -> "README.TXT");
//   - any other part becomes its first characters, "~" and a number, cut to eight, with the
//     extension's first three characters ("Long file name.text" -> "LONGFI~1.TEX"), taking the
//     lowest number whose name is free.
// A short name is free when no other long name of the same call has it and no entry of the
// archive has it, unless that entry records the same long name. Each entry written with a short
// name records its long name in a private extra field, so adding the same file again replaces
// its entry and a different file never does. Folders map the same way, once per call.
#pragma once

#include <QHash>
#include <QMap>
#include <QString>

namespace vx {

// The extra-field id that records an entry's long name (UTF-8) beside its short name.
inline constexpr unsigned short kLongNameField = 0x7856;

class DosNames {
public:
    // existing: every stored name of the archive with the long name it records ("" for none).
    explicit DosNames(QMap<QString, QString> existing) : m_existing(std::move(existing)) {}

    // The short form of a long stored path ("/" separated, no leading "/"); the same long path
    // always gives the same short one within one object.
    QString shortPath(const QString& longPath);

    // The part as kept when it already fits ("" when it does not), and the numbered form.
    static QString directForm(const QString& part);
    static QString numberedForm(const QString& part, int number);

private:
    QString shortPart(const QString& shortParent, const QString& longPath, const QString& part,
                      bool folder);
    bool isFree(const QString& shortPath, const QString& longPath, bool direct, bool folder) const;

    QMap<QString, QString> m_existing;    // short stored name -> recorded long name
    QHash<QString, QString> m_claimedBy;  // short path -> long path, this call
    QHash<QString, QString> m_folders;    // long folder path -> short folder path
};

}  // namespace vx
