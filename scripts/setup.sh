#!/usr/bin/env bash
# Installs the Debian packages that building and testing Kelvara needs, but
# only those that are missing. Sourced by run.sh and test.sh.
set -euo pipefail

kelvara_packages=(cmake g++ make qt6-base-dev libgtest-dev libbenchmark-dev fonts-dejavu-core)

kelvara_missing_packages() {
    local package
    for package in "${kelvara_packages[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            echo "$package"
        fi
    done
}

kelvara_install_missing() {
    local missing
    missing=$(kelvara_missing_packages)
    if [ -z "$missing" ]; then
        return 0
    fi
    echo "Installing missing packages:" $missing
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    $sudo apt-get update -qq
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
}

# Configures (once) and builds one build tree: kelvara_build <dir> [cmake options...]
kelvara_build() {
    local dir=$1
    shift
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        cmake -S "$KELVARA_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    fi
    cmake --build "$dir" --parallel "$(nproc)"
}

KELVARA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
kelvara_install_missing
