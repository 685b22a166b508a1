# Runs inside a loopback-only network namespace; see scripts/bench.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ip link set lo up
start_wine_session

if [ $# -eq 0 ]; then
  set -- $(cd "$root/build/x64/bench" && ls bench_*.exe | sed 's/^bench_//; s/\.exe$//')
fi
for name in "$@"; do
  echo "== $name"
  "$wine" "$root/build/x64/bench/bench_$name.exe"
done
