#!/usr/bin/env bash
# The end of the demo, as the recipient sees it: the e-mail the SMTP server received, the file
# fetched through its download link, restored with vexaro-crypt, tested with unzip and compared
# with the files that were selected. Usage: recipient.sh DEMO_FOLDER WEB_PORT KEY BUILD_FOLDER
set -euo pipefail
DEMO=$1 WEB_PORT=$2 KEY=$3 BUILD=$4
OUT=$DEMO/recipient

echo
echo "== The e-mail the SMTP server received =="
if ! grep -q '^DATA$' "$DEMO/smtp.log" 2>/dev/null; then
    echo "No message arrived." >&2
    exit 1
fi
sed -n '/^DATA$/,/^\.$/p' "$DEMO/smtp.log" | sed '1d;$d'

link=$(grep -o "http://127\.0\.0\.1:$WEB_PORT/users/tulpa/[^ ]*" "$DEMO/smtp.log" | head -1)
echo
echo "== The download link: $link =="
file=$OUT/$(basename "$link")
curl -sSf -o "$file" "$link"
echo "fetched $(stat -c %s "$file") bytes into $file"

echo
echo "== Restored with vexaro-crypt =="
archive=$(VEXARO_KEY=$KEY "$BUILD/crypto/cli/vexaro-crypt" file "$file" | tail -1)
echo "$archive"
unzip -t "$archive" | tail -1

echo
echo "== Compared with the selection =="
unzip -q -o "$archive" -d "$OUT/unpacked"
status=0
while IFS= read -r entry; do
    if diff -r "$entry" "$OUT/unpacked/$(basename "$entry")" >/dev/null; then
        echo "same: $entry"
    else
        echo "DIFFERENT: $entry"
        status=1
    fi
done <"$DEMO/home/AutoOut.txt"
if [ "$(ls -A "$OUT/unpacked" | sort)" != "$(xargs -d '\n' -n1 basename <"$DEMO/home/AutoOut.txt" | sort)" ]; then
    echo "DIFFERENT: the archive holds $(ls -A "$OUT/unpacked" | tr '\n' ' ')"
    status=1
fi
echo
echo "== How the file travelled =="
if grep -qx 'AUTH TLS' "$DEMO/ftp.log" && grep -qx 'PROT P' "$DEMO/ftp.log"; then
    echo "FTP session: encrypted (AUTH TLS, then PROT P: log-in and every data connection over TLS)"
else
    echo "FTP session: not encrypted (the plain dialogue)"
fi
echo "Screenshots: $DEMO/shots"
exit $status
