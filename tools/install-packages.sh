#!/usr/bin/env bash
# Installs the given Debian packages that are not installed yet (as root, or through sudo).
#
#   tools/install-packages.sh PACKAGE...
set -euo pipefail

missing=()
for package in "$@"; do
    # The status is read whole (one line per installed architecture) before matching, so a
    # present package never looks missing.
    status=$(dpkg-query -W -f='${Status}\n' "$package" 2>/dev/null || true)
    case "$status" in
        *"install ok installed"*) ;;
        *) missing+=("$package") ;;
    esac
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
