# Runs inside a loopback-only network namespace; see scripts/demo.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ip link set lo up
start_wine_session

demo_dir="$root/build/demo"
start_double "$demo_dir" 120
read -r _ https_port <"$demo_dir/ports"
base_site="https://localhost:$https_port"
stop_double() { curl -sk "$base_site/_control/shutdown" >/dev/null || true; stop_wine_session; }
trap stop_double EXIT

echo "Zorvo double at $base_site"
curl -sk "$base_site/_control/shares?base=$base_site" >"$demo_dir/shares.json"
demo_shares=$(python3 -c '
import json, sys
shares = {share["id"]: share for share in json.load(open(sys.argv[1]))}
for id in ("framed", "framed-pw", "inline", "inline-pw"):
    print("%s\t%s\t%s" % (id, shares[id]["url"], shares[id]["password"]))' "$demo_dir/shares.json")
while IFS=$'\t' read -r id url password; do
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
