#!/usr/bin/env bash
# Sets up what is missing, then builds and runs every test twice: in a normal
# build and in one with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS="suppressions=$KELVARA_ROOT/tests/lsan.supp"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

status=0
for tree in build-tests build-sanitize; do
    options=(-DKELVARA_BENCHMARKS=ON)
    if [ "$tree" = build-sanitize ]; then
        options=(-DKELVARA_SANITIZE=ON -DKELVARA_BENCHMARKS=OFF)
    fi
    echo "== $tree =="
    kelvara_build "$KELVARA_ROOT/$tree" "${options[@]}"
    ctest --test-dir "$KELVARA_ROOT/$tree" --output-on-failure --parallel "$(nproc)" || status=1
done
exit $status
