#!/usr/bin/env bash
# Builds the Windows library for i686 (the product) and x86_64 (runnable
# under wine64) and runs their tests: the 32-bit ABI by inspection, the
# 64-bit library from the Windows test host against the native engine.
# Needs g++-mingw-w64-i686, g++-mingw-w64-x86-64 and wine64.
set -euo pipefail
cd "$(dirname "$0")/../.."
for voce in i686:build-win32 x86_64:build-win64; do
  arch=${voce%%:*} cartella=${voce##*:}
  echo "+ $arch in $cartella"
  cmake -S . -B "$cartella" -G Ninja --toolchain "cmake/toolchain-$arch-w64-mingw32.cmake" \
        -DVELTRANO_DIALOG=OFF -DVELTRANO_TESTS=ON
  cmake --build "$cartella" --parallel "${VELTRANO_JOBS:-2}"
  ctest --test-dir "$cartella" --output-on-failure
done
