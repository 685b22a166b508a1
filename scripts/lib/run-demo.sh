# Runs inside a loopback-only network namespace; see scripts/demo.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ip link set lo up
mode=${1:-}
demo_dir="$root/build/demo"

if [ "$mode" = --window ]; then
  # The window on the caller's display, with a Wine server of its own.
  start_wine_session() { /usr/lib/wine/wineserver -p >/dev/null 2>&1; }
  stop_wine_session() { /usr/lib/wine/wineserver -k 2>/dev/null || true; }
  start_wine_session
  start_double "$demo_dir" 3600
else
  start_wine_session
  start_double "$demo_dir" 120
fi
trap stop_double EXIT

echo "Zorvo double at $base_site"
curl -sk "$base_site/_control/shares?base=$base_site" >"$demo_dir/shares.json"
demo_shares=$(python3 -c '
import json, sys
shares = {share["id"]: share for share in json.load(open(sys.argv[1]))}
for id in ("framed", "framed-pw", "inline", "inline-pw", "wrong-password"):
    print("%s\t%s\t%s" % (id, shares[id]["url"], shares[id]["password"]))' "$demo_dir/shares.json")

if [ "$mode" = --window ]; then
  echo "Shares to try (link, then password if any):"
  while IFS=$'\t' read -r id url password; do
    echo "  $url${password:+   $password}"
  done <<<"$demo_shares"
  echo "Close the window to end the demo."
  "$wine" "$root/build/x64/zorvo-link-test.exe" --online-check-url "http://127.0.0.1:$http_port/" \
    --base-site "$base_site" </dev/null
  exit 0
fi

while IFS=$'\t' read -r id url password; do
  [ "$id" = wrong-password ] && continue
  arguments=(--json --base-site "$base_site")
  [ -n "$password" ] && arguments+=(--password "$password")
  echo
  echo "share $id: $url${password:+ (password $password)}"
  "$wine" "$root/build/x64/zorvo-resolve.exe" "${arguments[@]}" "$url" </dev/null | python3 -c '
import json, sys
result = json.loads(sys.stdin.readline())
for key, label in (("link", "link"), ("fileName", "name"), ("fileSize", "size"), ("errorText", "error")):
    if result[key]:
        print("  %-5s %s" % (label, result[key]))'
done <<<"$demo_shares"
