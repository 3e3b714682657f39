# Sourced by the benchmarks that need a display: makes a scratch folder $work and
# starts Xvfb with DISPLAY exported; both go when the caller exits.
work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A display number nobody uses, in the file system or in the abstract socket
# names that other sandboxes on this machine may share with us.
while :; do
  number=$((100 + RANDOM % 900))
  grep -q "X11-unix/X$number\$" /proc/net/unix || [ -e "/tmp/.X$number-lock" ] || break
done
# Without -noreset the server resets whenever its last client leaves, and a
# program that connects meanwhile fails.
Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>"$work/xvfb.log" &
xvfb_pid=$!
export DISPLAY=:$number
until xdotool getdisplaygeometry >/dev/null 2>&1; do
  kill -0 "$xvfb_pid" 2>/dev/null || { cat "$work/xvfb.log" >&2; exit 1; }
  sleep 0.1
done
