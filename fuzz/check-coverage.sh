#!/bin/sh
# check-coverage.sh FUZZER CORPUS MIN_EDGES
# Runs a fuzz target once over its committed corpus (no mutation) and fails when the coverage
# it reports ("cov:", edges) is below MIN_EDGES. A harness that stops early on every input (as
# one once did, at its first receive: 171 edges where the parser has over 500) shows up here.
set -eu
case "${1:-}" in
  -h | --help) sed -n '2,5s/^# \{0,1\}//p' "$0"; exit 0 ;;
esac
[ $# -eq 3 ] || { echo "Aufruf: check-coverage.sh FUZZER KORPUS MIN_KANTEN" >&2; exit 2; }
fuzzer=$1
corpus=$2
min=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# The harness's scratch files go below TMPDIR, so into the directory removed above.
if ! TMPDIR=$scratch "$fuzzer" -runs=0 "$corpus" >"$scratch/log" 2>&1; then
    cat "$scratch/log"
    exit 1
fi
cov=$(sed -n 's/.*INITED cov: \([0-9]*\).*/\1/p' "$scratch/log" | tail -n 1)
if [ -z "$cov" ]; then
    cat "$scratch/log"
    echo "no coverage reported"
    exit 1
fi
echo "$(basename "$fuzzer"): $cov edges on its corpus (at least $min expected)"
[ "$cov" -ge "$min" ]
