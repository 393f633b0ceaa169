#!/usr/bin/env bash
# The documents, tried as a reader would try them: the README's Quick start, its examples and its
# table of exit statuses, the manual page's EXAMPLES and tests/README.md's commands for running the
# tests, each turned into a cram test by .ci/doc_transcripts.py and run by bash, with a home folder
# of the step's own (where the Quick start installs intcalc) and its bin/ first on PATH, as the
# README's Use section has it. The README's Performance figures are compared with
# bench/results.json. A command that fails, or prints other than the document says, fails the step.
set -euo pipefail
cd "$(dirname "$0")/../.."

need=()
command -v cram3 >/dev/null || need+=(python3-cram)
command -v groff >/dev/null || need+=(groff-base)
command -v s390x-linux-gnu-g++ >/dev/null || need+=(g++-s390x-linux-gnu)
command -v qemu-s390x >/dev/null || need+=(qemu-user)
if [ ${#need[@]} -gt 0 ]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${need[@]}" >/dev/null
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/home" "$tmp/tests"
mapfile -t tests < <(python3 .ci/doc_transcripts.py "$tmp/tests")
export INTCALC_SOURCE=$PWD HOME=$tmp/home PATH=$tmp/home/.local/bin:$PATH
cram3 --shell=/bin/bash "${tests[@]}"
echo "60-docs: the README's Quick start, examples and exit statuses, the manual's examples and" \
  "tests/README.md's commands ran as written; the README's figures are those of bench/results.json"
