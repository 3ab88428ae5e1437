#!/usr/bin/env bash
# Sets up what is missing, builds Kelvara and starts it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

kelvara_build "$KELVARA_ROOT/build" -DKELVARA_TESTS=OFF -DKELVARA_BENCHMARKS=OFF
exec "$KELVARA_ROOT/build/bin/kelvara"
