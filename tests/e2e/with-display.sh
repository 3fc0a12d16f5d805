#!/bin/sh
# Runs an end-to-end test on the display it is given, or on a private virtual screen of the
# size the viewer is laid out for when there is none.
if [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi
exec xvfb-run -a -s '-screen 0 1280x1024x24' "$@"
