# Shared steps of the entry points: installing what is missing, building,
# and running Windows programs under a private Wine prefix.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
wine=/usr/lib/wine/wine64
arch=x64  # the build whose programs "$wine" runs
export WINEPREFIX="$root/build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# qemu-i386, which runs 32-bit Wine here (ensure_i386_wine), reserves the
# whole 4 GB for its guest by default and places the guest's stack and
# libraries at the top of it. Wine then tries to reserve the upper half for
# itself, halving every request that fails down to 64 KB, and qemu clears
# its page tables for every try: each 32-bit process spent about 60 s of CPU
# starting. With the space ending just above 2 GB there is nothing to try,
# and a process starts in 3 to 4 s. It serves the 32-bit helpers a 64-bit
# prefix starts as well. Windows gives a 32-bit program 2 GB too unless it
# is large-address-aware (ours is).
export QEMU_RESERVED_VA=0x82000000

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

# The shipped 32-bit build runs under Debian's 32-bit Wine. These machines
# have no IA-32 support in the kernel, so its 32-bit ELF loader runs through
# qemu-i386, registered for 32-bit ELF files with binfmt_misc. Both steps are
# skipped when done before.
ensure_i386_wine() {
  local installed
  installed=$(dpkg-query -W -f='${Status}\n' wine32:i386 qemu-user-static 2>/dev/null | grep -c 'install ok installed')
  [ "$installed" -eq 2 ] || install_i386_wine
  local binfmt=/proc/sys/fs/binfmt_misc
  [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt"
  [ -e "$binfmt/qemu-i386" ] || printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' >"$binfmt/register"
}

# Debian's i386 libraries must have exactly the version of their installed
# amd64 twins, and a machine image's amd64 packages often differ from the
# i386 candidates: the twins are moved to the candidates' versions in the
# same call (scripts/lib/i386_pins.py). apt names the i386 packages it could
# not place only one layer at a time; each round adds them to the call.
install_i386_wine() {
  echo "installing: wine32:i386 qemu-user-static"
  export DEBIAN_FRONTEND=noninteractive
  dpkg --add-architecture i386
  apt-get update -qq || true  # an index that fails to load leaves the rest usable
  local wanted=(wine32:i386 qemu-user-static) placed
  wanted+=($(python3 "$root/scripts/lib/i386_pins.py" wine32:i386))
  for _ in 1 2 3 4 5 6; do
    placed=$(apt-get install -s --no-install-recommends --allow-downgrades "${wanted[@]}" 2>&1 |
      grep -oP 'Depends: \K\S+:i386(?= .*but it is not going to be installed)' | sort -u)
    [ -z "$placed" ] && break
    wanted+=($placed)
  done
  apt-get install -y -qq --no-install-recommends --allow-downgrades "${wanted[@]}" >/dev/null
}

# build_target x64|x86 [extra cmake args...]; given arguments configure the
# folder again.
build_target() {
  local arch=$1
  shift
  local dir="$root/build/$arch"
  if [ ! -f "$dir/build.ninja" ] || [ $# -gt 0 ]; then
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch.cmake" "$@" >/dev/null
  fi
  ninja -C "$dir" --quiet
}

# The shipped 32-bit build's Wine and its private prefix, for the rest of
# this shell (after ensure_i386_wine).
use_x86_wine() {
  wine=/usr/lib/wine/wine
  arch=x86
  export WINEPREFIX="$root/build/wineprefix-x86" WINEARCH=win32
}

# Creates the private prefix once and gives it the tests' settings; later
# runs reuse it.
ensure_wine_prefix() {
  if [ ! -f "$WINEPREFIX/.booted" ]; then
    mkdir -p "$WINEPREFIX"
    "$wine" wineboot -i >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w
    touch "$WINEPREFIX/.booted"
  fi
  # All settings in one Wine process, which under qemu costs seconds; a
  # changed list is imported again.
  local settings="$root/scripts/lib/prefix-settings.reg"
  local marker="$WINEPREFIX/.settings-$(md5sum <"$settings" | cut -c1-12)"
  if [ ! -f "$marker" ]; then
    "$wine" regedit /S "$(winepath_of "$settings")" >/dev/null 2>&1 && touch "$marker"
  fi
  # The Wine server those changes started is gone before a session starts
  # its own (in the tests' network namespace).
  /usr/lib/wine/wineserver -w
}

# The Windows path (drive Z:) of a Linux path.
winepath_of() { printf 'Z:%s' "${1//\//\\}"; }

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
  "$wine" "$root/build/$arch/tests/trust-certificate.exe" "$dir/tls/server.crt"
}

# Ends the double and the Wine session: trap stop_double EXIT.
stop_double() { kill "$double_pid" 2>/dev/null || true; stop_wine_session; }
