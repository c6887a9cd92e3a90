// Pure parsing of what an FTP server sends: the payloads of the 227, 229 and 257 replies, and
// folder listings in the MLSD form and in the LIST forms of Unix and DOS servers. No sockets.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QHostAddress>
#include <QList>
#include <QString>
#include <optional>

#include "ftp/find_data.h"

namespace vx::ftp {

// The port of a 227 reply, "227 Entering Passive Mode (h1,h2,h3,h4,p1,p2)". The host numbers
// must be valid but are otherwise ignored: data connections go to the control connection's
// peer. Nothing when the reply holds no valid six numbers or the port is 0.
std::optional<quint16> parsePasvReply(const QString& text);

// The port of a 229 reply, "229 Entering Extended Passive Mode (|||port|)".
std::optional<quint16> parseEpsvReply(const QString& text);

// The folder named by a 257 reply, with doubled quotes undone: 257 "/a ""b""" -> /a "b".
// Servers that omit the quotes give the first word after the code.
std::optional<QString> parsePwdReply(const QString& text);

// Argument of EPRT for this address and port: "|1|127.0.0.1|5000|" or "|2|::1|5000|".
QString eprtArgument(const QHostAddress& address, quint16 port);
// Argument of PORT: "127,0,0,1,19,136"; empty for an address that is not IPv4.
QString portArgument(const QHostAddress& address, quint16 port);

// One line of an MLSD listing ("type=file;size=10;modify=20240102030405; name"). Nothing for
// lines that do not parse and for the entries "." and ".." (types cdir and pdir).
std::optional<FindData> parseMlsdLine(const QString& line);

// One line of a LIST listing, Unix form ("-rw-r--r-- 1 user group 10 Jan 02 03:04 name") or
// DOS form ("01-02-24  03:04PM  <DIR>  name"). Times without a year fall in the twelve months
// up to `today`; times are taken as UTC. Nothing for lines that do not parse ("total 12") and
// for "." and "..".
std::optional<FindData> parseListLine(const QString& line, const QDate& today);

enum class ListingForm { Mlsd, List };

// All entries of a listing, in the server's order; lines that do not parse are skipped.
QList<FindData> parseListing(const QByteArray& data, ListingForm form, const QDate& today);

// Matches a name against a search pattern: '*' any run of characters, '?' exactly one. An
// empty pattern, "*" and "*.*" match every name. Case-sensitive, as the server's names are.
bool matchesPattern(const QString& name, const QString& pattern);
bool hasWildcards(const QString& pattern);

// Splits a search path into the folder to list and the pattern for names in it:
// "*.*" -> ("", "*.*"); "sub/a?.zip" -> ("sub", "a?.zip"); "/x/" -> ("/x", "").
struct SearchPath {
    QString folder;
    QString pattern;
};
SearchPath splitSearchPath(const QString& path);

}  // namespace vx::ftp
