#!/usr/bin/env bash
# The test session itself: X server, bus, notification daemon and tray host come up and go away.
source "$(dirname "$0")/lib/session.sh"
session_start || { fail "session did not start"; e2e_finish; }
selection_owned _NET_SYSTEM_TRAY_S0 || fail "no tray host owns _NET_SYSTEM_TRAY_S0"
bus_has_name org.freedesktop.Notifications || fail "no notification service on the bus"
[ "$(root_pixel 5 5 | wc -w)" = 3 ] || fail "cannot read the root window's pixels"
e2e_finish
