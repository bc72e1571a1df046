#!/bin/sh
# Installs the Debian packages of scripts/packages.txt that are missing, and
# says which. Needs root (or sudo) only when something is missing.
set -eu
here=$(dirname "$0")
missing=""
for package in $(grep -v '^#' "$here/packages.txt"); do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    case "$status" in
        *"install ok installed"*) ;;
        *) missing="$missing $package" ;;
    esac
done
[ -z "$missing" ] && exit 0
echo "Installing Debian packages:$missing"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# shellcheck disable=SC2086
$sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
echo "Installed:$missing"
