#!/usr/bin/env bash
# Sets up the machine, builds the configurator and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh default configurator
exec build/default/bin/configurator "$@"
