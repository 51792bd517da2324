#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the screenshots need, and only those
# that are missing. Safe to run again.
set -euo pipefail
case "${1:-}" in
  "") ;;
  -h | --help) sed -n '2,3s/^# \{0,1\}//p' "$0"; exit 0 ;;
  *) echo "deps.sh: nimmt keine Argumente (--help)" >&2; exit 2 ;;
esac

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev libssl-dev ca-certificates
  fonts-liberation2 fontconfig
  poppler-utils
  python3 python3-cryptography openssl
  xvfb xauth imagemagick
  appstream desktop-file-utils shared-mime-info dpkg-dev
)
if [ "${KOVANTA_WITH_FUZZ:-0}" = 1 ]; then
  packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
