// Line-preserving INI text.
#include "settings/ini_document.h"

#include "core/cp1252.h"

#include <algorithm>

namespace vx {
namespace {

// The name of a section header ("[name]"), or nothing for any other line.
std::optional<QString> sectionName(const QString& line) {
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('['))) return std::nullopt;
    const qsizetype end = t.indexOf(QLatin1Char(']'));
    return t.mid(1, end < 0 ? -1 : end - 1).trimmed();
}

// The position of the "=" when the line assigns the key, otherwise -1.
qsizetype assignment(const QString& line, const QString& key) {
    if (line.trimmed().startsWith(QLatin1Char(';'))) return -1;
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0 || line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) != 0) return -1;
    return eq;
}

bool hasLineBreak(const QString& s) {
    return s.contains(QLatin1Char('\n')) || s.contains(QLatin1Char('\r'));
}

}  // namespace

IniDocument::IniDocument(const QString& text) {
    for (qsizetype at = 0; at < text.size();) {
        qsizetype end = at;
        while (end < text.size() && text[end] != QLatin1Char('\n') &&
               text[end] != QLatin1Char('\r'))
            ++end;
        m_lines << text.mid(at, end - at);
        const qsizetype next =
            text.mid(end, 2) == QLatin1String("\r\n") ? end + 2 : std::min(end + 1, text.size());
        m_ends << text.mid(end, next - end);
        at = next;
    }
}

void IniDocument::insert(qsizetype at, const QString& line) {
    const QString end =
        m_ends.isEmpty() || m_ends.front().isEmpty() ? QStringLiteral("\n") : m_ends.front();
    if (at > 0 && m_ends[at - 1].isEmpty()) m_ends[at - 1] = end;  // the old last line
    m_lines.insert(at, line);
    m_ends.insert(at, end);
}

IniDocument::Place IniDocument::find(const QString& section, const QString& key) const {
    Place p;
    bool inSection = false;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        if (const auto name = sectionName(m_lines[i])) {
            if (inSection) break;  // the first section of that name has ended
            inSection = name->compare(section, Qt::CaseInsensitive) == 0;
            if (inSection) p.sectionEnd = i + 1;
            continue;
        }
        if (!inSection) continue;
        if (!m_lines[i].trimmed().isEmpty()) p.sectionEnd = i + 1;
        if (p.keyLine < 0 && assignment(m_lines[i], key) >= 0) p.keyLine = i;
    }
    return p;
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const {
    const Place p = find(section, key);
    if (p.keyLine < 0) return std::nullopt;
    const QString& line = m_lines[p.keyLine];
    return line.mid(assignment(line, key) + 1);
}

bool IniDocument::setValue(const QString& section, const QString& key, const QString& value) {
    if (hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value) ||
        section.contains(QLatin1Char(']')) || key.contains(QLatin1Char('=')) ||
        key.trimmed().isEmpty() || key.trimmed().startsWith(QLatin1Char('[')) ||
        key.trimmed().startsWith(QLatin1Char(';')))
        return false;
    const Place p = find(section, key);
    const QString line = key.trimmed() + QLatin1Char('=') + value;
    if (p.keyLine >= 0) {
        m_lines[p.keyLine] = line;
    } else if (p.sectionEnd >= 0) {
        insert(p.sectionEnd, line);
    } else {
        insert(m_lines.size(), QLatin1Char('[') + section.trimmed() + QLatin1Char(']'));
        insert(m_lines.size(), line);
    }
    return true;
}

bool IniDocument::remove(const QString& section, const QString& key) {
    const Place p = find(section, key);
    if (p.keyLine < 0) return false;
    m_lines.removeAt(p.keyLine);
    m_ends.removeAt(p.keyLine);
    return true;
}

QString IniDocument::text() const {
    QString out;
    for (qsizetype i = 0; i < m_lines.size(); ++i) out += m_lines[i] + m_ends[i];
    return out;
}

std::optional<QByteArray> iniWithValue(const QByteArray& file, const QString& section,
                                       const QString& key, const QString& value) {
    IniDocument doc(decodeDataFile(file));
    if (!doc.setValue(section, key, value)) return std::nullopt;
    return encodeDataFile(doc.text(), file);
}

}  // namespace vx
