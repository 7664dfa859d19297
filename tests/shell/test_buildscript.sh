#!/usr/bin/env bash
# The start-up script's web-engine settings, taken from the script itself: Chromium's
# sandbox stays on for a normal user and is turned off only as root, where it cannot start.
set -u
eval "$(sed -n '/^webengine_env() {/,/^}/p' "$1")"
declare -F webengine_env >/dev/null || { echo "FAIL: no webengine_env in $1"; exit 1; }

# The settings the function makes for a user id, from an environment without them.
settings_for() {
  (
    uid=$1
    id() { echo "$uid"; }
    unset QTWEBENGINE_CHROMIUM_FLAGS QTWEBENGINE_DISABLE_SANDBOX
    webengine_env
    echo "flags: $QTWEBENGINE_CHROMIUM_FLAGS; disabled: ${QTWEBENGINE_DISABLE_SANDBOX:-}"
  )
}

fail=0
user=$(settings_for 1000)
case "$user" in
  *--no-sandbox* | *"disabled: 1"*) echo "FAIL: a normal user runs without the sandbox ($user)"; fail=1 ;;
esac
root=$(settings_for 0)
case "$root" in
  *--no-sandbox*"disabled: 1"*) ;;
  *) echo "FAIL: root keeps a sandbox that cannot start ($root)"; fail=1 ;;
esac
[ $fail -eq 0 ] && echo "PASS: $user / $root"
exit $fail
