#!/usr/bin/env bash
# make run: starts VDEI_SRV on the sample database (port 1024, or a free
# port when 1024 is taken), then the client VDEI_CLI: its window where a
# display is available (closing it ends both), otherwise
# `VDEI_CLI --fetch xml`, which prints the CUSTOMER table, after which the
# server keeps running until Ctrl-C. Ctrl-C (or SIGTERM) ends both cleanly.
set -euo pipefail
build=${1:-build}
server="$build/src/server/VDEI_SRV"
client="$build/src/client/VDEI_CLI"
log=$(mktemp)
pid=
client_pid=
port=

stop() {
  local p
  for p in "$client_pid" "$pid"; do
    if [ -n "$p" ] && kill -0 "$p" 2>/dev/null; then
      kill -TERM "$p" 2>/dev/null || true
      wait "$p" 2>/dev/null || true
    fi
  done
}
trap 'stop; rm -f "$log"' EXIT
trap 'echo; echo "Stopping."; exit 0' INT TERM

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

if [ -n "${QT_QPA_PLATFORM:-}${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "VDEI_CLI shows its window: press \"Request dataset from server\" to load the table."
  echo "Closing the client's window (or Ctrl-C) ends both programs."
  "$client" --host 127.0.0.1 --port "$port" &
  client_pid=$!
  wait "$client_pid" || true
  client_pid=
  exit 0
fi

echo "No display: VDEI_CLI --fetch xml --port $port prints the table it loaded."
echo
"$client" --fetch xml --host 127.0.0.1 --port "$port"
echo
echo "Ask again with the client, or any TCP tool (README, section VDEI_SRV), for example:"
echo "  $client --fetch html --print csv --port $port"
echo "  printf %s '%GET DATA%' | nc 127.0.0.1 $port"
echo "The server keeps running; its status lines follow. Ctrl-C stops it."
after=$(($(grep -n -m 1 '^listening on ' "$log" | cut -d: -f1) + 1))
tail -n "+$after" -f --pid="$pid" "$log" &
wait "$pid" || true
pid=
