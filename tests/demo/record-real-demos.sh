#!/usr/bin/env bash
# Records the real demos of tests/demo/data with Debian's ioquake3 engine and
# the OpenArena game data. Run once by hand; scripts/test does not run it and
# CI never installs the engine: the demos it makes are committed.
#   tests/demo/record-real-demos.sh      (installs openarena with apt-get if missing)
#
# Each demo: a dedicated server started with devmap and two bots added, a
# client in a virtual X server with software rendering that connects to it,
# `record`, a measured wait, `stoprecord`. The server runs apart from the
# client so that its clock keeps to the wall clock even when rendering is
# slow (a listen server's time falls behind when its frames take too long).
# The client's console lines are stamped with the wall clock as they come;
# the time from its "recording to" line to its "Stopped demo." line goes to
# data/recordings.txt, and the tests compare the reader's length with it.
# KEEP_WORK=1 keeps the logs (the folder is named at the end).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$here/data
mkdir -p "$out"

if [ ! -x /usr/games/openarena ]; then
  [ "$(id -u)" -eq 0 ] && sudo="" || sudo=sudo
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq openarena ioquake3 xvfb libgl1-mesa-dri bc
fi

work=$(mktemp -d)
display=:$((90 + RANDOM % 100))
port=$((28000 + RANDOM % 2000))
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
server_pid=""
client_pid=""
cleanup() {
  # The engine does not stop on SIGTERM while it waits for its console.
  for pid in $client_pid $server_pid; do kill -KILL "$pid" 2>/dev/null || true; done
  kill "$xvfb_pid" 2>/dev/null || true
  if [ -n "${KEEP_WORK:-}" ]; then echo "logs kept in $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT

manifest=$out/recordings.txt
{
  echo "# name, then the seconds from the client's \"recording to\" line to its \"Stopped demo.\" line"
} >"$manifest"

# The engine's settings as Debian's openarena wrapper gives them.
game=(+set com_basegame baseoa +set fs_basepath /usr/lib/openarena +set com_homepath .openarena
      +set com_legacyprotocol 71 +set com_protocol 71)

# wait_for <log> <pattern> <count>: until the log has that many matching lines (two minutes at most).
wait_for() {
  local log=$1 pattern=$2 count=$3
  for _ in $(seq 1200); do
    [ "$(grep -c -- "$pattern" "$log" || true)" -ge "$count" ] && return 0
    sleep 0.1
  done
  echo "timed out waiting for '$pattern' in $log:" >&2
  tail -40 "$log" >&2
  exit 1
}

# Each line with the wall-clock time it came at.
stamp() { while IFS= read -r line; do printf '%s %s\n' "$EPOCHREALTIME" "$line"; done; }

# The seconds between the first client lines matching each pattern.
between() {
  local from to
  from=$(grep -m1 -- "$1" "$work/client.log" | cut -d' ' -f1)
  to=$(grep -m1 -- "$2" "$work/client.log" | cut -d' ' -f1)
  echo "$to - $from" | bc
}

server() { echo "$*" >&3; }
client() { echo "$*" >&4; }

# start <map> <game type number> <team or empty> <bot> <bot>: the server on
# that map with two bots, and the client connected to it.
start() {
  local map=$1 gametype=$2 team=$3
  shift 3
  rm -f "$work"/*.fifo "$work"/*.log "$work/client.out"
  mkfifo "$work/server.fifo" "$work/client.fifo" "$work/client.out"
  stamp <"$work/client.out" >"$work/client.log" &
  HOME=$work/home /usr/lib/ioquake3/ioq3ded "${game[@]}" +set net_port "$port" +set sv_hostname "^1Reel^7wright ^3Test Server" \
    +set g_gametype "$gametype" +set g_teamAutoJoin 1 +set fraglimit 0 +set timelimit 0 +set capturelimit 0 \
    +set bot_enable 1 +devmap "$map" <"$work/server.fifo" >"$work/server.log" 2>&1 &
  server_pid=$!
  exec 3>"$work/server.fifo"
  wait_for "$work/server.log" "AAS initialized" 1
  for bot in "$@"; do server "addbot $bot 1 $team"; done
  wait_for "$work/server.log" "ClientBegin:" $#

  HOME=$work/home DISPLAY=$display LIBGL_ALWAYS_SOFTWARE=1 /usr/lib/ioquake3/ioquake3 "${game[@]}" \
    +set r_mode -1 +set r_customwidth 320 +set r_customheight 240 +set r_fullscreen 0 +set s_initsound 0 \
    +set cl_motd 0 +set name "^2Reel^3Tester" +connect "127.0.0.1:$port" \
    <"$work/client.fifo" >"$work/client.out" 2>&1 &
  client_pid=$!
  exec 4>"$work/client.fifo"
  wait_for "$work/server.log" "ClientBegin:" $(($# + 1))
  # The client has the map loaded once its memory is touched.
  wait_for "$work/client.log" "Com_TouchMemory" 1
}

stop() {
  client quit
  server quit
  exec 3>&- 4>&-
  wait "$client_pid" "$server_pid" || true
  client_pid=""
  server_pid=""
}

# record <name> <seconds>: a demo of that long, once the client has settled.
record() {
  sleep 3
  client "record $1"
  sleep "$2"
  client stoprecord
  wait_for "$work/client.log" "Stopped demo" 1
  echo "$1 $(between "recording to demos/$1" "Stopped demo")" >>"$manifest"
  stop
  cp "$work/home/.openarena/baseoa/demos/$1.dm_71" "$out/$1.dm_71"
}

# A free-for-all of 20 seconds.
start oa_dm1 0 "" Sarge Grism
record ffa-oa_dm1 20

# Capture the flag, 15 seconds, a bot on each team.
start oa_ctf2 4 "" Angelyss Kyonshi
record ctf-oa_ctf2 15

# Team deathmatch on another map, 10 seconds.
start oa_dm2 3 "" Major Gargoyle
record tdm-oa_dm2 10

cat "$manifest"
ls -l "$out"
