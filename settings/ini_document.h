// An INI text held line by line, so that one key can be read or replaced while every other line
// (comments, other sections, hand edits) stays as it was. Section and key names match without
// regard to case, and only the first section of a name counts. A value is everything after the
// first "=" of its line, kept exactly: blanks, quotes, commas, semicolons and backslashes.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace vx {

class IniDocument {
public:
    // Lines may end in LF, CR LF or a CR alone, as the classic profile reader takes them; each
    // keeps its own line end. A line starting with ";" is a comment.
    explicit IniDocument(const QString& text);

    // The value of the key in the first section of that name; nothing when either is missing.
    std::optional<QString> value(const QString& section, const QString& key) const;

    // Replaces the key's value, or adds the key after the last line of the section, or adds the
    // section at the end. Added lines end like the document's first line (LF when it has none);
    // a last line without a line end gets one when a line is added after it. False (and nothing changes) for names or a value that a line cannot
    // hold: line breaks anywhere, "]" in the section, a key that is empty, holds "=" or starts
    // like a section or a comment.
    bool setValue(const QString& section, const QString& key, const QString& value);

    // Removes the key's line from the first section of that name; false when it has none.
    bool remove(const QString& section, const QString& key);

    // The whole text: every line not changed comes back exactly as it was read, line end
    // included.
    QString text() const;

private:
    struct Place {
        qsizetype sectionEnd = -1;  // after the section's last non-blank line; -1: no section
        qsizetype keyLine = -1;     // -1: no such key in the section
    };
    Place find(const QString& section, const QString& key) const;

    void insert(qsizetype at, const QString& line);

    QStringList m_lines;  // without their line ends
    QStringList m_ends;   // "\n", "\r\n" or "\r"; "" for a last line without one
};

// The bytes of an INI file (read as decodeDataFile reads it) with one value set, as a save
// writes them: every other line comes back byte for byte, in the file's own encoding where
// that can hold the new value. Nothing when the names or the value cannot be stored
// (IniDocument::setValue).
std::optional<QByteArray> iniWithValue(const QByteArray& file, const QString& section,
                                       const QString& key, const QString& value);

}  // namespace vx
