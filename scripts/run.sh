#!/usr/bin/env bash
# Installs what building and running need where it is missing (scripts/deps.sh run), builds the program and
# starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
cmake --preset release >/dev/null
cmake --build --preset release
exec build/release/zindrel "$@"
