#!/usr/bin/env bash
# Set up, build and start the designer.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
scripts/build.sh
exec "${KESTRIGAN_BUILD_DIR:-build}/bin/kestrigan"
