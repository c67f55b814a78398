#!/usr/bin/env bash
# Installs the Debian packages that a build step needs, and only those that are missing.
# Usage: scripts/install-deps.sh GROUP...   (groups: build test bench fuzz tools deb)
# As root it installs what is missing; as another user it names the missing packages and fails.
set -euo pipefail

declare -A group=(
  [build]="cmake ninja-build g++ make qt6-base-dev libgl-dev libxcb1-dev fonts-liberation qt6-wayland"
  # The display test: a private X server, a window manager, and X clients that type and paste.
  [test]="xvfb xclip xdotool openbox wmctrl x11-utils"
  [bench]="libbenchmark-dev pwgen time bc"
  [fuzz]="clang libclang-rt-14-dev"
  [tools]="xvfb xauth x11-utils xdotool imagemagick openbox clang-format appstream desktop-file-utils"
  [deb]="dpkg-dev file lintian"
)

wanted=()
for g in "${@:-build}"; do
  [ -n "${group[$g]:-}" ] || { echo "install-deps: unknown group '$g'" >&2; exit 2; }
  read -ra pkgs <<<"${group[$g]}"
  wanted+=("${pkgs[@]}")
done

missing=()
for p in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing Debian packages: ${missing[*]}" >&2
  echo "install-deps: install them with: sudo apt-get install ${missing[*]}" >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${missing[@]}" >/dev/null
