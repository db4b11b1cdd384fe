#!/bin/sh
# Puts a grid selection on the clipboard of a real X display (Xvfb) and reads it back with
# xclip as text/plain and as text/html. Skips (77) without xvfb-run or xclip.
set -u
prog=$1
command -v xvfb-run >/dev/null 2>&1 || { echo "xvfb-run missing"; exit 77; }
command -v xclip >/dev/null 2>&1 || { echo "xclip missing"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat > "$work/inner.sh" <<'INNER'
#!/bin/sh
set -u
prog=$1 work=$2 mode=$3 type=$4
mkfifo "$work/in"
QT_QPA_PLATFORM=xcb "$prog" "$mode" < "$work/in" > "$work/out" 2> "$work/err" &
pid=$!
exec 3> "$work/in"
i=0
while ! grep -q ready "$work/out" 2>/dev/null; do
    i=$((i + 1))
    if [ $i -gt 200 ] || ! kill -0 $pid 2>/dev/null; then
        echo "the program did not start:"; cat "$work/err"; exit 1
    fi
    sleep 0.05
done
xclip -o -selection clipboard -t "$type" > "$work/got"
rc=$?
exec 3>&-
wait $pid
exit $rc
INNER
fail=0
run() {
    rm -f "$work/in" "$work/out" "$work/got"
    xvfb-run -a -s "-screen 0 640x480x24" sh "$work/inner.sh" "$prog" "$work" "$1" "$2" || { echo "$1: no clipboard"; fail=1; return; }
}
run text text/plain
printf 'a\tb\r\nc\td\r\n' > "$work/want"
if cmp -s "$work/got" "$work/want"; then echo "text/plain: ok"; else echo "text/plain differs:"; od -c "$work/got" | head; fail=1; fi
run html text/html
for cell in '>a</td>' '>b</td>' '>c</td>' '>d</td>' '<TABLE'; do
    grep -q -- "$cell" "$work/got" || { echo "text/html lacks $cell:"; head -c 600 "$work/got"; fail=1; }
done
grep -q 'StartHTML' "$work/got" && { echo "text/html holds the clipboard header"; fail=1; }
[ $fail -eq 0 ] && echo "text/html: ok"
exit $fail
