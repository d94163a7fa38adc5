#!/usr/bin/env bash
# The tutor as a learner gets it. Reuses the build of scripts/test.sh (no build of its own):
#  - `cmake --install` into staging roots with the prefixes /usr and /usr/local; the installed
#    program is started from there (so it finds its course relative to itself) from an empty
#    home folder on a private X server with the Czech layout: the keyboard-type dialog, the main
#    window with no message, lesson 1 typed and stopped (and kept in the per-user results
#    history), the settings saved to the per-user tipora.ini and
#    read again at the next start;
#  - the command line: --help, --version, an unknown option (exit status 2, no window);
#  - the .deb from `cpack -G DEB`, checked by lintian, and the installed menu entry and
#    AppStream data by their validators;
#  - only as root with CI=true: the .deb installed with apt, used the same way, and removed.
# Screenshots and logs go to $TIPORA_INSTALL_CHECK_OUT (default: a new temporary folder).
set -euo pipefail
cd "$(dirname "$0")/.."
TIPORA_EXTRA_PACKAGES="xvfb xdotool x11-xkb-utils imagemagick lintian desktop-file-utils appstream \
dpkg-dev file ${TIPORA_EXTRA_PACKAGES:-}"
source scripts/deps.sh

build_dir="$(realpath "${TIPORA_BUILD_DIR:-build}")"
[ -f "$build_dir/CMakeCache.txt" ] || { echo "no build in $build_dir: run scripts/test.sh first"; exit 1; }
# Nothing to do after scripts/test.sh; brings a stale build up to date otherwise.
cmake --build "$build_dir" --target tipora tipora_results tipora_sound tipora_packaging
out="${TIPORA_INSTALL_CHECK_OUT:-$(mktemp -d /tmp/tipora-install-check.XXXXXX)}"
mkdir -p "$out"
work="$(mktemp -d)"
server=""
program=""
package_installed=""
cleanup() {
    [ -z "$program" ] || kill "$program" 2>/dev/null || true
    [ -z "$server" ] || kill "$server" 2>/dev/null || true
    # A failed check does not leave the package on the machine.
    [ -z "$package_installed" ] ||
        apt-get remove -y -o DPkg::Lock::Timeout=300 tipora >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "install check FAILED: $*" >&2
    [ -z "${DISPLAY:-}" ] || import -window root "$out/failure.png" 2>/dev/null || true
    echo "screenshots and logs: $out" >&2
    exit 1
}
step() { echo "== $*"; }

# --- The installed files --------------------------------------------------------------------

# The results module lies in the folder the build was configured with.
module_dir="$(sed -n 's/^TIPORA_RESULTS_MODULE_DIR:STRING=//p' "$build_dir/CMakeCache.txt")"
: "${module_dir:?the build names no TIPORA_RESULTS_MODULE_DIR: configure it again}"
installed_files=(
    bin/tipora
    "$module_dir/tipora_results.so"
    "$module_dir/tipora_sound.so"
    share/applications/cz.tipora.Tipora.desktop
    share/doc/tipora/changelog.Debian.gz
    share/doc/tipora/copyright
    share/icons/hicolor/128x128/apps/cz.tipora.Tipora.png
    share/icons/hicolor/256x256/apps/cz.tipora.Tipora.png
    share/icons/hicolor/48x48/apps/cz.tipora.Tipora.png
    share/icons/hicolor/scalable/apps/cz.tipora.Tipora.svg
    share/man/man1/tipora.1.gz
    share/metainfo/cz.tipora.Tipora.metainfo.xml
    share/tipora/cz.dat share/tipora/cz01.dat share/tipora/cz02.dat share/tipora/cz03.dat
    share/tipora/cz04.dat share/tipora/cz05.dat share/tipora/cz06.dat share/tipora/cz07.dat
    share/tipora/cz08.dat share/tipora/cz09.dat share/tipora/cz10.dat share/tipora/tipora.ini
    share/tipora/opisy/{01-cesta-vlakem,02-vareni-pro-hosty,03-skolni-zahrada,04-stehovani}.txt
    share/tipora/opisy/{05-destivy-vikend,06-pece-o-psa,07-v-knihovne,08-na-kole}.txt
    share/tipora/opisy/{09-zima-na-horach,10-trh-na-navsi}.txt
    share/tipora/classroom/tipora-classroom.sql
)

