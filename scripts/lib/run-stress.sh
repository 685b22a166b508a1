# Runs inside a loopback-only network namespace; see scripts/stress.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
export WINEPREFIX=$1  # the stress runs' own prefix
shift
ip link set lo up
start_wine_session

stress_dir="$root/build/stress"
rm -rf "$stress_dir"
mkdir -p "$stress_dir"
python3 "$root/tools/zorvo_double.py" --port-file "$stress_dir/ports" --tls-dir "$stress_dir/tls" --idle 3600 >/dev/null &
double_pid=$!
for _ in $(seq 100); do [ -s "$stress_dir/ports" ] && break; sleep 0.1; done
stop_double() { kill "$double_pid" 2>/dev/null || true; stop_wine_session; }
trap stop_double EXIT

# The request object checks certificates: trust the double's own.
"$wine" "$root/build/x64/tests/trust-certificate.exe" "$stress_dir/tls/server.crt"
python3 "$root/scripts/lib/stress.py" --ports "$stress_dir/ports" --wine "$wine" \
  --resolver "$root/build/x64/zorvo-resolve.exe" "$@"
