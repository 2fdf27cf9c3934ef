# Sourced by the end-to-end scripts: a private Xvfb screen of 1024 x 768 whose
# pid joins $pids, and DISPLAY set to it. Needs $travail and echoue.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$travail/ecran" 2>"$travail/xvfb.log" &
pids="$pids $!"
for _ in $(seq 50); do [ -s "$travail/ecran" ] && break; sleep 0.1; done
[ -s "$travail/ecran" ] || echoue "Xvfb ne démarre pas"
DISPLAY=":$(cat "$travail/ecran")"
export DISPLAY
