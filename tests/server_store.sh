#!/usr/bin/env bash
# A real PostgreSQL server for the results' tests: made in a temporary folder by an unprivileged
# user, reached through a Unix socket in that folder only, stopped and removed at the end. The
# teacher owns the class's database and may make roles; she is no superuser.
set -euo pipefail
test_binary=$1
program=$2
bin=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)
folder=$(mktemp -d)
as=()
if ((EUID == 0)); then
    chown nobody "$folder"
    as=(runuser -u nobody --)
fi
control() { (cd "$folder" && "${as[@]}" "$bin/pg_ctl" -D "$folder/data" -l "$folder/log" -w "$@" >/dev/null); }
cleanup() {
    control -m immediate stop 2>/dev/null || true
    rm -rf "$folder"
}
trap cleanup EXIT
printf 'owner-secret\n' >"$folder/password"
((EUID == 0)) && chown nobody "$folder/password"
(cd "$folder" && "${as[@]}" "$bin/initdb" -D "$folder/data" -U postgres --auth=scram-sha-256 \
    --pwfile="$folder/password" -E UTF8 --locale=C.UTF-8 >/dev/null)
start="-k $folder -c listen_addresses= -c max_connections=60"
control -o "$start" start
PGPASSWORD=owner-secret "$bin/psql" -h "$folder" -U postgres -d postgres -v ON_ERROR_STOP=1 -q \
    -c "CREATE ROLE teacher LOGIN CREATEROLE PASSWORD 'teacher-secret'" \
    -c "CREATE DATABASE klas OWNER teacher" \
    -c "CREATE ROLE owner LOGIN PASSWORD 'owner-secret'" -c "CREATE DATABASE spare OWNER owner"
export KNIGHT_TEST_SERVER="postgresql://teacher:teacher-secret@/klas?host=$folder"
export KNIGHT_TEST_SERVER_STOP="cd $folder && ${as[*]} $bin/pg_ctl -D $folder/data -w -m fast stop"
export KNIGHT_TEST_SERVER_START="cd $folder && ${as[*]} $bin/pg_ctl -D $folder/data -l $folder/log -w -o '$start' start"
export KNIGHT_PROGRAM=$program
export QT_QPA_PLATFORM=offscreen
"$test_binary" "${@:3}"
