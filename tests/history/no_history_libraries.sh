#!/bin/sh
# The program must not ask for Qt Sql or Qt Charts at its start, while the results module,
# which brings them when needed, must. Usage: no_history_libraries.sh PROGRAM MODULE
set -eu
needed() { readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'; }
program=$(needed "$1")
module=$(needed "$2")
# An empty list means the reading failed, not that nothing is needed.
[ -n "$program" ] || { echo "no NEEDED entries read from $1"; exit 1; }
if echo "$program" | grep -E '^libQt6(Sql|Charts)\.'; then
    echo "the program needs the libraries above at its start"
    exit 1
fi
for library in libQt6Sql.so.6 libQt6Charts.so.6; do
    echo "$module" | grep -qx "$library" || { echo "the module does not need $library"; exit 1; }
done
