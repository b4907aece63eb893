#!/usr/bin/env bash
# Times a whole member-card payment at one station (read the card, post,
# check and cancel the posting: one zorhost run with the script UI) on each
# database, with the driver manager's connection pooling off and on.
# Prints a Markdown table: runs, minimum and median in milliseconds, and the
# connections the plug-in opened per card read and per payment.
#
#   scripts/bench.sh [RUNS]        (default 15; needs a build in build/)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}
bin=$PWD/build/bin
work=$(mktemp -d /tmp/telmar-bench.XXXXXX)
chmod 755 "$work"
trap '"$bin/telmar-site" destroy "$work/pg-server" >/dev/null 2>&1 || true; rm -rf "$work"' EXIT

make_sites() {
  "$bin/telmar-site" create "$work/sqlite-off" --db sqlite --pooling off >/dev/null
  "$bin/telmar-site" create "$work/sqlite-on" --db sqlite --pooling on >/dev/null
  "$bin/telmar-site" create "$work/pg-server" --db postgresql --pooling off >/dev/null
  "$bin/telmar-site" create "$work/postgresql-off" --db postgresql --server "$work/pg-server" --pooling off >/dev/null
  "$bin/telmar-site" create "$work/postgresql-on" --db postgresql --server "$work/pg-server" --pooling on >/dev/null
}

# Each payment gets an amount of its own: a posting identifier is the card
# and the amount, and an identifier that was cancelled once reads as
# cancelled from then on.
next_serial() {  # a counter kept in a file: payments run in subshells too
  local serial=$(($(cat "$work/serial" 2>/dev/null || echo 0) + 1))
  echo "$serial" >"$work/serial"
  echo "$serial"
}

payment() {  # SITE SQLLOG OPERATIONS...
  local site=$1 log=$2 serial
  shift 2
  serial=$(next_serial)
  YKT_CARD=0:TELMAR:2001 YKT_PIN=4444 "$bin/zorhost" --site "$site" --ui script --answer ok --sql-log "$log" \
    --set STATION_ID=1 --set "TRANS_AMOUNT=$((serial / 100)).$(printf %02d $((serial % 100)))" --set DATE=2026-12-11 \
    --set OPERATOR=BENCH --set POS_GUEST_ACCT=0 "$@" >/dev/null
}

connections() {  # SITE OPERATIONS... -> connections opened by the plug-in
  local log=$work/count.jsonl
  : >"$log"
  payment "$1" "$log" "${@:2}"
  grep -c '"connect"' "$log" || true
}

time_runs() {  # SITE OPERATIONS... -> sorted microseconds, one per line
  local site=$1 start end
  shift
  payment "$site" /dev/null "$@"  # warm the caches
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    payment "$site" /dev/null "$@"
    end=$(date +%s%N)
    echo $(((end - start) / 1000))
  done | sort -n
}

row() {  # LABEL POOLING SITE OPERATIONS...
  local times
  mapfile -t times < <(time_runs "${@:3}")
  local per_read=0
  [[ $4 == version ]] || per_read=$(connections "$3" readcard)
  echo "| $1 | $2 | $runs | $(ms "${times[0]}") | $(ms "${times[$((runs / 2))]}") |" \
    "$per_read | $(connections "$3" "${@:4}") |"
}

ms() { printf '%d.%d' $(($1 / 1000)) $((($1 % 1000) / 100)); }

make_sites
echo "| database | pooling | runs | min (ms) | median (ms) | connections per card read | per payment |"
echo "|---|---|---|---|---|---|---|"
# What every run costs before any database work: start the host, load the
# plug-in, report its version.
row "none (host start and plug-in load only)" - "$work/sqlite-off" version
for config in sqlite-off sqlite-on postgresql-off postgresql-on; do
  row "${config%-*}" "${config##*-}" "$work/$config" readcard post cancancel cancel
done
"$bin/telmar-site" check "$work/postgresql-on" >/dev/null
