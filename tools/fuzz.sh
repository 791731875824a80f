#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, build-fuzz) and runs each for a bounded time from the
# committed seeds in tests/fuzz/corpus/<target>. Inputs found on the way go to a scratch
# folder, never into the repository; a crash, hang or memory blow-up leaves its input in
# build-fuzz/artifacts/ and fails the run.
#   bash tools/fuzz.sh [seconds per target, default 15]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-15}"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVI_FUZZ=ON \
    -DCMAKE_CXX_COMPILER=clang++ > /dev/null
cmake --build build-fuzz -j "$(nproc)"
mkdir -p build-fuzz/artifacts
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0
for target in build-fuzz/tests/fuzz/fuzz_*; do
    [ -f "$target" ] && [ -x "$target" ] || continue # not the build's own folders
    name=$(basename "$target")
    mkdir -p "$scratch/$name"
    if ! "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
        -artifact_prefix=build-fuzz/artifacts/"$name"- \
        "$scratch/$name" "tests/fuzz/corpus/${name#fuzz_}" > "$scratch/$name.log" 2>&1; then
        echo "fuzz.sh: $name failed:" >&2
        tail -n 40 "$scratch/$name.log" >&2
        status=1
    else
        echo "fuzz.sh: $name: $(grep -E '^#[0-9]+.*DONE' "$scratch/$name.log" | tail -n 1)"
    fi
done
exit "$status"