stage() { # prefix root
    DESTDIR="$2" cmake --install "$build_dir" --prefix "$1" >/dev/null
    local expected actual
    expected="$(printf "$1/%s\n" "${installed_files[@]}" | sort)"
    actual="$(cd "$2" && find . -type f | sed 's|^\.||' | sort)"
    [ "$expected" = "$actual" ] ||
        fail "files installed with prefix $1:"$'\n'"$(diff <(echo "$expected") <(echo "$actual"))"
    for size in 48 128 256; do
        [ "$(identify -format %wx%h "$2$1/share/icons/hicolor/${size}x$size/apps/cz.tipora.Tipora.png")" = \
            "${size}x$size" ] || fail "the ${size} px icon has another size"
    done
}

step "cmake --install into staging roots"
stage /usr "$work/root-usr"
stage /usr/local "$work/root-local"
echo "installed with prefix /usr (DESTDIR=$work/root-usr):"
(cd "$work/root-usr" && find . -type f | sed 's|^\.||' | sort | sed 's/^/  /')

step "the command line"
exe="$work/root-usr/usr/bin/tipora"
help="$(env -u DISPLAY -u WAYLAND_DISPLAY "$exe" --help)" || fail "--help failed"
grep -q -- '--course' <<<"$help" || fail "--help does not name --course"
version="$(env -u DISPLAY -u WAYLAND_DISPLAY "$exe" --version)" || fail "--version failed"
[ "$version" = "Tipora 1.5" ] || fail "--version says '$version'"
status=0
env -u DISPLAY -u WAYLAND_DISPLAY "$exe" --no-such-option 2>"$out/unknown-option.txt" || status=$?
[ "$status" = 2 ] || fail "an unknown option ends with status $status"
grep -q 'no-such-option' "$out/unknown-option.txt" || fail "the unknown option is not named"
# Qt's own options are left to it.
[ "$(env -u DISPLAY "$exe" -platform offscreen -style fusion --version)" = "Tipora 1.5" ] ||
    fail "Qt's options are refused"
echo "--version: $version; --no-such-option: status 2, $(head -n 1 "$out/unknown-option.txt")"

# --- The installed program used as a learner would ------------------------------------------

step "a private X server with the Czech layout"
fd_file="$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$fd_file" </dev/null \
    >/dev/null 2>&1 &
server=$!
for _ in $(seq 200); do [ -s "$fd_file" ] && break; sleep 0.05; done
[ -s "$fd_file" ] || fail "Xvfb did not start"
export DISPLAY=":$(tr -d '[:space:]' <"$fd_file")"
setxkbmap cz || fail "setxkbmap cz"

x() { timeout 30 xdotool "$@"; }
# Window lists are read to the end (sed, not head): a reader that stops early makes xdotool die
# of a broken pipe, which pipefail turns into a failed check.
windows() { x search --onlyvisible "$@" 2>/dev/null || true; }
alive() { kill -0 "$program" 2>/dev/null || fail "the program ended ($1); log: $(cat "$log")"; }
# Message boxes carry "Tipora 1.0" in their title; the program shows one only on a failure.
no_message() {
    [ -z "$(windows --name '^Tipora 1[.]0$')" ] || fail "a message box after $1"
}
shot() { import -window "$1" "$out/$2.png"; }
# Pixels that differ between two screenshots in one rectangle (WxH+X+Y).
changed() {
    convert "$out/$1.png" -crop "$3" "$work/a.png"
    convert "$out/$2.png" -crop "$3" "$work/b.png"
    compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1 || true
}
# The exercise row and the input line, below the menu bar (twips / 15 + 21 px).
exercise_row=481x17+8+237
input_line=505x17+8+269

