# Shared steps of the entry points: installing what is missing, building,
# and running Windows programs under a private Wine prefix.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
wine=/usr/lib/wine/wine64
export WINEPREFIX="$root/build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

required_packages=(
  cmake ninja-build g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  wine64 xvfb xauth googletest python3 openssl curl iproute2 util-linux
  fonts-wqy-microhei
)

ensure_packages() {
  local missing=()
  for package in "${required_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# build_target x64|x86 [extra cmake args...]
build_target() {
  local arch=$1
  shift
  local dir="$root/build/$arch"
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch.cmake" "$@" >/dev/null
  fi
  ninja -C "$dir" --quiet
}

# Creates the private prefix once; later runs reuse it.
ensure_wine_prefix() {
  if [ ! -f "$WINEPREFIX/.booted" ]; then
    mkdir -p "$WINEPREFIX"
    "$wine" wineboot -i >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w
    touch "$WINEPREFIX/.booted"
  fi
  # A crashing program gets a backtrace on its output and ends; Wine's crash
  # dialog would wait for a click that never comes and hang the run.
  prefix_value no-crash-dialog 'HKCU\Software\Wine\WineDbg' ShowCrashDialog REG_DWORD 0
  # No window manager runs under Xvfb: windows Wine leaves to one wait two
  # seconds for it each time they are hidden or destroyed.
  prefix_value unmanaged-windows 'HKCU\Software\Wine\X11 Driver' Managed REG_SZ N
  # The prefix has no Windows fonts: the dialog face the window program asks
  # for and the face of captions and message boxes are replaced by
  # WenQuanYi Micro Hei, so windows and screenshots show their Chinese.
  for face in 'Segoe UI' Tahoma; do
    prefix_value "font-$face" 'HKCU\Software\Wine\Fonts\Replacements' "$face" REG_SZ 'WenQuanYi Micro Hei'
  done
  # The Wine server those changes started is gone before a session starts
  # its own (in the tests' network namespace).
  /usr/lib/wine/wineserver -w
}

# Sets a registry value in the prefix once; later runs find its marker.
# prefix_value MARKER KEY NAME TYPE DATA
prefix_value() {
  [ -f "$WINEPREFIX/.$1" ] && return 0
  "$wine" reg add "$2" /v "$3" /t "$4" /d "$5" /f >/dev/null 2>&1
  touch "$WINEPREFIX/.$1"
}

# Starts a display and a persistent Wine server for this shell's lifetime.
start_wine_session() {
  # A display no other run on this machine holds.
  local number=$((90 + RANDOM % 100))
  while [ -e "/tmp/.X$number-lock" ]; do number=$((90 + RANDOM % 100)); done
  local display=:$number
  Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=$display
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
  /usr/lib/wine/wineserver -p >/dev/null 2>&1
  # Start Wine's background services now, detached from our output, so no
  # pipe of a caller is held open by them.
  "$wine" cmd /c exit >/dev/null 2>&1 </dev/null
  trap stop_wine_session EXIT
}

stop_wine_session() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
}

# Starts the local double of the service with its files in a fresh folder,
# waits until it listens and trusts its certificate in the prefix (the
# request object checks certificates). Its pid is left in double_pid, its
# ports in http_port and https_port, the resolver's base site in base_site.
# start_double DIR IDLE_SECONDS
start_double() {
  local dir=$1 idle=$2
  rm -rf "$dir"
  mkdir -p "$dir"
  python3 "$root/tools/zorvo_double.py" --port-file "$dir/ports" --tls-dir "$dir/tls" --idle "$idle" >/dev/null &
  double_pid=$!
  for _ in $(seq 100); do [ -s "$dir/ports" ] && break; sleep 0.1; done
  read -r http_port https_port <"$dir/ports"
  base_site="https://localhost:$https_port"
  "$wine" "$root/build/x64/tests/trust-certificate.exe" "$dir/tls/server.crt"
}

# Ends the double and the Wine session: trap stop_double EXIT.
stop_double() { kill "$double_pid" 2>/dev/null || true; stop_wine_session; }
