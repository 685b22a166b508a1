# Runs inside a loopback-only network namespace; see scripts/stress.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
export WINEPREFIX=$1  # the stress runs' own prefix
shift
ip link set lo up
start_wine_session

stress_dir="$root/build/stress"
start_double "$stress_dir" 3600
trap stop_double EXIT
python3 "$root/scripts/lib/stress.py" --ports "$stress_dir/ports" --wine "$wine" \
  --resolver "$root/build/x64/zorvo-resolve.exe" "$@"
