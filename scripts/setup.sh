#!/usr/bin/env bash
# Installs the Debian packages the build uses (only those missing) and the locales the tests need.
# Idempotent and quiet when everything is present.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config locales
    libocct-foundation-dev libocct-modeling-data-dev libocct-modeling-algorithms-dev
    libocct-ocaf-dev libocct-data-exchange-dev libocct-visualization-dev libtbb-dev
    libpugixml-dev libcli11-dev libtinygltf-dev nlohmann-json3-dev libstb-dev
    libgtest-dev libgmock-dev
)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

sudo_cmd=()
[[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)

if ((${#missing[@]})); then
    echo "setup: installing ${missing[*]}"
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
fi

# The number tests read decimals under a comma locale as well as under the point locale.
for loc in de_DE en_US; do
    if ! locale -a 2>/dev/null | grep -qi "^${loc}\.utf-\?8$"; then
        "${sudo_cmd[@]}" localedef -i "$loc" -f UTF-8 "${loc}.UTF-8"
    fi
done