# The first exercise line of lesson 1 and the message lines before it, from the course in use.
# awk reads to the end: one that stopped early would kill iconv with a broken pipe, which
# pipefail turns into a failed check.
first_line() {
    iconv -f WINDOWS-1250 -t UTF-8 "$1/cz01.dat" | tr -d '\r' |
        awk '/^LEKCE 01/ { on = 1; next } on && /^LEKCE/ { on = 0 } on && !/^>>>/ { print; on = 0 }'
}
messages_before() {
    iconv -f WINDOWS-1250 -t UTF-8 "$1/cz01.dat" | tr -d '\r' |
        awk '/^LEKCE 01/ { on = 1; next } on && /^>>>/ { n++; next } on { print n + 0; on = 0 }'
}

# Starts the program from an empty home folder ($home, also the current folder), answers the
# keyboard-type dialog and leaves $main the main window.
start_program() { # name executable data-dirs [arguments...]
    log="$out/$1.log"
    (cd "$home" && exec env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_CONFIG_DIRS \
        HOME="$home" XDG_DATA_DIRS="$3" QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 "$2" "${@:4}") \
        >"$log" 2>&1 &
    program=$!
    local dialog="" deadline=$((SECONDS + 60))
    while [ -z "$dialog" ]; do
        alive "waiting for the keyboard-type dialog"
        [ $SECONDS -lt $deadline ] || fail "the keyboard-type dialog did not show"
        dialog="$(windows --name '^Tipora' | sed -n 1p)"
        sleep 0.2
    done
    shot "$dialog" "$1-1-keyboard-type"
    x windowfocus --sync "$dialog" key Return || fail "could not answer the keyboard-type dialog"
    main=""
    deadline=$((SECONDS + 60))
    while [ -z "$main" ]; do
        alive "after the keyboard-type dialog"
        no_message "the start"
        [ $SECONDS -lt $deadline ] || fail "the main window did not show"
        for window in $(windows --name '^Tipora 1[.]5$'); do
            [ "$window" = "$dialog" ] || main=$window
        done
        sleep 0.2
    done
    sleep 1
    no_message "the start"
    shot "$main" "$1-2-main-window"
}

popups() { windows --class tipora | wc -l; }
wait_popups() { # count
    local deadline=$((SECONDS + 30))
    until [ "$(popups)" -ge "$1" ]; do
        [ $SECONDS -lt $deadline ] || fail "a menu did not open"
        sleep 0.1
    done
}

type_lesson_1() { # name course-folder
    local line before
    line="$(first_line "$2")"
    before="$(popups)"
    [ -n "$line" ] || fail "lesson 1 has no exercise line in $2"
    # "Lekce", its first submenu, its first lesson, as a learner picks it.
    x mousemove --window "$main" 25 10 click 1
    wait_popups $((before + 1))
    x key Down Right
    wait_popups $((before + 2))
    sleep 0.2
    x key Return
    sleep 0.5
    x windowfocus --sync "$main"
    # The window's title names the lesson's keys once the lesson has loaded.
    local deadline=$((SECONDS + 20))
    until [ -n "$(windows --name '^Tipora 1[.]5 - ')" ]; do
        no_message "choosing lesson 1"
        [ $SECONDS -lt $deadline ] || fail "lesson 1 did not load"
        sleep 0.2
    done
    no_message "choosing lesson 1"
    sleep $((1 + 4 * $(messages_before "$2")))
    shot "$main" "$1-3-lesson-1"
    x type --delay 80 "$line"
    sleep 0.5
    shot "$main" "$1-4-typed"
    x key Return
    sleep 1
    shot "$main" "$1-5-next-line"
    no_message "typing lesson 1"
    # Only what matches the exercise reaches the input line; a checked line brings the next.
    local typed next
    typed="$(changed "$1-3-lesson-1" "$1-4-typed" "$input_line")"
    next="$(changed "$1-4-typed" "$1-5-next-line" "$exercise_row")"
    [ "$typed" -gt 100 ] || fail "typing '$line' did not reach the input line ($typed pixels)"
    [ "$next" -gt 100 ] || fail "the next line did not come ($next pixels)"
    echo "lesson 1: typed '$line' ($typed pixels of the input line), next line ($next pixels)"
}

