#!/usr/bin/env bash
# Installs the Debian 12 packages Huddlex needs (only those missing), then configures and
# builds one CMake preset. Usage: scripts/setup.sh [--with-fuzzy-hash-tools] [preset]
# (default: release). The fuzzy-hash tools are only for bench/report/fuzzyhash.sh.
set -euo pipefail

fuzzy_hash_tools=0
if [[ "${1:-}" == --with-fuzzy-hash-tools ]]; then
    fuzzy_hash_tools=1
    shift
fi
preset="${1:-release}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-tools-dev qt6-tools-dev-tools qt6-svg-dev libqt6svg6 qt6-qpa-plugins
    libedlib-dev # the report's edit scripts
    libgl-dev libvulkan-dev
    xvfb xauth
    clang libclang-rt-14-dev
    desktop-file-utils appstream dpkg-dev file
    python3 # the report tests read JSON and CSV back with its standard parsers
    # Archives read in place; Debian's libzip CMake package names its three tools, so they
    # must be there for find_package to succeed.
    libzip-dev zlib1g-dev zipcmp zipmerge ziptool
    chromium # the league check's page is looked at in a real browser
)
if ((fuzzy_hash_tools)); then
    packages+=(ssdeep tlsh-tools)
fi

source "$root/scripts/packages.sh"
install_missing "${packages[@]}"

cd "$root"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
