# Runs inside a loopback-only network namespace; see scripts/screenshot.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ip link set lo up
start_wine_session
start_double "$root/build/screenshot" 120
trap stop_double EXIT

share=$(curl -sk "$base_site/_control/share/framed-pw")
python3 - "$share" >"$root/build/screenshot/share" <<'PY'
import sys, urllib.parse
share = dict(urllib.parse.parse_qsl(sys.argv[1]))
print(share["url"])
print(share["password"])
PY
{ read -r url; read -r password; } <"$root/build/screenshot/share"
mkdir -p "$(dirname "$1")"
"$wine" "$root/build/x64/tests/window-screenshot.exe" "$1" "$url" "$password" \
  "$root/build/x64/zorvo-link-test.exe" --online-check-url "http://127.0.0.1:$http_port/" --base-site "$base_site"
echo "wrote $1"
