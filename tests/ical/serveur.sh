# Sourced by the sync tests: a real Radicale on a free loopback port, with its
# own folder under $tmp and one user, lucie, whose calendar is at $url;
# `demarre` starts it (its pid in $radicale_pid), `autre` is the second client
# (python3-caldav) on the same calendar. Needs $tmp and $ici.
port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
printf 'lucie:secret\n' >"$tmp/utilisateurs"
printf '[server]\nhosts = 127.0.0.1:%s\n[auth]\ntype = htpasswd\nhtpasswd_filename = %s\nhtpasswd_encryption = plain\ndelay = 0\n[rights]\ntype = owner_only\n[storage]\nfilesystem_folder = %s\n[web]\ntype = none\n' \
    "$port" "$tmp/utilisateurs" "$tmp/collections" >"$tmp/config"
mkdir -p "$tmp/collections/collection-root/lucie/agenda"
echo '{"tag": "VCALENDAR"}' >"$tmp/collections/collection-root/lucie/agenda/.Radicale.props"
url="http://127.0.0.1:$port/lucie/agenda/"
radicale_pid=
autre() { /usr/bin/python3 "$ici/autre_client.py" "$url" lucie secret "$@"; }
demarre() {
    radicale --config "$tmp/config" >>"$tmp/radicale.log" 2>&1 &
    radicale_pid=$!
    for _ in $(seq 100); do
        autre liste >/dev/null 2>&1 && return
        sleep 0.1
    done
    echo "radicale ne démarre pas" >&2; cat "$tmp/radicale.log" >&2; exit 1
}
arrete() {
    kill "$radicale_pid"; wait "$radicale_pid" 2>/dev/null || true; radicale_pid=
}
