#!/usr/bin/env bash
# Builds the ".kbf" reader's libFuzzer target natively with clang, ASan and
# UBSan in build/fuzz, and runs it for a bounded time.
#
#   bash scripts/fuzz.sh [seconds]     (default 60)
#
# The corpus in build/fuzz/corpus grows from run to run; it starts from a few
# files written here from the format's layout.
set -euo pipefail

seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/fuzz"

bash "$root/scripts/setup.sh"

cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link" \
  -DQUILLO_SANITIZE=ON -DQUILLO_FUZZ=ON >/dev/null
cmake --build "$build" --target kbf_reader_fuzz

corpus="$build/corpus"
mkdir -p "$corpus"
# A page with a two-line body, a page with a child, a root record.
printf 'kbf\r\n01\r\n5\r\nxNone\r\n12\r\nxLine1\r\nLine2\r\n2\r\nxc\r\n2\r\nxm\r\n2\r\nxu\r\n1\r\nxx\r\n4\r\n4\r\nxa\r\nb\r\n5\r\nxPlan\r\n0\r\n2\r\n0\r\n3\r\nx  \r\n6\r\nxIdeas\r\n0\r\n9\r\n2\r\n1\r\nx\r\n8\r\nxSub One\r\n2\r\n1\r\n0\r\n1\r\nx\r\n5\r\nxHome\r\n1\r\n' \
  > "$corpus/seed-sample"
# A root-only file with LF line ends, and one without a root record.
printf 'kbf\n01\n1\nx\n1\nx\n1\nx\n1\nx\n1\nx\n0\nxx\n1\n2\nxb\n2\nxt\n20\n' > "$corpus/seed-root-only"
printf 'kbf\n01\n1\nx\n1\nx\n1\nx\n1\nx\n1\nx\n0\nxx\n2\n1\nx\n1\nx\n0\n0\n0\n' > "$corpus/seed-no-root"

# -rss_limit_mb catches a reader that allocates what the input cannot hold.
"$build/bin/kbf_reader_fuzz" "$corpus" \
  -max_total_time="$seconds" -timeout=10 -rss_limit_mb=512 -max_len=4096 -print_final_stats=1
