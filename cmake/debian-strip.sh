#!/bin/sh
# Strips as Debian's dh_strip does: the symbols and the compiler's notes (.comment, .note).
# The package build uses it as CMAKE_STRIP.
exec strip --remove-section=.comment --remove-section=.note "$@"
