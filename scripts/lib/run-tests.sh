# Runs inside a fresh network namespace: only loopback exists, so no test
# can reach another machine. Runs each test executable once under a shared
# Wine server and prints the totals.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ip link set lo up
start_wine_session

passed=0
failed=0
log_dir="$root/build/test-logs"
mkdir -p "$log_dir"
for exe in "$root"/build/x64/tests/*_tests.exe; do
  name=$(basename "$exe" .exe)
  "$wine" "$exe" --gtest_color=no >"$log_dir/$name.log" 2>&1
  status=$?
  ran=$(grep -oP '^\[==========\] \K[0-9]+(?= tests? from)' "$log_dir/$name.log" | tail -1)
  bad=$(grep -oP '^\[  FAILED  \] \K[0-9]+(?= tests?, listed below)' "$log_dir/$name.log" | tail -1)
  ran=${ran:-0}
  bad=${bad:-0}
  if [ "$status" -ne 0 ] && [ "$bad" -eq 0 ]; then
    bad=1  # crashed or failed outside a test case
    echo "$name exited with status $status"
    tail -n 20 "$log_dir/$name.log"
  fi
  [ "$bad" -gt 0 ] && grep '^\[  FAILED  \]' "$log_dir/$name.log" | sort -u
  echo "$name: $((ran - bad)) passed, $bad failed"
  passed=$((passed + ran - bad))
  failed=$((failed + bad))
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
