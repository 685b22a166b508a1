# start_double DIR [IDLE_SECONDS]: starts the local double of the share
# service (tools/zorvo_double.py) with its files in DIR, trusts its
# certificate in the Wine prefix, and sets http_port, https_port and
# base_site. Call after start_wine_session; stop_double ends both.
start_double() {
  local dir=$1 idle=${2:-120}
  rm -rf "$dir"
  mkdir -p "$dir"
  python3 "$root/tools/zorvo_double.py" --port-file "$dir/ports" --tls-dir "$dir/tls" --idle "$idle" >/dev/null &
  for _ in $(seq 100); do [ -s "$dir/ports" ] && break; sleep 0.1; done
  read -r http_port https_port <"$dir/ports"
  base_site="https://localhost:$https_port"
  trap stop_double EXIT
  # The request object checks certificates: trust the double's own.
  "$wine" "$root/build/x64/tests/trust-certificate.exe" "$dir/tls/server.crt"
}

stop_double() {
  curl -sk "$base_site/_control/shutdown" >/dev/null || true
  stop_wine_session
}
