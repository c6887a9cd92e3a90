// Reads numbered server replies ("220 Ready", or "123-First" ... "123 Last") from a byte
// stream that may arrive split at any byte. Used by FTP and SMTP, which share this reply form.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <deque>
#include <optional>

namespace vx::net {

// One complete reply: its three-digit code and its lines as received (without line ends).
struct Reply {
    int code = 0;
    QStringList lines;

    // The lines joined by "\n": what a person should see of the reply.
    QString text() const { return lines.join(QLatin1Char('\n')); }
    bool isPreliminary() const { return code >= 100 && code < 200; }
    bool isCompletion() const { return code >= 200 && code < 300; }
    bool isIntermediate() const { return code >= 300 && code < 400; }
    bool isTransientFailure() const { return code >= 400 && code < 500; }
    bool isPermanentFailure() const { return code >= 500 && code < 600; }
};

// True when `line` (without its line end) closes a reply whose first line carried `code`:
// it starts with those three digits followed by a space or nothing.
bool isLastLine(QByteArrayView line, int code);

// The code of a reply's first line, or nothing when the line does not start with three
// digits followed by a space, a hyphen or the end of the line.
std::optional<int> firstLineCode(QByteArrayView line);

class ReplyReader {
public:
    enum class Error {
        None,
        NotAReply,    // a first line without a three-digit code: the peer does not speak the protocol
        LineTooLong,  // a line longer than the limit, or no line end in sight
        TooManyLines  // a multi-line reply longer than the limit
    };

    explicit ReplyReader(int maxLineLength = 8192, int maxLines = 4096);

    // Takes the next bytes of the stream. Lines end with LF (a CR before it is dropped). After
    // an error the reader ignores everything; the stream cannot be trusted any more.
    void feed(QByteArrayView bytes);

    // The oldest complete reply not yet taken, if any.
    std::optional<Reply> take();

    bool hasReply() const { return !m_ready.empty(); }
    // True when the reader holds nothing: no reply, no part of one, and no error.
    bool isIdle() const {
        return m_ready.empty() && !m_current && m_partial.isEmpty() && m_error == Error::None;
    }
    Error error() const { return m_error; }
    // Forgets partial input, complete replies and any error.
    void reset();

private:
    void line(QByteArrayView raw);

    int m_maxLineLength;
    int m_maxLines;
    QByteArray m_partial;
    std::optional<Reply> m_current;  // a multi-line reply still open
    std::deque<Reply> m_ready;
    Error m_error = Error::None;
};

// A short English text for a reader error, for messages.
QString errorText(ReplyReader::Error error);

}  // namespace vx::net
