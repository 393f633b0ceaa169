#!/usr/bin/env bash
# Hardening: a one-minute fuzzing run of the real calculator under the sanitizers; any crash,
# sanitizer report, hang or leak fails the step. The longer runs are described in fuzz/README.md.
set -euo pipefail
cd "$(dirname "$0")/../.."

need=()
command -v afl-fuzz >/dev/null || need+=(afl++)
command -v clang++ >/dev/null || need+=(clang)
if [ ${#need[@]} -gt 0 ]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${need[@]}"
fi

fuzz/run.sh 60
