#!/usr/bin/env bash
# Builds the native fuzz build (fuzz/) and runs every fuzz target from a corpus seeded by the
# project's own writers, after the pure unit suites under the same sanitizers.
#   scripts/fuzz.sh smoke        a few thousand executions each (what `make test` runs)
#   scripts/fuzz.sh full         the long round: a million executions for the byte-level
#                                targets, 250,000 for the ones that build components or play
#   scripts/fuzz.sh TARGET RUNS  one target
# Stops at the first finding and prints its reproducer. FUZZ_BUILD names the build folder.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD:-$root/build-fuzz}
mode=${1:-smoke}

# Byte-level targets first, then the ones that play or build components.
byte_level=(fuzz_request_names fuzz_external_call fuzz_external_interface fuzz_flash_list_block fuzz_form_text
            fuzz_flv_stream)
structured=(fuzz_form_binary fuzz_swf_movie)

bash "$root/scripts/setup.sh" fuzz
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
fi
cmake --build "$build" -j "${JOBS:-2}"

"$build/native_unit_tests" --gtest_brief=1

# The seeds are written afresh each run; what the fuzzer learns stays in corpus/.
rm -rf "$build/seeds"
"$build/fuzz_seeds" "$build/seeds"
mkdir -p "$build/findings"

run_target() {
    local target=$1 runs=$2 corpus="$build/corpus/$1" seeds="$build/seeds/$1"
    local dict="$root/fuzz/dictionaries/${target#fuzz_}.dict" log="$build/findings/$1.log"
    mkdir -p "$corpus" "$seeds"
    local options=(-runs="$runs" -max_len=65536 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
                   -artifact_prefix="$build/findings/$target-")
    [ -f "$dict" ] && options+=(-dict="$dict")
    echo "fuzz: $target, $runs executions"
    if ! "$build/$target" "${options[@]}" "$corpus" "$seeds" >"$log" 2>&1; then
        grep -E '^(==[0-9]+==ERROR|SUMMARY|.*runtime error)' "$log" | head -5 || true
        local reproducer
        reproducer=$(grep -o "Test unit written to .*" "$log" | tail -1 | sed 's/Test unit written to //')
        echo "fuzz: $target found a fault (log: $log)"
        if [ -n "$reproducer" ]; then
            echo "fuzz: reproducer $reproducer; run it again with: $build/$target $reproducer"
            xxd "$reproducer" | head -20
        fi
        return 1
    fi
    grep -E 'stat::number_of_executed_units|cov: ' "$log" | tail -2 | sed "s/^/fuzz: $target: /"
}

case "$mode" in
smoke)
    for target in "${byte_level[@]}" "${structured[@]}"; do run_target "$target" 3000; done ;;
full)
    for target in "${byte_level[@]}"; do run_target "$target" 1000000; done
    for target in "${structured[@]}"; do run_target "$target" 250000; done ;;
*)
    run_target "$mode" "${2:?runs}" ;;
esac
