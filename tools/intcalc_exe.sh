#!/bin/sh
# intcalc.exe under wine, in place of the program itself: standard streams, arguments and exit
# status pass straight through. Runs build-windows/intcalc.exe, or the program $INTCALC_EXE names.
# The caller provides the wine prefix (WINEPREFIX) and keeps its server up (`wineserver -p`), as
# .ci/steps/40-windows.sh does.
: "${WINEDEBUG:=-all}"                  # nothing of wine's own on standard error
: "${WINEDLLOVERRIDES:=winedbg.exe=d}"  # a crash ends the run at once with a failure status
export WINEDEBUG WINEDLLOVERRIDES
exec wine "${INTCALC_EXE:-$(dirname "$0")/../build-windows/intcalc.exe}" "$@"
