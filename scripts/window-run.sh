#!/usr/bin/env bash
# Runs pfac's main window in the current folder as a user would, on a virtual
# X display of its own (Xvfb, driven with xdotool), once for each polynomial
# given: pfac started, the start window's 输入多项式 chosen, the polynomial
# typed and Enter pressed (输入完毕), Enter on the engine box, Enter in the
# engine's window when it has written jg.dat, the engine's window closed, and
# pfac ended. An argument "-" only opens the main window and ends pfac; one
# that begins with "+" is typed and submitted, but the engine is not started;
# "=" chooses 退出 in the start window, so that pfac ends as a user ends it.
# What pfac printed goes to pfac.out in the folder; the history file, its
# engine times left out, is printed at the end.
#   scripts/window-run.sh 'x^2-1' 'x^2-4'
# Needs Xvfb and xdotool (scripts/install-deps.sh xvfb xauth xdotool).
set -u

pfac=$(command -v pfac) || { echo "window-run.sh: no pfac in PATH" >&2; exit 2; }

exec 5< <(Xvfb -displayfd 1 -screen 0 1366x768x24 -nolisten tcp 2>/dev/null)
xvfb=$!
read -r -t 20 display <&5 || { echo "window-run.sh: Xvfb did not start" >&2; exit 2; }
export DISPLAY=":$display"
trap 'kill "$xvfb" 2>/dev/null' EXIT

# The first window whose name matches, once it is there.
window() { timeout 20 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1; }

# Waits until the process has ended (at most 20 s).
wait_gone() { for _ in $(seq 100); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.2; done; }

newer() { [ -e "$1" ] && [ -e "$2" ] && [ "$1" -nt "$2" ]; }

for polynomial in "$@"; do
  "$pfac" >> pfac.out 2>&1 &
  pid=$!
  start=$(window '^Form1$')
  if [ -z "$start" ]; then
    echo "no start window"
    kill "$pid" 2>/dev/null
    continue
  fi
  # The start window's first Tab stop is 退出, the next 输入多项式.
  if [ "$polynomial" = "=" ]; then
    xdotool windowfocus --sync "$start" key Tab space
    wait_gone "$pid"
    continue
  fi
  xdotool windowfocus --sync "$start" key Tab Tab space
  main=$(window '一元和多元')
  if [ "$polynomial" != "-" ]; then
    rm -f jg.before
    [ -e jg.dat ] && cp -p jg.dat jg.before
    xdotool windowfocus --sync "$main" type --delay 15 "${polynomial#+}"
    xdotool key Return
    sleep 0.5
    if [ "${polynomial:0:1}" != "+" ]; then
      xdotool key Return
      terminal=$(window 'pfac-engine')
      if [ -n "$terminal" ]; then
        xterm=$(xdotool getwindowpid "$terminal")
        for _ in $(seq 200); do newer jg.dat DXS.DAT && ! cmp -s jg.dat jg.before && break; sleep 0.1; done
        # The engine waits for a key at its end.
        for _ in $(seq 30); do
          shell=$(pgrep -P "$xterm" | head -n 1)
          [ -n "$shell" ] && pgrep -P "$shell" -x pfac-engine > /dev/null || break
          xdotool windowfocus --sync "$terminal" key Return 2>/dev/null
          sleep 0.3
        done
        kill "$xterm" 2>/dev/null
        wait_gone "$xterm"
      fi
    fi
    rm -f jg.before
  fi
  sleep 1
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
done

if [ -e pfac-history.json ]; then
  grep -v '"seconds"' pfac-history.json
fi
