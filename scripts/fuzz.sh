#!/usr/bin/env bash
# Builds the libFuzzer targets over the shader core (fuzz preset: clang, ASan, UBSan) and runs
# each for SECONDS_EACH (default 30) from the committed corpus. New inputs go to a scratch
# directory, never into the repository; a crash input is kept in build/fuzz/crashes/ and fails
# the script.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
crashes=build/fuzz/crashes
mkdir -p "$crashes"

# target, longest input worth mutating: a parameter text is at most 255 characters plus a
# few of slack; a shading input is 68 bytes of settings, point, colour, samples and source.
for entry in parameter_string:300 cloud_shading:80; do
  name=${entry%%:*}
  max_len=${entry##*:}
  dictionary=()
  [ -f "tests/fuzz/$name.dict" ] && dictionary=(-dict="tests/fuzz/$name.dict")
  mkdir -p "$scratch/$name"
  log="$scratch/$name.log"
  echo "== fuzz $name (${seconds} s)"
  if ! "build/fuzz/tests/fuzz/${name}_fuzz" "$scratch/$name" "tests/fuzz/corpus/$name" \
      -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$crashes/$name-" -print_final_stats=1 "${dictionary[@]}" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz: $name failed; the input is in $crashes/" >&2
    exit 1
  fi
  grep -E '^#[0-9]+[[:space:]]+DONE' "$log" || true
  grep -E '^stat::(number_of_executed_units|peak_rss_mb)' "$log" || true
done
