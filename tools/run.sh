#!/usr/bin/env bash
# What `make run` starts: the window, or, where no window can open (a server, a container, a
# remote shell without X forwarding), the window's one line and then today's sunrise and sunset
# at a default place from the command-line tool, so that the first run always answers.
#
#   tools/run.sh BINDIR
set -uo pipefail
bin=${1:?the directory of the built programs}
if [[ -x "$bin/daybreak" ]]; then
    "$bin/daybreak"
    status=$?
    # 1 is the window's word that there is no graphical session; anything else is its own.
    ((status == 1)) || exit "$status"
fi
echo
echo "Today at a default place, Chicago on its own clock (change the options for yours):"
echo "  \$ $bin/daybreak-cli --zip 60601"
exec "$bin/daybreak-cli" --zip 60601
