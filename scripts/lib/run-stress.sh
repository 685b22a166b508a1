# Runs inside a loopback-only network namespace; see scripts/stress.
#   run-stress.sh WINE PREFIX [stress.py arguments...]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
[ "$1" = "$wine" ] || use_x86_wine
export WINEPREFIX=$2  # the stress runs' own prefix
shift 2
ip link set lo up
start_wine_session

stress_dir="$root/build/stress"
start_double "$stress_dir" 3600
trap stop_double EXIT
python3 "$root/scripts/lib/stress.py" --ports "$stress_dir/ports" --wine "$wine" \
  --resolver "$root/build/$arch/zorvo-resolve.exe" "$@"
