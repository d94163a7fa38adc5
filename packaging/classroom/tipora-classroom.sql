-- Tipora classroom server: the results a school's lab sends and the teacher reads.
-- Run by the database owner: psql -v ON_ERROR_STOP=1 -d tipora -f tipora-classroom.sql
-- Running it again on a database it has already set up changes nothing.
--
-- Students never touch the tables: their only way in is tipora.submit_result(), which files a
-- result under the connected login (session_user), so no payload can speak for anybody else.

BEGIN;
-- A second run would otherwise list every object it finds already there.
SET LOCAL client_min_messages = warning;

-- The two groups the administrator puts the logins in. Creating them needs CREATEROLE; an owner
-- without it finds them made beforehand by the administrator.
DO $roles$
BEGIN
    IF NOT EXISTS (SELECT FROM pg_catalog.pg_roles WHERE rolname = 'tipora_student') THEN
        CREATE ROLE tipora_student NOLOGIN;
    END IF;
    IF NOT EXISTS (SELECT FROM pg_catalog.pg_roles WHERE rolname = 'tipora_teacher') THEN
        CREATE ROLE tipora_teacher NOLOGIN;
    END IF;
EXCEPTION WHEN insufficient_privilege THEN
    RAISE EXCEPTION 'the roles tipora_student and tipora_teacher are missing and % may not create them',
        current_user
        USING HINT = 'As postgres: CREATE ROLE tipora_student NOLOGIN; CREATE ROLE tipora_teacher NOLOGIN;';
END
$roles$;

CREATE SCHEMA IF NOT EXISTS tipora;

CREATE TABLE IF NOT EXISTS tipora.schema_info (
    version integer NOT NULL
);
-- One row only: a client reads it as the one version of the whole schema.
CREATE UNIQUE INDEX IF NOT EXISTS schema_info_one_row ON tipora.schema_info ((true));
INSERT INTO tipora.schema_info (version)
SELECT 1 WHERE NOT EXISTS (SELECT FROM tipora.schema_info);

CREATE TABLE IF NOT EXISTS tipora.classes (
    id serial PRIMARY KEY,
    name text NOT NULL UNIQUE
);

CREATE TABLE IF NOT EXISTS tipora.students (
    id serial PRIMARY KEY,
    login name NOT NULL UNIQUE,
    full_name text NOT NULL,
    class_id integer NOT NULL REFERENCES tipora.classes,
    first_seen timestamptz NOT NULL DEFAULT now(),
    last_seen timestamptz NOT NULL DEFAULT now()
);

CREATE TABLE IF NOT EXISTS tipora.results (
    id bigserial PRIMARY KEY,
    uid uuid NOT NULL UNIQUE,
    student_id integer NOT NULL REFERENCES tipora.students,
    class_id integer NOT NULL REFERENCES tipora.classes,
    received_at timestamptz NOT NULL DEFAULT now(),
    recorded_at timestamptz NOT NULL,
    kind text NOT NULL CHECK (kind IN ('course', 'drill', 'own_text', 'exam')),
    lesson integer NOT NULL,
    caption text NOT NULL,
    keyboard_type integer NOT NULL,
    seconds integer NOT NULL,
    keystrokes integer NOT NULL,
    errors integer NOT NULL,
    lines integer NOT NULL,
    keystrokes_per_minute integer NOT NULL,
    errors_per_line double precision NOT NULL,
    finished boolean NOT NULL
);
CREATE INDEX IF NOT EXISTS results_class_recorded ON tipora.results (class_id, recorded_at);
CREATE INDEX IF NOT EXISTS results_student_recorded ON tipora.results (student_id, recorded_at);

CREATE TABLE IF NOT EXISTS tipora.key_figures (
    result_id bigint NOT NULL REFERENCES tipora.results,
    expected text NOT NULL,
    typed text NULL,
    strokes integer NOT NULL,
    errors integer NOT NULL,
    timed integer NOT NULL,
    total_ms bigint NOT NULL
);
CREATE INDEX IF NOT EXISTS key_figures_result ON tipora.key_figures (result_id);

CREATE TABLE IF NOT EXISTS tipora.exam_figures (
    result_id bigint PRIMARY KEY REFERENCES tipora.results,
    minutes integer NOT NULL,
    minutes_used double precision NOT NULL,
    penalty integer NOT NULL,
    gross_strokes integer NOT NULL,
    errors integer NOT NULL,
    net_strokes integer NOT NULL,
    net_per_minute double precision NOT NULL,
    error_rate double precision NOT NULL,
    grade integer NULL -- 1 … 3, 0 not passed, NULL when the test gave no grade
);

CREATE OR REPLACE FUNCTION tipora.schema_version() RETURNS integer
    LANGUAGE sql STABLE SECURITY DEFINER
    SET search_path = pg_catalog, pg_temp
