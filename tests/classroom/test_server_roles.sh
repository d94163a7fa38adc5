#!/bin/bash
# The classroom schema against a private server: what each role can and cannot do, resends,
# refused payloads, a second run of the script, and a class submitting all at once.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap '"$here/pg_cluster.sh" stop "$work" >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
env=$("$here/pg_cluster.sh" start "$work") || exit $?
eval "$env"

payload='{"uid":"6f1c0000-0000-4000-8000-000000000001","class":"3.B","name":"Jana Nováková",
 "recorded_at":"2026-12-09T10:00:00Z","kind":"exam","lesson":0,"caption":"Opis","keyboard_type":1,
 "seconds":600,"keystrokes":2500,"errors":3,"lines":40,"keystrokes_per_minute":250,
 "errors_per_line":0.075,"finished":true,
 "keys":[{"expected":"a","typed":null,"strokes":50,"errors":2,"timed":48,"total_ms":9000},
         {"expected":"a","typed":"s","strokes":2,"errors":2,"timed":2,"total_ms":400}],
 "exam":{"minutes":10,"minutes_used":10.0,"penalty":10,"gross_strokes":2500,"errors":3,
         "net_strokes":2470,"net_per_minute":247.0,"error_rate":0.12,"grade":1}}'

# Runs SQL as a login; prints its value, or the SQLSTATE of its error.
run() {
    psql -X -q -At -F " " -v ON_ERROR_STOP=1 -v VERBOSITY=sqlstate -v p="$payload" -U "$1" 2>&1 <<<"$2" |
        sed 's/^ERROR: *//; s/^psql:<stdin>:[0-9]*: ERROR: *//'
}
failed=0
check() { # LOGIN WANT SQL
    local got
    got=$(run "$1" "$3")
    if [ "$got" != "$2" ]; then
        echo "FAIL as $1: $3"$'\n'"  wanted: $2"$'\n'"  got:    $got"
        failed=1
    fi
}
submit() { echo "SELECT tipora.submit_result($1)"; }
with() { echo "jsonb_set(:'p', '{$1}', '$2')"; }
other_uid='"6f1c0000-0000-4000-8000-000000000002"'

while IFS='|' read -r login want sql; do
    [ -n "$login" ] && check "$login" "$want" "$sql"
done <<CASES
student1|t|$(submit ":'p'")
student1|f|$(submit ":'p'")
teacher|1 2 1 1|SELECT (SELECT count(*) FROM tipora.results), (SELECT count(*) FROM tipora.key_figures), (SELECT count(*) FROM tipora.exam_figures), (SELECT sum(net_strokes) / 2470 FROM tipora.exam_figures)
student2|TP002|$(submit ":'p'")
student2|TP002|$(submit "$(with name '"student1"')")
student1|t|$(submit "jsonb_set($(with uid "$other_uid"), '{name}', '\"student2\"')")
teacher|student1 2|SELECT string_agg(DISTINCT s.login, ','), count(*) FROM tipora.results r JOIN tipora.students s ON s.id = r.student_id
student1|42501|SET ROLE student2
student1|42501|SET SESSION AUTHORIZATION student2
teacher|42501|$(submit "$(with uid '"6f1c0000-0000-4000-8000-000000000003"')")
teacher|1|SELECT tipora.schema_version()
teacher|t|SELECT pg_has_role(session_user, 'tipora_teacher', 'MEMBER')
student1|f|SELECT pg_has_role(session_user, 'tipora_teacher', 'MEMBER')
student1|TP001|$(submit "'[]'")
student1|TP001|$(submit ":'p'::jsonb - 'kind'")
student1|TP001|$(submit "$(with kind '"game"')")
student1|TP001|$(submit "$(with errors '-1')")
student1|TP001|$(submit "$(with keystrokes '1.5')")
student1|TP001|$(submit "$(with errors_per_line '1e400')")
student1|TP001|$(submit "$(with class '" "')")
student1|TP001|$(submit "$(with uid '"6f1c"')")
student1|TP001|$(submit "$(with recorded_at '"2026-12-09 10:00"')")
student1|TP001|$(submit "$(with keys '{}')")
student1|TP001|$(submit "$(with keys,0,typed '5')")
student1|TP001|$(submit "$(with keys,1,total_ms '-5')")
student1|TP001|$(submit "$(with exam,grade '7')")
student1|TP001|$(submit "$(with exam '"10"')")
teacher|2|SELECT count(*) FROM tipora.results
CASES

