#!/bin/sh
# The program must not ask for a module's libraries at its start, while the module, which
# brings them when they are first needed, must. Usage: late_libraries.sh PROGRAM MODULE LIBRARY...
set -eu
needed() { readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'; }
program=$(needed "$1")
module=$(needed "$2")
shift 2
# An empty list means the reading failed, not that nothing is needed.
[ -n "$program" ] || { echo "no NEEDED entries read from the program"; exit 1; }
for library in "$@"; do
    if echo "$program" | grep -qx "$library"; then
        echo "the program needs $library at its start"
        exit 1
    fi
    echo "$module" | grep -qx "$library" || { echo "the module does not need $library"; exit 1; }
done
