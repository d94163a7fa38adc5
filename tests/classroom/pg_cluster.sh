#!/bin/sh
# A private PostgreSQL server for the classroom tests and benchmark, listening only on a Unix
# socket inside DIR, with the classroom schema loaded and three logins: student1, student2
# (tipora_student) and teacher (tipora_teacher), each with the password heslo-<login> in
# DIR/pgpass.
#   pg_cluster.sh start DIR        set up and start; prints the export line for the clients
#   pg_cluster.sh stop DIR         stop it (no error when it is not running)
#   pg_cluster.sh down DIR         stop it, keeping its data (also: restart-off)
#   pg_cluster.sh up DIR           start it again after down
# Exits 77 when the server is not installed, unless CI=true, where that is an error.
set -eu

usage() {
    echo "usage: $0 start|stop|down|restart-off|up DIR" >&2
    exit 2
}
[ $# -eq 2 ] || usage
command=$1
mkdir -p "$2"
dir=$(cd "$2" && pwd -P)
port=55432
script="$(cd "$(dirname "$0")/../.." && pwd)/packaging/classroom/tipora-classroom.sql"

bin=""
for candidate in $(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V); do
    [ -x "$candidate/initdb" ] && [ -x "$candidate/pg_ctl" ] && bin=$candidate
done
if [ -z "$bin" ]; then
    echo "the PostgreSQL server is not installed (apt-get install postgresql)" >&2
    [ "${CI:-}" = true ] && exit 1
    exit 77
fi

# initdb refuses root, so the server runs as postgres, from a folder it can read.
if [ "$(id -u)" -eq 0 ]; then
    as_server() { (cd "$dir" && runuser -u postgres -- "$@"); }
else
    as_server() { (cd "$dir" && "$@"); }
fi
superuser_sql() {
    psql -X -q -v ON_ERROR_STOP=1 -h "$dir/socket" -p "$port" -U postgres "$@"
}

wait_ready() {
    tries=0
    until "$bin/pg_isready" -q -h "$dir/socket" -p "$port" -d postgres -U postgres; do
        tries=$((tries + 1))
        if [ $tries -gt 100 ]; then
            echo "the server does not accept connections; its log:" >&2
            cat "$dir/server.log" >&2 || true
            exit 1
        fi
        sleep 0.1
    done
}

start_server() {
    as_server "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 -s start >/dev/null
    wait_ready
}

stop_server() {
    if [ -f "$dir/data/postmaster.pid" ]; then
        as_server "$bin/pg_ctl" -D "$dir/data" -m fast -w -t 60 -s stop
    fi
}

case $command in
start)
    [ ! -e "$dir/data" ] || { echo "$dir/data exists already" >&2; exit 1; }
    if [ "$(id -u)" -eq 0 ]; then
        chown postgres "$dir"
        runuser -u postgres -- test -w "$dir" || {
            echo "the user postgres cannot reach $dir (a folder above it is closed to it)" >&2
            exit 1
        }
    fi
    as_server mkdir -m 700 "$dir/data" "$dir/socket"
    as_server "$bin/initdb" -D "$dir/data" -U postgres -E UTF8 --locale=C.UTF-8 -N \
        -A trust >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }
    as_server sh -c "cat >'$dir/data/pg_hba.conf'" <<HBA
local all postgres trust
local all all scram-sha-256
HBA
    as_server sh -c "cat >>'$dir/data/postgresql.conf'" <<CONF
listen_addresses = ''
port = $port
unix_socket_directories = '$dir/socket'
unix_socket_permissions = 0777
CONF
    # The socket folder must let the clients of any user in.
    chmod 755 "$dir/socket" 2>/dev/null || as_server chmod 755 "$dir/socket"
    start_server
    superuser_sql -d postgres <<SQL
CREATE ROLE tipora_owner NOLOGIN;
CREATE ROLE tipora_student NOLOGIN;
CREATE ROLE tipora_teacher NOLOGIN;
CREATE DATABASE tipora OWNER tipora_owner;
CREATE ROLE student1 LOGIN PASSWORD 'heslo-student1' IN ROLE tipora_student;
CREATE ROLE student2 LOGIN PASSWORD 'heslo-student2' IN ROLE tipora_student;
CREATE ROLE teacher LOGIN PASSWORD 'heslo-teacher' IN ROLE tipora_teacher;
SQL
    # Loaded as the database's owner, as an administrator does.
    superuser_sql -d tipora -c 'SET ROLE tipora_owner' -f "$script"
    umask 077
    printf '*:*:*:%s:heslo-%s\n' student1 student1 student2 student2 teacher teacher \
        >"$dir/pgpass"
    chmod 600 "$dir/pgpass"
    echo "export PGHOST=$dir/socket PGPORT=$port PGDATABASE=tipora PGPASSFILE=$dir/pgpass"
    ;;
stop)
    stop_server
    ;;
down | restart-off)
    [ -f "$dir/data/postmaster.pid" ] || { echo "no server is running in $dir" >&2; exit 1; }
    stop_server
    ;;
up)
    start_server
    ;;
*)
    usage
    ;;
esac