AS $fn$
    SELECT version FROM tipora.schema_info
$fn$;

-- Stores one result of the connected student. true: stored now; false: this student sent it
-- before (a resend after a lost answer), nothing changed. TP001: the payload is malformed;
-- TP002: the uid belongs to somebody else's result.
CREATE OR REPLACE FUNCTION tipora.submit_result(result jsonb) RETURNS boolean
    LANGUAGE plpgsql VOLATILE SECURITY DEFINER
    SET search_path = pg_catalog, pg_temp
AS $fn$
DECLARE
    field text;
    item_no bigint;
    count_limit constant numeric := 2147483647;
    ms_limit constant numeric := 9223372036854775807;
    real_limit constant numeric := 1e300; -- within double precision
    v_num numeric;
    v_uid uuid;
    v_recorded timestamptz;
    v_class text;
    v_name text;
    v_exam jsonb;
    v_class_id integer;
    v_student_id integer;
    v_result_id bigint;
    v_owner name;
BEGIN
    IF jsonb_typeof(result) IS DISTINCT FROM 'object' THEN
        RAISE EXCEPTION USING ERRCODE = 'TP001', MESSAGE = 'the result must be a JSON object';
    END IF;
    FOREACH field IN ARRAY ARRAY['uid', 'class', 'name', 'recorded_at', 'kind', 'caption'] LOOP
        IF jsonb_typeof(result -> field) IS DISTINCT FROM 'string' THEN
            RAISE EXCEPTION USING ERRCODE = 'TP001',
                MESSAGE = format('field "%s" is missing or not a string', field);
        END IF;
    END LOOP;
    FOREACH field IN ARRAY ARRAY['lesson', 'keyboard_type', 'seconds', 'keystrokes', 'errors',
                                 'lines', 'keystrokes_per_minute'] LOOP
        v_num := CASE jsonb_typeof(result -> field) WHEN 'number' THEN (result -> field)::numeric END;
        IF v_num IS NULL OR v_num NOT BETWEEN 0 AND count_limit OR v_num <> trunc(v_num) THEN
            RAISE EXCEPTION USING ERRCODE = 'TP001',
                MESSAGE = format('field "%s" is missing or not a whole number from 0 to %s',
                                 field, count_limit);
        END IF;
    END LOOP;
    v_num := CASE jsonb_typeof(result -> 'errors_per_line') WHEN 'number' THEN (result -> 'errors_per_line')::numeric END;
    IF v_num IS NULL OR v_num NOT BETWEEN 0 AND real_limit THEN
        RAISE EXCEPTION USING ERRCODE = 'TP001',
            MESSAGE = 'field "errors_per_line" is missing or not a number from 0 to 1e300';
    END IF;
    IF jsonb_typeof(result -> 'finished') IS DISTINCT FROM 'boolean' THEN
        RAISE EXCEPTION USING ERRCODE = 'TP001',
            MESSAGE = 'field "finished" is missing or not true/false';
    END IF;
    IF (result ->> 'kind') NOT IN ('course', 'drill', 'own_text', 'exam') THEN
        RAISE EXCEPTION USING ERRCODE = 'TP001',
            MESSAGE = format('unknown kind "%s"', result ->> 'kind');
    END IF;
    v_class := btrim(result ->> 'class');
    IF v_class = '' THEN
        RAISE EXCEPTION USING ERRCODE = 'TP001', MESSAGE = 'field "class" is empty';
    END IF;
    -- A time without its zone would be read in the server's zone and land hours off.
    IF (result ->> 'recorded_at') !~ '^\d{4}-\d\d-\d\d[T ]\d\d:\d\d(:\d\d(\.\d+)?)?(Z|[+-]\d\d(:?\d\d)?)$' THEN
        RAISE EXCEPTION USING ERRCODE = 'TP001',
            MESSAGE = format('field "recorded_at" is not an ISO 8601 time with its zone: "%s"',
                             result ->> 'recorded_at');
    END IF;
    BEGIN
        v_uid := (result ->> 'uid')::uuid;
        v_recorded := (result ->> 'recorded_at')::timestamptz;
    EXCEPTION WHEN invalid_text_representation OR datetime_field_overflow
                   OR invalid_datetime_format THEN
        RAISE EXCEPTION USING ERRCODE = 'TP001',
            MESSAGE = format('field "uid" or "recorded_at" does not hold a valid value: %s', SQLERRM);
    END;
    -- The login's account name stands in for a name the computer does not know.
    v_name := btrim(result ->> 'name');
    IF v_name = '' THEN
        v_name := session_user;
    END IF;

    IF jsonb_typeof(result -> 'keys') IS DISTINCT FROM 'array' THEN
        RAISE EXCEPTION USING ERRCODE = 'TP001', MESSAGE = 'field "keys" is missing or not an array';
    END IF;
    -- One query over all of a lesson's forty-odd rows: a PL/pgSQL loop over their fields took
    -- half of a submission's time. CASE keeps each cast behind the test of its type.
    SELECT min(k.n) INTO item_no
      FROM jsonb_array_elements(result -> 'keys') WITH ORDINALITY AS k(item, n)
     WHERE CASE
               WHEN jsonb_typeof(k.item) <> 'object'
                    OR jsonb_typeof(k.item -> 'expected') IS DISTINCT FROM 'string'
                    OR coalesce(jsonb_typeof(k.item -> 'typed'), 'absent') NOT IN ('string', 'null')
                    OR jsonb_typeof(k.item -> 'strokes') IS DISTINCT FROM 'number'
                    OR jsonb_typeof(k.item -> 'errors') IS DISTINCT FROM 'number'
                    OR jsonb_typeof(k.item -> 'timed') IS DISTINCT FROM 'number'
                    OR jsonb_typeof(k.item -> 'total_ms') IS DISTINCT FROM 'number' THEN true
               ELSE (k.item -> 'strokes')::numeric NOT BETWEEN 0 AND count_limit
                    OR (k.item -> 'errors')::numeric NOT BETWEEN 0 AND count_limit
                    OR (k.item -> 'timed')::numeric NOT BETWEEN 0 AND count_limit
                    OR (k.item -> 'total_ms')::numeric NOT BETWEEN 0 AND ms_limit
                    OR (k.item -> 'strokes')::numeric % 1 <> 0
                    OR (k.item -> 'errors')::numeric % 1 <> 0
                    OR (k.item -> 'timed')::numeric % 1 <> 0
                    OR (k.item -> 'total_ms')::numeric % 1 <> 0
           END;
    IF item_no IS NOT NULL THEN
        RAISE EXCEPTION USING ERRCODE = 'TP001',
            MESSAGE = format('keys[%s] must hold "expected" (a string), "typed" (a string or null) '
                             'and "strokes", "errors", "timed", "total_ms" (whole numbers of at '
                             'least 0)', item_no);
    END IF;

    v_exam := result -> 'exam';
    IF v_exam = 'null'::jsonb THEN
        v_exam := NULL;
    END IF;
    IF v_exam IS NOT NULL THEN
        IF jsonb_typeof(v_exam) <> 'object' THEN
            RAISE EXCEPTION USING ERRCODE = 'TP001', MESSAGE = 'field "exam" must be an object or null';
        END IF;
        FOREACH field IN ARRAY ARRAY['minutes', 'penalty', 'gross_strokes', 'errors', 'net_strokes'] LOOP
            v_num := CASE jsonb_typeof(v_exam -> field) WHEN 'number' THEN (v_exam -> field)::numeric END;
            IF v_num IS NULL OR v_num NOT BETWEEN 0 AND count_limit OR v_num <> trunc(v_num) THEN
                RAISE EXCEPTION USING ERRCODE = 'TP001',
                    MESSAGE = format('exam: field "%s" is missing or not a whole number of at least 0',
                                     field);
            END IF;
        END LOOP;
        FOREACH field IN ARRAY ARRAY['minutes_used', 'net_per_minute', 'error_rate'] LOOP
            v_num := CASE jsonb_typeof(v_exam -> field) WHEN 'number' THEN (v_exam -> field)::numeric END;
            IF v_num IS NULL OR v_num NOT BETWEEN 0 AND real_limit THEN
                RAISE EXCEPTION USING ERRCODE = 'TP001',
                    MESSAGE = format('exam: field "%s" is missing or not a number from 0 to 1e300',
                                     field);
            END IF;
        END LOOP;
        v_num := CASE jsonb_typeof(v_exam -> 'grade') WHEN 'number' THEN (v_exam -> 'grade')::numeric END;
        IF coalesce(jsonb_typeof(v_exam -> 'grade'), 'null') <> 'null'
           AND (v_num IS NULL OR v_num NOT IN (0, 1, 2, 3)) THEN
            RAISE EXCEPTION USING ERRCODE = 'TP001',
                MESSAGE = 'exam: field "grade" must be 0, 1, 2, 3 or null';
        END IF;
    END IF;

    -- A resend of a stored result: answered without touching anything.
    SELECT s.login INTO v_owner
      FROM tipora.results r JOIN tipora.students s ON s.id = r.student_id
     WHERE r.uid = v_uid;
    IF FOUND THEN
        IF v_owner = session_user THEN
            RETURN false;
        END IF;
        RAISE EXCEPTION USING ERRCODE = 'TP002',
            MESSAGE = format('result %s was sent by another student', v_uid);
    END IF;

    -- DO NOTHING rather than DO UPDATE: a whole class files into one classes row at once, and an
    -- update would hold its lock until each sender's transaction ends.
    LOOP
        SELECT id INTO v_class_id FROM tipora.classes WHERE name = v_class;
        EXIT WHEN v_class_id IS NOT NULL;
        INSERT INTO tipora.classes (name) VALUES (v_class)
            ON CONFLICT (name) DO NOTHING
            RETURNING id INTO v_class_id;
        EXIT WHEN v_class_id IS NOT NULL;
    END LOOP;

    INSERT INTO tipora.students AS s (login, full_name, class_id)
        VALUES (session_user, v_name, v_class_id)
        ON CONFLICT (login) DO UPDATE
            SET full_name = excluded.full_name, class_id = excluded.class_id, last_seen = now()
        RETURNING s.id INTO v_student_id;

    INSERT INTO tipora.results (uid, student_id, class_id, recorded_at, kind, lesson, caption,
                                keyboard_type, seconds, keystrokes, errors, lines,
                                keystrokes_per_minute, errors_per_line, finished)
        VALUES (v_uid, v_student_id, v_class_id, v_recorded, result ->> 'kind',
                (result -> 'lesson')::numeric::integer, result ->> 'caption',
                (result -> 'keyboard_type')::numeric::integer,
                (result -> 'seconds')::numeric::integer,
                (result -> 'keystrokes')::numeric::integer,
                (result -> 'errors')::numeric::integer,
                (result -> 'lines')::numeric::integer,
                (result -> 'keystrokes_per_minute')::numeric::integer,
                (result -> 'errors_per_line')::double precision,
                (result -> 'finished')::boolean)
        ON CONFLICT (uid) DO NOTHING
        RETURNING id INTO v_result_id;
    IF v_result_id IS NULL THEN
        -- The same uid arrived from another session in the meantime.
        SELECT s.login INTO v_owner
          FROM tipora.results r JOIN tipora.students s ON s.id = r.student_id
         WHERE r.uid = v_uid;
        IF v_owner = session_user THEN
            RETURN false;
        END IF;
        RAISE EXCEPTION USING ERRCODE = 'TP002',
            MESSAGE = format('result %s was sent by another student', v_uid);
    END IF;

    INSERT INTO tipora.key_figures (result_id, expected, typed, strokes, errors, timed, total_ms)
    SELECT v_result_id, k.expected, k.typed, k.strokes::integer, k.errors::integer,
           k.timed::integer, k.total_ms::bigint
      FROM jsonb_to_recordset(result -> 'keys')
           AS k(expected text, typed text, strokes numeric, errors numeric, timed numeric,
                total_ms numeric);

    IF v_exam IS NOT NULL THEN
        INSERT INTO tipora.exam_figures (result_id, minutes, minutes_used, penalty, gross_strokes,
                                         errors, net_strokes, net_per_minute, error_rate, grade)
        VALUES (v_result_id, (v_exam -> 'minutes')::numeric::integer,
                (v_exam -> 'minutes_used')::double precision,
                (v_exam -> 'penalty')::numeric::integer,
                (v_exam -> 'gross_strokes')::numeric::integer,
                (v_exam -> 'errors')::numeric::integer,
                (v_exam -> 'net_strokes')::numeric::integer,
                (v_exam -> 'net_per_minute')::double precision,
                (v_exam -> 'error_rate')::double precision,
                CASE jsonb_typeof(v_exam -> 'grade')
                    WHEN 'number' THEN (v_exam -> 'grade')::numeric::integer END);
    END IF;
    RETURN true;
END
$fn$;

-- Nobody but the two groups reaches into the schema, and they only as listed here; the REVOKEs
-- also take back anything granted by hand since the last run.
REVOKE ALL ON SCHEMA tipora FROM PUBLIC;
GRANT USAGE ON SCHEMA tipora TO tipora_student, tipora_teacher;
REVOKE ALL ON ALL TABLES IN SCHEMA tipora FROM PUBLIC, tipora_student, tipora_teacher;
GRANT SELECT ON ALL TABLES IN SCHEMA tipora TO tipora_teacher;
REVOKE ALL ON ALL SEQUENCES IN SCHEMA tipora FROM PUBLIC, tipora_student, tipora_teacher;
REVOKE ALL ON ALL FUNCTIONS IN SCHEMA tipora FROM PUBLIC, tipora_student, tipora_teacher;
GRANT EXECUTE ON FUNCTION tipora.schema_version() TO tipora_student, tipora_teacher;
GRANT EXECUTE ON FUNCTION tipora.submit_result(jsonb) TO tipora_student;

COMMIT;
