#!/usr/bin/env bash
# The desktop entry and the AppStream metainfo pass their validators without errors or warnings.
set -u
data=$1
status=0
out=$(desktop-file-validate "$data/example.kon_obikolka.KnightTour.desktop" 2>&1) || status=1
if grep -E 'error|warning' <<<"$out"; then status=1; fi
out=$(appstreamcli validate --no-net "$data/example.kon_obikolka.KnightTour.metainfo.xml" 2>&1) || { echo "$out"; status=1; }
exit $status
