# Sourced by the scripts that run windows without a display.
# on_virtual_display SCREEN LOG COMMAND...: runs COMMAND under a new virtual X server (xvfb-run,
# SCREEN such as 1280x900x24, the server's own messages kept in LOG) once the server answers.
# A server that does not answer within five seconds gets one more try on another display.
on_virtual_display() {
    local screen=$1 log=$2 status attempt
    shift 2
    for attempt in 1 2; do
        status=0
        # Exit status 75 (a temporary failure) means that the display never answered.
        xvfb-run -a -e "$log" -s "-screen 0 $screen" bash -c '
            for _ in $(seq 50); do
                xdotool getdisplaygeometry >/dev/null 2>&1 && exec "$@"
                sleep 0.1
            done
            echo "The virtual display $DISPLAY does not answer." >&2
            exit 75' on_virtual_display "$@" || status=$?
        [ "$status" -eq 75 ] && [ "$attempt" -eq 1 ] || return "$status"
        echo "Trying again on another virtual display." >&2
    done
}
