#!/usr/bin/env bash
# The main job on the embedded default database: a member card pays a bill
# at a station, the posting is checked and cancelled, and the card's balance
# is shown before, after the payment and after the cancellation.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh

site=${TELMAR_SITE:-site}
[[ -d $site ]] || build/bin/telmar-site create "$site"
zorhost=(build/bin/zorhost --site "$site" --ui script --ui-log /dev/stdout)
sql() { build/bin/telmar-site sql "$site" "$1"; }
balance() { sql "SELECT 'card 2001 balance: ' || Surplus FROM SavingsCard WHERE CardID='2001'"; }

"${zorhost[@]}" version
balance
echo "--- a card of another hotel is refused"
YKT_CARD=0:ELSEWH:2001 YKT_PIN=4444 "${zorhost[@]}" --set STATION_ID=1 readcard || true
echo "--- member card 2001 pays 30.00, then the posting is checked and cancelled"
YKT_CARD=0:TELMAR:2001 YKT_PIN=4444 "${zorhost[@]}" --answer ok \
  --set STATION_ID=1 --set TRANS_AMOUNT=30.00 --set DATE=2026-12-11 --set OPERATOR=OP1 --set POS_GUEST_ACCT=0 \
  readcard post
balance
last_id=$(sql "SELECT TRANS_ID FROM yktpaydetail ORDER BY PayNo DESC LIMIT 1")
"${zorhost[@]}" --set TRANS_TYPE=4 --set OPERATOR=OP1 --set "TRANS_ID=$last_id" cancancel cancel
balance
build/bin/telmar-site check "$site"
