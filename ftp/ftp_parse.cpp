// Parsers for server replies and listings. Every input is treated as hostile: bounds are
// checked and anything unexpected gives "nothing" rather than a guess.
#include "ftp/ftp_parse.h"

#include <QRegularExpression>
#include <QStringList>

namespace vx::ftp {
namespace {

const QStringList kMonths = {"jan", "feb", "mar", "apr", "may", "jun",
                             "jul", "aug", "sep", "oct", "nov", "dec"};

QDateTime utc(const QDate& d, const QTime& t) { return QDateTime(d, t, Qt::UTC); }

// "20240102030405" or "20240102030405.123" in UTC.
QDateTime parseMlsdTime(const QString& v) {
    if (v.size() < 14) return {};
    QDateTime dt = QDateTime::fromString(v.left(14), QStringLiteral("yyyyMMddHHmmss"));
    if (!dt.isValid()) return {};
    dt.setTimeSpec(Qt::UTC);
    return dt;
}

bool isDotName(const QString& n) { return n == QLatin1String(".") || n == QLatin1String(".."); }

std::optional<FindData> parseUnixLine(const QString& line, const QDate& today) {
    static const QRegularExpression re(QStringLiteral(
        R"(^([-dlbcps])[-rwxsStT]{9}\S*(?:\s+\S+)*?\s+(\d+)\s+(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec))"
        R"(\s+(\d{1,2})\s+(?:(\d{1,2}):(\d{2})|(\d{4}))\s(.+)$)"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(line);
    if (!m.hasMatch()) return std::nullopt;
    FindData d;
    const QChar type = m.captured(1).at(0);
    QString name = m.captured(8);
    if (type == QLatin1Char('l')) {
        const qsizetype arrow = name.indexOf(QLatin1String(" -> "));
        if (arrow > 0) name.truncate(arrow);
    }
    if (name.isEmpty() || isDotName(name)) return std::nullopt;
    bool ok = false;
    d.size = m.captured(2).toLongLong(&ok);
    if (!ok) return std::nullopt;
    const int month = kMonths.indexOf(m.captured(3).toLower()) + 1;
    const int day = m.captured(4).toInt();
    QDateTime when;
    if (!m.captured(7).isEmpty()) {
        when = utc(QDate(m.captured(7).toInt(), month, day), QTime(0, 0));
    } else {
        // No year: the most recent such date not more than a day ahead of today.
        int year = today.year();
        if (QDate(year, month, day) > today.addDays(1)) --year;
        when = utc(QDate(year, month, day), QTime(m.captured(5).toInt(), m.captured(6).toInt()));
    }
    if (!when.isValid()) return std::nullopt;
    d.attributes = type == QLatin1Char('d') ? AttrDirectory : AttrNormal;
    d.creationTime = d.lastAccessTime = d.lastWriteTime = fileTimeFromUtc(when);
    d.name = name;
    return d;
}

std::optional<FindData> parseDosLine(const QString& line) {
    static const QRegularExpression re(QStringLiteral(
        R"(^(\d{2})-(\d{2})-(\d{2}|\d{4})\s+(\d{1,2}):(\d{2})\s*([AaPp][Mm])?\s+(<DIR>|\d+)\s+(.+)$)"));
    const auto m = re.match(line);
    if (!m.hasMatch()) return std::nullopt;
    int year = m.captured(3).toInt();
    if (m.captured(3).size() == 2) year += year < 70 ? 2000 : 1900;
    int hour = m.captured(4).toInt();
    const QString ampm = m.captured(6).toUpper();
    if (!ampm.isEmpty()) {
        if (hour < 1 || hour > 12) return std::nullopt;
        hour = hour % 12 + (ampm == QLatin1String("PM") ? 12 : 0);
    }
    const QDateTime when =
        utc(QDate(year, m.captured(1).toInt(), m.captured(2).toInt()), QTime(hour, m.captured(5).toInt()));
    if (!when.isValid()) return std::nullopt;
    FindData d;
    const QString name = m.captured(8);
    if (isDotName(name)) return std::nullopt;
    if (m.captured(7) == QLatin1String("<DIR>")) {
        d.attributes = AttrDirectory;
    } else {
        bool ok = false;
        d.size = m.captured(7).toLongLong(&ok);
        if (!ok) return std::nullopt;
    }
    d.creationTime = d.lastAccessTime = d.lastWriteTime = fileTimeFromUtc(when);
    d.name = name;
    return d;
}

}  // namespace

qint64 fileTimeFromUtc(const QDateTime& utc) {
    if (!utc.isValid()) return 0;
    constexpr qint64 kMsFrom1601To1970 = 11644473600000LL;
    return (utc.toMSecsSinceEpoch() + kMsFrom1601To1970) * 10000;
}

QDateTime utcFromFileTime(qint64 fileTime) {
    if (fileTime <= 0) return {};
    constexpr qint64 kMsFrom1601To1970 = 11644473600000LL;
    return QDateTime::fromMSecsSinceEpoch(fileTime / 10000 - kMsFrom1601To1970, Qt::UTC);
}

std::optional<quint16> parsePasvReply(const QString& text) {
    static const QRegularExpression re(
        QStringLiteral(R"((\d{1,3}),(\d{1,3}),(\d{1,3}),(\d{1,3}),(\d{1,3}),(\d{1,3}))"));
    const auto m = re.match(text, 4);  // after the code
    if (!m.hasMatch()) return std::nullopt;
    int n[6];
    for (int i = 0; i < 6; ++i) {
        n[i] = m.captured(i + 1).toInt();
        if (n[i] > 255) return std::nullopt;
    }
    const int port = n[4] * 256 + n[5];
    if (port == 0) return std::nullopt;
    return static_cast<quint16>(port);
}

std::optional<quint16> parseEpsvReply(const QString& text) {
    const qsizetype open = text.indexOf(QLatin1Char('('));
    if (open < 0) return std::nullopt;
    const qsizetype close = text.indexOf(QLatin1Char(')'), open);
    if (close < 0) return std::nullopt;
    const QString inner = text.mid(open + 1, close - open - 1);
    // Four equal delimiters around an empty protocol, empty address and the port.
    if (inner.size() < 5) return std::nullopt;
    const QChar d = inner.at(0);
    if (d.unicode() < 33 || d.unicode() > 126 || d.isDigit()) return std::nullopt;
    if (inner.at(1) != d || inner.at(2) != d || inner.back() != d) return std::nullopt;
    bool ok = false;
    const uint port = inner.mid(3, inner.size() - 4).toUInt(&ok);
    if (!ok || port == 0 || port > 65535) return std::nullopt;
    return static_cast<quint16>(port);
}

std::optional<QString> parsePwdReply(const QString& text) {
    const QString rest = text.mid(4);
    if (rest.startsWith(QLatin1Char('"'))) {
        QString out;
        for (qsizetype i = 1; i < rest.size(); ++i) {
            if (rest.at(i) != QLatin1Char('"')) {
                out.append(rest.at(i));
            } else if (i + 1 < rest.size() && rest.at(i + 1) == QLatin1Char('"')) {
                out.append(QLatin1Char('"'));
                ++i;
            } else {
                return out;
            }
        }
        return std::nullopt;  // no closing quote
    }
    const QString word = rest.section(QLatin1Char(' '), 0, 0);
    if (word.isEmpty()) return std::nullopt;
    return word;
}

QString eprtArgument(const QHostAddress& address, quint16 port) {
    const bool v4 = address.protocol() == QAbstractSocket::IPv4Protocol;
    return QStringLiteral("|%1|%2|%3|").arg(v4 ? 1 : 2).arg(address.toString()).arg(port);
}

QString portArgument(const QHostAddress& address, quint16 port) {
    bool ok = false;
    const quint32 ip = address.toIPv4Address(&ok);
    if (!ok) return QString();
    return QStringLiteral("%1,%2,%3,%4,%5,%6")
        .arg(ip >> 24).arg((ip >> 16) & 0xff).arg((ip >> 8) & 0xff).arg(ip & 0xff)
        .arg(port >> 8).arg(port & 0xff);
}

std::optional<FindData> parseMlsdLine(const QString& line) {
    const qsizetype space = line.indexOf(QLatin1Char(' '));
    if (space < 0) return std::nullopt;
    const QString name = line.mid(space + 1);
    if (name.isEmpty() || isDotName(name)) return std::nullopt;
    FindData d;
    d.name = name;
    QString type = QStringLiteral("file");
    QDateTime modify, create;
    QString perm;
    bool havePerm = false;
    for (const QString& fact : line.left(space).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype eq = fact.indexOf(QLatin1Char('='));
        if (eq <= 0) return std::nullopt;
        const QString key = fact.left(eq).toLower();
        const QString value = fact.mid(eq + 1);
        if (key == QLatin1String("type")) {
            type = value.toLower();
        } else if (key == QLatin1String("size") || key == QLatin1String("sizd")) {
            bool ok = false;
            d.size = value.toLongLong(&ok);
            if (!ok || d.size < 0) return std::nullopt;
        } else if (key == QLatin1String("modify")) {
            modify = parseMlsdTime(value);
        } else if (key == QLatin1String("create")) {
            create = parseMlsdTime(value);
        } else if (key == QLatin1String("perm")) {
            perm = value.toLower();
            havePerm = true;
        }
    }
    if (type == QLatin1String("cdir") || type == QLatin1String("pdir")) return std::nullopt;
    if (type == QLatin1String("dir")) {
        d.attributes = AttrDirectory;
    } else if (havePerm && !perm.contains(QLatin1Char('w')) && !perm.contains(QLatin1Char('a'))) {
        d.attributes = AttrReadOnly;
    } else {
        d.attributes = AttrNormal;
    }
    d.lastWriteTime = fileTimeFromUtc(modify);
    d.lastAccessTime = d.lastWriteTime;
    d.creationTime = create.isValid() ? fileTimeFromUtc(create) : d.lastWriteTime;
    return d;
}

std::optional<FindData> parseListLine(const QString& line, const QDate& today) {
    if (line.isEmpty()) return std::nullopt;
    if (line.at(0).isDigit()) return parseDosLine(line);
    return parseUnixLine(line, today);
}

QList<FindData> parseListing(const QByteArray& data, ListingForm form, const QDate& today) {
    QList<FindData> out;
    for (QByteArray raw : data.split('\n')) {
        if (raw.endsWith('\r')) raw.chop(1);
        const QString line = QString::fromUtf8(raw);
        const auto entry = form == ListingForm::Mlsd ? parseMlsdLine(line) : parseListLine(line, today);
        if (entry) out.append(*entry);
    }
    return out;
}

bool hasWildcards(const QString& pattern) {
    return pattern.contains(QLatin1Char('*')) || pattern.contains(QLatin1Char('?'));
}

bool matchesPattern(const QString& name, const QString& pattern) {
    if (pattern.isEmpty() || pattern == QLatin1String("*") || pattern == QLatin1String("*.*"))
        return true;
    // Iterative glob with one back-track point: linear in practice, no recursion.
    qsizetype n = 0, p = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern.at(p) == QLatin1Char('?') || pattern.at(p) == name.at(n))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern.at(p) == QLatin1Char('*')) {
            starP = p++;
            starN = n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern.at(p) == QLatin1Char('*')) ++p;
    return p == pattern.size();
}

SearchPath splitSearchPath(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0) return {QString(), path};
    QString folder = path.left(slash);
    if (folder.isEmpty()) folder = QStringLiteral("/");
    return {folder, path.mid(slash + 1)};
}

}  // namespace vx::ftp
