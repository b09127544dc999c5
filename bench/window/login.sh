#!/bin/sh
# The login as an operator meets it in a real window: the program started
# on a virtual screen of its own (Xvfb), the entry picked and the operator
# typed with xdotool, Enter pressed, and the time until the screen shows the
# cashier panel (loginwatch.c: the last large change of the screen), with
# the CPU the program spent meanwhile. Each run is a new process of the
# program (the first login of the day), then a logout and a second login.
#
#   bench/window/login.sh <program folder> [entry's place in the list] [runs]
#
# The program folder holds the program (orvanta, copied there) and the
# entries: a database file, or an ODBC marker of a server entry. The entry
# is picked by its place in the Database box (1: the first).
set -e
folder=$(cd "$1" && pwd)
place=${2:-1}
runs=${3:-5}
here=$(cd "$(dirname "$0")" && pwd)
watch=$(mktemp)
gcc -O2 -o "$watch" "$here/loginwatch.c" -lX11
display=:$((90 + $$ % 9))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -f "$watch"' EXIT
export DISPLAY=$display QT_QPA_PLATFORM=xcb
sleep 1

type_login() {
    # The Database box, its entry, the user name and the password.
    xdotool mousemove --window "$1" 549 252 click 1
    sleep 0.3
    xdotool key Escape
    xdotool key Home
    i=1
    while [ "$i" -lt "$place" ]; do xdotool key Down; i=$((i + 1)); done
    xdotool key Return
    sleep 0.2
    xdotool type --delay 20 Admin
    xdotool key Return
    sleep 0.2
    xdotool type --delay 20 admin
    sleep 1
}

run=1
while [ "$run" -le "$runs" ]; do
    (cd "$folder" && exec ./orvanta >/dev/null 2>&1) &
    program=$!
    window=$(xdotool search --sync --onlyvisible --pid "$program" --name . | head -1)
    sleep 1
    type_login "$window"
    printf 'new process:  %s\n' "$("$watch" "$program")"
    # LOGOUT, and its question answered Yes.
    xdotool mousemove --window "$window" 683 19 click 1
    sleep 0.5
    xdotool key Return
    sleep 1
    type_login "$window"
    printf 'after logout: %s\n' "$("$watch" "$program")"
    kill "$program"
    wait "$program" 2>/dev/null || true
    run=$((run + 1))
done
