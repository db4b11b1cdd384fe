#!/bin/sh
# Fails when a file outside src/platform includes a Qt header or names a Qt type or target.
root=${1:-.}
hits=$(grep -rnE '#[[:space:]]*include[[:space:]]*[<"]Q[A-Za-z]+|Qt6?::|\bQ(Object|Widget|String|Image|Painter|Application)\b' \
        "$root/src" "$root/tests" "$root/bench" 2>/dev/null \
      | grep -v "^$root/src/platform/")
if [ -n "$hits" ]; then
    echo "Qt used outside src/platform:"
    echo "$hits"
    exit 1
fi
exit 0
