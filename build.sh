#!/usr/bin/env bash
# Set-up, build and run on Debian 12.
#   ./build.sh run    install what is missing, build, start the program
#   ./build.sh test   install what is missing, build with warnings as errors (as CI
#                     does), run every test
#   ./build.sh build  install what is missing and build only
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite
  qt6-webengine-dev qt6-webchannel-dev qt6-translations-l10n
  libgl-dev libzip-dev zlib1g-dev
  fonts-noto-cjk fonts-liberation
  xvfb xauth imagemagick unzip
)

install_missing() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# $1: ON to treat compiler warnings as errors.
build() {
  cmake -S . -B build -G Ninja ${SITE_ACCOUNT+-DSITE_ACCOUNT="$SITE_ACCOUNT"} -DWARNINGS_AS_ERRORS="${1:-OFF}" >/dev/null
  cmake --build build --parallel "$(nproc)"
}

# The browser panes show HTML from the publishing server: Chromium's sandbox stays on,
# except as root, where it cannot start.
webengine_env() {
  local flags="--disable-gpu --disable-background-networking --disable-component-update"
  if [ "$(id -u)" -eq 0 ]; then
    flags="--no-sandbox $flags"
    export QTWEBENGINE_DISABLE_SANDBOX=1
  fi
  export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:-$flags}"
}

cmd="${1:-run}"
case "$cmd" in
  run)
    install_missing
    build
    webengine_env
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
      echo "No display is available (DISPLAY is not set): start it under a desktop session or 'xvfb-run ./build.sh run'." >&2
      exit 1
    fi
    exec ./build/app/quorvik
    ;;
  test)
    install_missing
    build ON
    webengine_env
    export QT_QPA_PLATFORM=offscreen
    ctest --test-dir build --output-on-failure --parallel "$(nproc)" --timeout 300
    ;;
  build)
    install_missing
    build
    ;;
  *)
    echo "usage: $0 run|test|build" >&2
    exit 2
    ;;
esac