# "Stop" ends lesson 1 after its first line; the lesson is kept in the per-user results
# history before the question "Chceš smazat statistiku?" (a "Tipora 1.0" box) is answered.
stop_lesson_1() { # name
    local results="$home/.local/share/tipora/vysledky.sqlite" box="" deadline=$((SECONDS + 10))
    x mousemove --window "$main" 72 10 click 1 # "Stop" in the menu bar
    until [ -n "$box" ]; do
        [ $SECONDS -lt $deadline ] || fail "Stop asked no question"
        box="$(windows --name '^Tipora 1[.]0$' | sed -n 1p)"
        sleep 0.2
    done
    shot "$box" "$1-5b-question"
    [ -f "$results" ] || fail "the stopped lesson was not kept in $results"
    [ "$(head -c 15 "$results")" = "SQLite format 3" ] || fail "$results is not an SQLite file"
    x key Return # "Ano", the focused answer
    sleep 0.5
    no_message "answering the question"
    echo "$1: lesson 1 kept in $results ($(stat -c %s "$results") bytes)"
}

# The settings dialog: optionally "při chybě" is switched, then "Ulož nastavení" and OK.
save_settings() { # name switch-beep-on-error(0/1)
    local ini="$home/.config/tipora/tipora.ini" dialog="" deadline=$((SECONDS + 20))
    x mousemove --window "$main" 236 10 click 1 # "Nastavení" in the menu bar
    while [ -z "$dialog" ]; do
        [ $SECONDS -lt $deadline ] || fail "the settings dialog did not open"
        dialog="$(windows --name '^Nastavení$' | sed -n 1p)"
        sleep 0.2
    done
    sleep 0.5
    [ "$2" = 0 ] || x mousemove --window "$dialog" 40 112 click 1
    sleep 0.3
    shot "$dialog" "$1-6-settings"
    touch "$work/before-save"
    sleep 1.1 # a rewritten file gets a later time stamp than the mark
    x mousemove --window "$dialog" 50 200 click 1 # "Ulož nastavení"
    deadline=$((SECONDS + 10))
    until [ -f "$ini" ] && [ "$ini" -nt "$work/before-save" ]; do
        [ $SECONDS -lt $deadline ] || fail "Ulož nastavení wrote no $ini"
        sleep 0.1
    done
    no_message "saving the settings"
    x mousemove --window "$dialog" 260 200 click 1 # OK
    sleep 0.5
    [ -z "$(windows --name '^Nastavení$')" ] || fail "the settings dialog stayed open after OK"
    [ -z "$(find "$home/.config/tipora" -name 'tipora.ini.*')" ] || fail "a temporary file was left"
    # The written format: one line, four fields each between a sign position and a blank.
    LC_ALL=C grep -qxE '( -?[0-9]+ ){4}'$'\r' "$ini" && [ "$(wc -l <"$ini")" = 1 ] ||
        fail "$ini holds '$(cat -A "$ini")'"
}

stop_program() {
    kill "$program"
    wait "$program" 2>/dev/null || true
    program=""
}

