#!/usr/bin/env bash
# Drives Vexaro on a virtual display as a person would: confirms each message with Return and
# starts "Compress/Upload" from the keyboard once the list is loaded. Saves a screenshot of the screen
# whenever a window appears or changes its title. Usage: drive.sh VEXARO SHOTS_FOLDER
set -uo pipefail
APP=$1
SHOTS=$2
# The program's own windows; every other window is a message box.
WINDOWS='^(Select File\(s\) to Upload|ZIP Compression Application|Quorbit Arkovo - .*|Working\.\.\.'
WINDOWS+='|Log Window|File\(s\) Upload Progress Window|Connecting\.\.\.|Connected to Vexaro Server at .*'
WINDOWS+='|\[Encryption Process\]|Internal Mailer|Conneted To: .*|Connect to Server .*|Email Notification)$'

"$APP" -autoload &
app=$!
declare -A seen
shots=0
started=no
deadline=$((SECONDS + 100))
while kill -0 "$app" 2>/dev/null; do
    if ((SECONDS > deadline)); then
        echo "Vexaro did not finish within 100 seconds; stopping it." >&2
        kill "$app"
        exit 1
    fi
    boxes=()
    for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
        title=$(xdotool getwindowname "$w" 2>/dev/null | tr -d '\r\n') || continue
        [ -n "$title" ] || continue
        if [ -z "${seen[$w:$title]:-}" ]; then
            seen[$w:$title]=1
            shots=$((shots + 1))
            file=$(printf '%s/%02d-%s.png' "$SHOTS" "$shots" "$(tr -c 'A-Za-z0-9' '_' <<<"$title" | cut -c1-40)")
            scrot -o "$file" 2>/dev/null && echo "  window \"$title\" -> $file"
        fi
        grep -Eq "$WINDOWS" <<<"$title" || boxes+=("$w")
    done
    for w in "${boxes[@]}"; do
        xdotool windowfocus --sync "$w" key Return 2>/dev/null
    done
    # Started once the archive window names the archive (or the next window shows).
    if [ "$started" = no ] && xdotool search --onlyvisible --name \
        '^(Quorbit Arkovo - .*|Working\.\.\.|Connecting\.\.\.|File\(s\) Upload Progress Window)$' >/dev/null 2>&1; then
        started=yes
    fi
    if [ "$started" = no ] && [ ${#boxes[@]} -eq 0 ]; then
        w=$(xdotool search --onlyvisible --name '^Select File\(s\) to Upload$' 2>/dev/null | head -1)
        if [ -n "$w" ]; then
            # Alt+C is also the slider label's key, so it moves the focus between the two; a
            # person presses it until the button has the focus, then Space. The click on an empty
            # spot of the window first makes it the active window.
            echo "  pressing Alt+C and Space (Compress/Upload)"
            xdotool mousemove --window "$w" 600 20 click 1 sleep 0.2 key alt+c sleep 0.2 key space
            sleep 1
        fi
    fi
    sleep 0.1
done
wait "$app"
echo "Vexaro ended (exit status $?)."
