#!/usr/bin/env bash
# The start-up script's web-engine settings, read from the script itself: Chromium's
# sandbox stays on for a normal user and is off only as root, where it cannot start.
eval "$(sed -n '/^webengine_env() {/,/^}/p' "$1")"
# The settings made for a user id, in an environment without them.
settings_for() {
  (uid=$1; id() { echo "$uid"; }; unset QTWEBENGINE_CHROMIUM_FLAGS QTWEBENGINE_DISABLE_SANDBOX; webengine_env &&
    echo "$QTWEBENGINE_CHROMIUM_FLAGS|${QTWEBENGINE_DISABLE_SANDBOX:-}")
}
user=$(settings_for 1000) root=$(settings_for 0)
echo "user: $user"; echo "root: $root"
[[ -n $user && $user != *--no-sandbox* && $user != *"|1" && $root == *--no-sandbox*"|1" ]]