# Two starts from one empty home folder: the installed default is read without a message, the
# first save creates the per-user file, and the second start reads that file.
use_as_a_learner() { # name executable course-folder data-dirs
    home="$(mktemp -d "$work/home.XXXXXX")"
    local default expected
    default="$(tr -d '\r' <"$3/tipora.ini")"
    # The default with the beep on error switched; what both saves must write.
    expected="$(awk '{ printf " %d  %d  %d  %d \r\n", $1, $2, 1 - $3, $4 }' <<<"$default")"

    step "$1: first start from an empty home folder"
    start_program "$1-first" "$2" "$4"
    type_lesson_1 "$1-first" "$3"
    [ ! -e "$home/.config/tipora" ] || fail "the per-user folder was made before any save"
    stop_lesson_1 "$1-first"
    save_settings "$1-first" 1
    [ "$(cat "$home/.config/tipora/tipora.ini")" = "$expected" ] ||
        fail "the first save wrote '$(cat -A "$home/.config/tipora/tipora.ini")'"
    stop_program

    step "$1: second start reads the per-user file"
    start_program "$1-second" "$2" "$4"
    save_settings "$1-second" 0
    [ "$(cat "$home/.config/tipora/tipora.ini")" = "$expected" ] ||
        fail "the second start did not read the per-user file: it saved '$(cat -A "$home/.config/tipora/tipora.ini")'"
    stop_program
    echo "$1: per-user tipora.ini $(cat -A "$home/.config/tipora/tipora.ini") (installed default: '$default')"
}

# Only the folder beside the executable holds the course: XDG_DATA_DIRS leads nowhere.
use_as_a_learner staged-usr "$work/root-usr/usr/bin/tipora" "$work/root-usr/usr/share/tipora" \
    /nonexistent
step "staged /usr/local: start and lesson 1"
home="$(mktemp -d "$work/home.XXXXXX")"
start_program staged-local "$work/root-local/usr/local/bin/tipora" /nonexistent
type_lesson_1 staged-local "$work/root-local/usr/local/share/tipora"
# The installed settings have both beeps off: nothing asked for a sound, so the sound module
# and its libraries stay on the disk.
! grep -q 'tipora_sound[.]so\|libQt6Multimedia' "/proc/$program/maps" ||
    fail "the sound module was loaded although no beep is switched on"
stop_program

# A teacher's course whose lesson 1 starts with another line: only that line can be typed.
step "staged /usr/local with --course"
teacher="$work/teacher"
cp -r "$work/root-local/usr/local/share/tipora" "$teacher"
printf 'LEKCE 01\r\nkkk ddd kkk ddd\r\nddd kkk\r\n' >"$teacher/cz01.dat.new"
iconv -f WINDOWS-1250 -t UTF-8 "$teacher/cz01.dat" | tr -d '\r' |
    awk 'on { print } /^LEKCE 02/ { on = 1; print }' | sed 's/$/\r/' |
    iconv -f UTF-8 -t WINDOWS-1250 >>"$teacher/cz01.dat.new"
mv "$teacher/cz01.dat.new" "$teacher/cz01.dat"
[ "$(first_line "$teacher")" = "kkk ddd kkk ddd" ] || fail "the teacher's course was not made"
home="$(mktemp -d "$work/home.XXXXXX")"
# With the key beep on, the lesson's start reads the sound module from the installed folder.
mkdir -p "$home/.config/tipora"
printf ' 100  1  0  1 \r\n' >"$home/.config/tipora/tipora.ini"
start_program staged-course "$work/root-local/usr/local/bin/tipora" /nonexistent --course "$teacher"
type_lesson_1 staged-course "$teacher"
grep -q "/usr/local/$module_dir/tipora_sound[.]so" "/proc/$program/maps" ||
    fail "the lesson's start did not load the installed sound module"
echo "staged-course: key beep on, sound module loaded from /usr/local/$module_dir"
stop_program

