# Sourced by the benchmarks that need a display: starts Xvfb, exports DISPLAY and
# sets xvfb_pid for the caller's clean-up; the server's log is $work/xvfb.log.

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
