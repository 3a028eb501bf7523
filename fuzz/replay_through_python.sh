#!/usr/bin/env bash
# Runs the generate target once over every file of a corpus, keeping the programs it makes, and has
# Debian's python3 read them back.  Usage: replay_through_python.sh FUZZ_GENERATE CORPUS_FOLDER
set -euo pipefail
target=$1 corpus=$2
programs=$(mktemp -d)
trap 'rm -rf "$programs"' EXIT
command -v python3 >/dev/null || { echo "python3 is needed to read the programs back" >&2; exit 1; }
KESTRIGAN_FUZZ_PROGRAMS=$programs "$target" "$corpus"/* >"$programs/log" 2>&1 \
    || { cat "$programs/log" >&2; exit 1; }
python3 "$(dirname "$0")/ast_replay.py" "$programs"