# Students reach no table nor sequence; the teacher reads every table and writes none.
for column in schema_info.version classes.name students.full_name results.errors \
    key_figures.errors exam_figures.errors; do
    t=tipora.${column%.*}
    check student1 42501 "SELECT count(*) FROM $t"
    check student1 42501 "DELETE FROM $t"
    check student1 42501 "UPDATE $t SET ${column#*.} = ${column#*.}"
    check student1 42501 "INSERT INTO $t DEFAULT VALUES"
    check teacher "$(run postgres "SELECT count(*) FROM $t")" "SELECT count(*) FROM $t"
    check teacher 42501 "DELETE FROM $t"
    check teacher 42501 "INSERT INTO $t DEFAULT VALUES"
    check teacher 42501 "UPDATE $t SET ${column#*.} = ${column#*.}"
done
for sequence in classes_id_seq students_id_seq results_id_seq; do
    check student1 42501 "SELECT nextval('tipora.$sequence')"
    check teacher 42501 "SELECT nextval('tipora.$sequence')"
done

# Run again on the filled database the script changes nothing.
pg_dump -U postgres tipora | grep -v restrict >"$work/before.sql"
check postgres "" "SET ROLE tipora_owner; \\i $here/../../packaging/classroom/tipora-classroom.sql"
pg_dump -U postgres tipora | grep -v restrict | diff "$work/before.sql" - ||
    { echo "FAIL: a second run of the script changed the database"; failed=1; }

# Thirty new students of a new class, each sending twenty results, all at the same time.
for n in $(seq -w 1 30); do
    echo "CREATE ROLE s$n LOGIN PASSWORD 'heslo-s$n' IN ROLE tipora_student;"
    echo "*:*:*:s$n:heslo-s$n" >>"$PGPASSFILE"
done | run postgres "$(cat)" >/dev/null
# The sessions connect one by one; an advisory lock held until all thirty wait on it lets them
# start their first submission together.
waiting="SELECT count(*) FROM pg_locks WHERE locktype = 'advisory' AND objid = 42 AND NOT granted"
run postgres "SELECT pg_advisory_lock(42);
DO \$\$ BEGIN
    FOR i IN 1..600 LOOP EXIT WHEN ($waiting) = 30; PERFORM pg_sleep(0.05); END LOOP;
END \$\$;" >/dev/null &
until [ "$(run postgres "SELECT count(*) FROM pg_locks WHERE objid = 42 AND granted")" = 1 ]; do
    sleep 0.05
done
pids=()
for n in $(seq -w 1 30); do
    echo "DO \$\$ BEGIN PERFORM pg_advisory_lock_shared(42), pg_advisory_unlock_shared(42); END \$\$;" \
        >"$work/s$n.sql"
    for i in $(seq 20); do
        echo "SELECT tipora.submit_result(jsonb_set($(with class '"4.A"'), '{uid}',
                                                    to_jsonb(gen_random_uuid())));"
    done >>"$work/s$n.sql"
    psql -X -q -At -v ON_ERROR_STOP=1 -v p="$payload" -U "s$n" -f "$work/s$n.sql" \
        >"$work/s$n.out" 2>&1 &
    pids+=($!)
done
for pid in "${pids[@]}"; do
    wait "$pid" || { echo "FAIL: a concurrent session ended with an error"; failed=1; }
done
grep -hv '^t$' "$work"/s*.out | head -5
check teacher "600 30" "SELECT count(*), count(DISTINCT student_id) FROM tipora.results WHERE student_id <> ALL (SELECT id FROM tipora.students WHERE login IN ('student1', 'student2'))"

exit $failed
