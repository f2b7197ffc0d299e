#!/usr/bin/env bash
# Installs the Debian packages the build uses (only those missing) and the locales the tests need.
# Idempotent and quiet when everything is present.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config locales
    clang libclang-rt-14-dev lld
    libocct-foundation-dev libocct-modeling-data-dev libocct-modeling-algorithms-dev
    libocct-ocaf-dev libocct-data-exchange-dev libocct-visualization-dev libtbb-dev
    libpugixml-dev libcli11-dev libtinygltf-dev nlohmann-json3-dev libstb-dev
    libgtest-dev libgmock-dev time
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

# The Khronos glTF validator (npm package gltf-validator) for the glTF validation test, installed
# into the project-local prefix .tools/npm; the test skips with a message when it is missing.
repo=$(cd "$(dirname "$0")/.." && pwd)
if [[ ! -f "$repo/.tools/npm/node_modules/gltf-validator/package.json" ]]; then
    if ! command -v npm >/dev/null; then
        echo "setup: installing nodejs npm"
        "${sudo_cmd[@]}" apt-get update -qq
        DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq \
            --no-install-recommends nodejs npm >/dev/null
    fi
    echo "setup: installing gltf-validator into .tools/npm"
    npm install --prefix "$repo/.tools/npm" --no-audit --no-fund --silent gltf-validator ||
        echo "setup: gltf-validator could not be installed; the glTF validation test will skip"
fi
