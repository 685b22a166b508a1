# Runs inside a fresh network namespace: only loopback exists, so no test
# can reach another machine. Runs each test executable once under a shared
# Wine server, then the Python tools' tests, and prints the totals. With
# arguments SUITE [gtest arguments...] it runs that one suite only.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ip link set lo up
start_wine_session
rm -rf "$root/build/test-scratch"  # a fresh certificate for the local servers each run

passed=0
failed=0
log_dir="$root/build/test-logs"
mkdir -p "$log_dir"

# Adds one test program's counts to the totals and shows its failures.
# tally NAME RAN BAD STATUS LOG FAILURE-LINE-PATTERN
tally() {
  local name=$1 ran=${2:-0} bad=${3:-0} status=$4 log=$5 pattern=$6
  if [ "$status" -ne 0 ] && [ "$bad" -eq 0 ]; then
    bad=1  # crashed or failed outside a test case
    echo "$name exited with status $status"
    tail -n 20 "$log"
  fi
  [ "$bad" -gt "$ran" ] && ran=$bad
  [ "$bad" -gt 0 ] && grep -E "$pattern" "$log" | sort -u
  echo "$name: $((ran - bad)) passed, $bad failed"
  passed=$((passed + ran - bad))
  failed=$((failed + bad))
}

suite=${1:-}
[ $# -gt 0 ] && shift
suites=("$root"/build/x64/tests/*_tests.exe)
[ -n "$suite" ] && suites=("$root/build/x64/tests/${suite}_tests.exe")
[ "$suite" = tools ] && suites=()

for exe in "${suites[@]}"; do
  name=$(basename "$exe" .exe)
  log="$log_dir/$name.log"
  "$wine" "$exe" --gtest_color=no "$@" >"$log" 2>&1
  status=$?
  tally "$name" "$(grep -oP '^\[==========\] \K[0-9]+(?= tests? from)' "$log" | tail -1)" \
    "$(grep -oP '^\[  FAILED  \] \K[0-9]+(?= tests?, listed below)' "$log" | tail -1)" \
    "$status" "$log" '^\[  FAILED  \]'
done

# A unittest test counts as failed once, however many of its subtests fail.
if [ -z "$suite" ] || [ "$suite" = tools ]; then
  log="$log_dir/tools_tests.log"
  python3 -m unittest discover -s "$root/tests/tools" -t "$root/tests/tools" >"$log" 2>&1
  status=$?
  tally tools_tests "$(grep -oP '^Ran \K[0-9]+' "$log" | tail -1)" \
    "$(grep -oP '^(FAIL|ERROR): \K\S+' "$log" | sort -u | wc -l)" "$status" "$log" '^(FAIL|ERROR): '
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
