#!/usr/bin/env bash
# Installs a build tree into a scratch prefix, checks that the installed library exports its
# classes but not its internal helpers and that no installed header includes an Open CASCADE
# header, then configures, builds and runs the outside consumer
# project against that prefix only.
# usage: run.sh <build tree> <scratch folder> <consumer source> <generator> <c++ compiler> [flags]
set -euo pipefail
build_tree=$1 scratch=$2 source=$3 generator=$4 compiler=$5 flags=${6:-}

rm -rf "$scratch"
mkdir -p "$scratch"
echo "== install $build_tree into $scratch/prefix"
cmake --install "$build_tree" --prefix "$scratch/prefix" >"$scratch/install.log"
echo "== check what the installed library exports"
library="$scratch/prefix/lib/libTamInteropCAD.so"
[[ -f "$library" ]] || library=$(find "$scratch/prefix" -name libTamInteropCAD.so | head -n 1)
symbols=$(nm -D --defined-only -C "$library")
grep -q "CTamIOTools::GetFileName" <<<"$symbols" || { echo "CTamIOTools is not exported"; exit 1; }
grep -q "CTamCADTools::InitializeImport" <<<"$symbols" || { echo "CTamCADTools is not exported"; exit 1; }
if grep -q "tam_cad_options::" <<<"$symbols"; then
    echo "internal helpers are visible outside the library"
    exit 1
fi
echo "== check that no installed header includes an Open CASCADE header"
occt=$(grep -rlE '^\s*#\s*include\s*[<"][A-Za-z0-9_]+\.(hxx|lxx|gxx)[>"]' "$scratch/prefix/include" || true)
if [[ -n "$occt" ]]; then
    echo "installed headers include Open CASCADE headers:"
    echo "$occt"
    exit 1
fi
echo "== configure and build the consumer"
cmake -S "$source" -B "$scratch/build" -G "$generator" \
    -DCMAKE_CXX_COMPILER="$compiler" \
    -DCMAKE_PREFIX_PATH="$scratch/prefix" \
    -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags"
cmake --build "$scratch/build"
echo "== run the consumer"
"$scratch/build/consumer"
