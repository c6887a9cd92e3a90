// Reply reader: splits the stream into lines, then groups lines into replies.
#include "net/reply_reader.h"

#include <utility>

namespace vx::net {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

QString decodeLine(QByteArrayView raw) {
    // Servers should send UTF-8; anything else is shown as Latin-1 rather than lost.
    const QString utf8 = QString::fromUtf8(raw);
    if (!utf8.contains(QChar::ReplacementCharacter)) return utf8;
    return QString::fromLatin1(raw);
}

}  // namespace

std::optional<int> firstLineCode(QByteArrayView line) {
    if (line.size() < 3 || !isDigit(line[0]) || !isDigit(line[1]) || !isDigit(line[2]))
        return std::nullopt;
    if (line[0] < '1' || line[0] > '5') return std::nullopt;
    if (line.size() > 3 && line[3] != ' ' && line[3] != '-') return std::nullopt;
    return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}

bool isLastLine(QByteArrayView line, int code) {
    const auto c = firstLineCode(line);
    return c && *c == code && (line.size() == 3 || line[3] == ' ');
}

ReplyReader::ReplyReader(int maxLineLength, int maxLines)
    : m_maxLineLength(maxLineLength), m_maxLines(maxLines) {}

void ReplyReader::feed(QByteArrayView bytes) {
    while (m_error == Error::None && !bytes.isEmpty()) {
        const qsizetype lf = bytes.indexOf('\n');
        const QByteArrayView head = lf < 0 ? bytes : bytes.first(lf);
        // A line may hold the limit without its line end; a CR may follow, or still be to come.
        const bool cr = lf < 0 || (head.isEmpty() ? m_partial.endsWith('\r') : head.endsWith('\r'));
        if (m_partial.size() + head.size() > m_maxLineLength + (cr ? 1 : 0)) {
            m_error = Error::LineTooLong;
            m_partial.clear();
            return;
        }
        if (lf < 0) {
            m_partial.append(head);
            return;
        }
        m_partial.append(head);
        if (m_partial.endsWith('\r')) m_partial.chop(1);
        const QByteArray complete = std::exchange(m_partial, QByteArray());
        line(complete);
        bytes = bytes.sliced(lf + 1);
    }
}

void ReplyReader::line(QByteArrayView raw) {
    if (!m_current) {
        const auto code = firstLineCode(raw);
        if (!code) {
            m_error = Error::NotAReply;
            return;
        }
        Reply r;
        r.code = *code;
        r.lines.append(decodeLine(raw));
        if (raw.size() > 3 && raw[3] == '-')
            m_current = std::move(r);
        else
            m_ready.push_back(std::move(r));
        return;
    }
    if (m_current->lines.size() >= m_maxLines) {
        m_error = Error::TooManyLines;
        m_current.reset();
        return;
    }
    m_current->lines.append(decodeLine(raw));
    if (isLastLine(raw, m_current->code)) {
        m_ready.push_back(std::move(*m_current));
        m_current.reset();
    }
}

std::optional<Reply> ReplyReader::take() {
    if (m_ready.empty()) return std::nullopt;
    Reply r = std::move(m_ready.front());
    m_ready.pop_front();
    return r;
}

void ReplyReader::reset() {
    m_partial.clear();
    m_current.reset();
    m_ready.clear();
    m_error = Error::None;
}

QString errorText(ReplyReader::Error error) {
    switch (error) {
        case ReplyReader::Error::None: return QString();
        case ReplyReader::Error::NotAReply: return QStringLiteral("the reply carries no reply code");
        case ReplyReader::Error::LineTooLong: return QStringLiteral("a reply line is too long");
        case ReplyReader::Error::TooManyLines: return QStringLiteral("a reply has too many lines");
    }
    return QString();
}

}  // namespace vx::net
