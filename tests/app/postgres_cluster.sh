#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for the data-layer tests and benchmarks, listening only on a
# Unix socket in its own folder, run by an unprivileged user (nobody when started as root).
#   postgres_cluster.sh start DIR [durable]
#                                   makes the cluster in DIR, starts it, creates the database
#                                   "kelda" for the role "kelda" (trusted on the socket); it skips
#                                   flushing to disk unless "durable" (the benchmarks' saves) is said
#   postgres_cluster.sh stop DIR    stops it and removes DIR
set -euo pipefail
action=${1:?start or stop}
dir=${2:?the cluster folder}

bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
if [ -z "$bin" ] || [ ! -x "$bin/pg_ctl" ]; then
  echo "PostgreSQL is not installed (make deps installs it)" >&2
  exit 1
fi
as_owner=()
[ "$(id -u)" -eq 0 ] && as_owner=(runuser -u nobody --)

case $action in
start)
  if [ -f "$dir/data/postmaster.pid" ]; then "${as_owner[@]}" "$bin/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true; fi
  rm -rf "$dir"
  mkdir -p "$dir"
  [ ${#as_owner[@]} -gt 0 ] && chown nobody "$dir"
  # Text is compared as people read it by default (as on an office's server); the address
  # book's own columns must not depend on that.
  "${as_owner[@]}" "$bin/initdb" -D "$dir/data" -U kelda --auth=trust -E UTF8 --locale=C.UTF-8 \
    --locale-provider=icu --icu-locale=en-US -N >"$dir/initdb.log" 2>&1 ||
    { cat "$dir/initdb.log" >&2; exit 1; }
  settings="-c listen_addresses='' -c unix_socket_directories='$dir' -c max_connections=60"
  [ "${3:-}" = durable ] || settings="$settings -c fsync=off -c full_page_writes=off -c synchronous_commit=off"
  "${as_owner[@]}" "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 30 -o "$settings" start >/dev/null ||
    { cat "$dir/server.log" >&2; exit 1; }
  "$bin/createdb" -h "$dir" -U kelda kelda
  echo "PostgreSQL $("$bin/postgres" --version | awk '{print $3}') on $dir"
  ;;
stop)
  if [ -f "$dir/data/postmaster.pid" ]; then "${as_owner[@]}" "$bin/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null || true; fi
  rm -rf "$dir"
  ;;
*)
  echo "usage: $0 start|stop DIR" >&2
  exit 2
  ;;
esac
