#!/usr/bin/env bash
# make run: starts VDEI_SRV on the sample database (a window when there is a
# display, headless otherwise), asks it once for the XML package over
# loopback, prints the package's first rows, and leaves the server running
# until Ctrl-C (or SIGTERM), which ends it cleanly.
set -euo pipefail
build=${1:-build}
server="$build/src/server/VDEI_SRV"
log=$(mktemp)
package=$(mktemp)
pid=
port=

stop_server() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill -TERM "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
}
trap 'stop_server; rm -f "$log" "$package"' EXIT
trap 'echo; echo "Stopping the server."; exit 0' INT TERM

# Starts the server with the given options and sets port once it listens;
# returns 1 when the server ended first.
start_server() {
  : >"$log"
  "$server" "$@" 2>>"$log" &
  pid=$!
  for _ in $(seq 1 200); do
    if grep -q '^listening on ' "$log"; then
      port=$(sed -n 's/^listening on .*:\([0-9]*\)$/\1/p' "$log" | head -n 1)
      return 0
    fi
    kill -0 "$pid" 2>/dev/null || { wait "$pid" || true; pid=; return 1; }
    sleep 0.05
  done
  echo "VDEI_SRV did not start:" >&2
  cat "$log" >&2
  exit 1
}

if ! start_server --port 1024; then
  if grep -q 'Cannot listen on port' "$log"; then
    echo "Port 1024 is taken ($(tail -n 1 "$log")); using a free port instead."
    start_server --port 0 || { cat "$log" >&2; exit 1; }
  else
    cat "$log" >&2
    exit 1
  fi
fi
echo "VDEI_SRV (pid $pid) $(grep -m 1 '^listening on ' "$log")"

# One request, as any client makes it: the marker, then read until the
# server closes the connection.
exec 3<>"/dev/tcp/127.0.0.1/$port"
printf '%%GET DATA%%XML%%' >&3
cat <&3 >"$package"
exec 3<&-

rows=$(grep -o '<ROW [^>]*/>' "$package" | wc -l)
echo "XML package: $(wc -c <"$package") bytes, $rows rows. The first five:"
# sed reads the whole list (head would stop early and fail the pipeline).
grep -o '<ROW [^>]*/>' "$package" | sed -n '1,5p' |
  sed -e 's/^<ROW //' -e 's/\/>$//' -e 's/&lt;/</g' -e 's/&gt;/>/g' -e 's/&quot;/"/g' \
    -e "s/&apos;/'/g" -e 's/&amp;/\&/g' -e 's/^/  /'
echo
echo "Ask for more with any TCP tool (README, section VDEI_SRV), for example:"
echo "  bash -c 'exec 3<>/dev/tcp/127.0.0.1/$port; printf %s \"%GET DATA%HTML%\" >&3; cat <&3'"
echo "  printf %s '%GET DATA%' | nc 127.0.0.1 $port"
if [ -n "${QT_QPA_PLATFORM:-}${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "The server keeps running; its window shows what it does. Ctrl-C or closing the window stops it."
else
  echo "The server keeps running; its status lines follow. Ctrl-C stops it."
fi
after=$(($(grep -n -m 1 '^listening on ' "$log" | cut -d: -f1) + 1))
tail -n "+$after" -f --pid="$pid" "$log" &
wait "$pid" || true
pid=
