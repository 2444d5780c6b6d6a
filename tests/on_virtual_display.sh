#!/bin/bash
# Runs a command on a virtual X display of its own (for the Win32 window
# under Wine): a free display number, torn down afterwards.
exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$@"