# Without the results module the tutor says once that results are not kept, then asks its
# question as always, and goes on.
step "staged /usr/local without the results module"
rm "$work/root-local/usr/local/$module_dir/tipora_results.so"
home="$(mktemp -d "$work/home.XXXXXX")"
start_program staged-no-module "$work/root-local/usr/local/bin/tipora" /nonexistent
type_lesson_1 staged-no-module "$work/root-local/usr/local/share/tipora"
x mousemove --window "$main" 72 10 click 1 # "Stop"
for what in "the message" "the question"; do
    box="" deadline=$((SECONDS + 10))
    until [ -n "$box" ]; do
        [ $SECONDS -lt $deadline ] || fail "no $what after Stop without the module"
        box="$(windows --name '^Tipora 1[.]0$' | sed -n 1p)"
        sleep 0.2
    done
    shot "$box" "staged-no-module-5-${what#the }"
    x windowfocus --sync "$box" key Return
    sleep 0.5
    alive "answering $what without the module"
done
no_message "the question without the module"
[ ! -e "$home/.local/share/tipora/vysledky.sqlite" ] || fail "a results file was made without the module"
echo "without the module: one message, the question, the tutor runs on"
stop_program

# --- The Debian package ---------------------------------------------------------------------

step "desktop-file-validate and appstreamcli validate"
desktop-file-validate "$work/root-usr/usr/share/applications/cz.tipora.Tipora.desktop" ||
    fail "desktop-file-validate"
appstreamcli validate --no-net "$work/root-usr/usr/share/metainfo/cz.tipora.Tipora.metainfo.xml" ||
    fail "appstreamcli validate"

step "cpack -G DEB"
rm -f "$build_dir"/tipora_*.deb
(cd "$build_dir" && cpack -G DEB >"$out/cpack.log" 2>&1) || fail "cpack: $(cat "$out/cpack.log")"
deb="$(ls "$build_dir"/tipora_*.deb)"
echo "$(basename "$deb"): $(dpkg-deb -f "$deb" Depends | sed 's/^/Depends: /')"
dpkg-deb --fsys-tarfile "$deb" | tar -x -O ./usr/bin/tipora >"$work/packaged"
file "$work/packaged" | grep -q ', stripped' || fail "the packaged program is not stripped"
for module in tipora_results tipora_sound; do
    dpkg-deb --fsys-tarfile "$deb" | tar -x -O "./usr/$module_dir/$module.so" >"$work/module"
    file "$work/module" | grep -q ', stripped' || fail "the packaged $module module is not stripped"
done
# The module is loaded late, but the package must still bring what it needs.
for needed in libqt6sql6 libqt6charts6 libqt6sql6-sqlite libqt6widgets6 libqt6multimedia6; do
    dpkg-deb -f "$deb" Depends | tr ',' '\n' | grep "^ *$needed\( \|\$\)" >/dev/null ||
        fail "the package does not depend on $needed"
done

step "lintian"
status=0
lintian --fail-on error "$deb" >"$out/lintian.txt" 2>&1 || status=$?
grep -v 'running with root privileges' "$out/lintian.txt" || true
[ "$status" = 0 ] || fail "lintian reports errors"

step "apt install, use and apt remove"
if [ "$(id -u)" != 0 ] || [ "${CI:-}" != true ]; then
    echo "skipped: installing the package changes /usr of this machine, so it runs only as root" \
        "with CI=true (the CI machine)"
else
    packaged_paths="$(dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\.||' | grep -v '/$')"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -o DPkg::Lock::Timeout=300 "$deb" >"$out/apt-install.log" 2>&1 ||
        fail "apt install: $(tail -n 20 "$out/apt-install.log")"
    package_installed=yes
    use_as_a_learner apt /usr/bin/tipora /usr/share/tipora /usr/local/share:/usr/share
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -o DPkg::Lock::Timeout=300 tipora >"$out/apt-remove.log" 2>&1 ||
        fail "apt remove: $(tail -n 20 "$out/apt-remove.log")"
    package_installed=""
    left=""
    for path in $packaged_paths /usr/share/tipora /usr/share/doc/tipora; do
        [ ! -e "$path" ] || left+=" $path"
    done
    [ -z "$left" ] || fail "left in /usr after apt remove:$left"
    echo "apt remove left nothing of the package's $(wc -w <<<"$packaged_paths") files in /usr"
fi

echo "install check passed; screenshots and logs: $out"
