#!/bin/sh
# A terminal without a window, for the tests: runs the command after -e, as
# the terminal would, with nothing to type.
while [ $# -gt 0 ] && [ "$1" != "-e" ]; do shift; done
shift
exec "$@" </dev/null >/dev/null 2>&1
