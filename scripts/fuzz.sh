#!/usr/bin/env bash
# Builds the libFuzzer targets natively with clang, ASan and UBSan in
# build/fuzz, and runs them for a bounded time shared equally among them.
#
#   bash scripts/fuzz.sh [seconds in all]     (default 60)
#
# Each target's corpus in build/fuzz/corpus/TARGET grows from run to run; it
# starts from a few inputs written here.
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
targets=(kbf_reader_fuzz page_link_fuzz page_text_matcher_fuzz html_export_fuzz bitmap_image_fuzz tree_pad_reader_fuzz action_outline_reader_fuzz mailto_command_fuzz icon_image_fuzz ani_file_fuzz icon_list_fuzz gif_image_fuzz place_keys_fuzz plain_text_layout_fuzz rtf_reader_limits_fuzz long_lines_fuzz)
cmake --build "$build" --target "${targets[@]}"

# The ".kbf" reader starts from files written from the format's layout.
corpus="$build/corpus/kbf_reader_fuzz"
mkdir -p "$corpus"
# A page with a two-line body, a page with a child, a root record.
printf 'kbf\r\n01\r\n5\r\nxNone\r\n12\r\nxLine1\r\nLine2\r\n2\r\nxc\r\n2\r\nxm\r\n2\r\nxu\r\n1\r\nxx\r\n4\r\n4\r\nxa\r\nb\r\n5\r\nxPlan\r\n0\r\n2\r\n0\r\n3\r\nx  \r\n6\r\nxIdeas\r\n0\r\n9\r\n2\r\n1\r\nx\r\n8\r\nxSub One\r\n2\r\n1\r\n0\r\n1\r\nx\r\n5\r\nxHome\r\n1\r\n' \
  > "$corpus/seed-sample"
# A root-only file with LF line ends, and one without a root record.
printf 'kbf\n01\n1\nx\n1\nx\n1\nx\n1\nx\n1\nx\n0\nxx\n1\n2\nxb\n2\nxt\n20\n' > "$corpus/seed-root-only"
printf 'kbf\n01\n1\nx\n1\nx\n1\nx\n1\nx\n1\nx\n0\nxx\n2\n1\nx\n1\nx\n0\n0\n0\n' > "$corpus/seed-no-root"

# Page links: a tree's shape, then the link text.
corpus="$build/corpus/page_link_fuzz"
mkdir -p "$corpus"
printf '\x06\x00\x08\x10\x01\x30\x02file::Home\\\\x\\\\' > "$corpus/seed-absolute"
printf '\x06\x00\x08\x10\x01\x30\x02file:.^\\\\^\\\\Plan_B' > "$corpus/seed-relative"
printf '\x00file:' > "$corpus/seed-short"

# The page text matcher starts from a search for a word in a line of text:
# options (match case, whole words), the search text's length, the search
# text, the page.
corpus="$build/corpus/page_text_matcher_fuzz"
mkdir -p "$corpus"
printf '\x02\x04wordA sword, word.\r\nor words' > "$corpus/seed-whole-word"
printf '\x05\x03\xe9t\xe9\xc9T\xc9 and \xe9t\xe9' > "$corpus/seed-accents"

# The web page export starts from a small tree whose titles hold markup and links.
corpus="$build/corpus/html_export_fuzz"
mkdir -p "$corpus"
printf '\x29\xff\x03\x05R&A<>\x03\x01\x00\x02\x04A "x\x04b  c\x00\x03\x0ahttp://a&b\x00\x01\x05\x0ax.gif\x03\x02p\x0d\x0a' > "$corpus/seed-markup"

# Bitmap file images: a 1 x 1 picture of 1 bit, and one of 16 bits with masks.
corpus="$build/corpus/bitmap_image_fuzz"
mkdir -p "$corpus"
printf 'BMB\0\0\0\0\0\0\0>\0\0\0(\0\0\0\1\0\0\0\1\0\0\0\1\0\1\0\0\0\0\0\4\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\377\377\377\0\200\0\0\0' \
  > "$corpus/seed-1bit"
printf 'BMF\0\0\0\0\0\0\0B\0\0\0(\0\0\0\1\0\0\0\1\0\0\0\1\0\20\0\3\0\0\0\4\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\370\0\0\340\7\0\0\37\0\0\0\377\377\0\0' \
  > "$corpus/seed-16bit"

# The foreign outline readers start from a small file of each.
corpus="$build/corpus/tree_pad_reader_fuzz"
mkdir -p "$corpus"
printf '<hj-Treepad version 0.9>\r\n<node>\r\nTop\r\n0\r\n  text\r\n\r\n<end node> 5P9i0s8y19Z\r\n<node>\r\nSub\r\n1\r\nx\r\n<end node> 5P9i0s8y19Z\r\n' > "$corpus/seed-09"
printf '<Treepad version 2.7>\ndt=Text\n<node>\nA\n1\nb\n<end node> 5P9i0s8y19Z\ndt=Text\n<node>\nB\n3\n<end node> 5P9i0s8y19Z' > "$corpus/seed-27"
corpus="$build/corpus/action_outline_reader_fuzz"
mkdir -p "$corpus"
printf '[GP][AO][1.0][01]\x081234567\x04\x00\x00\x00Root\x01\x00\x00\x00b\x01\x00\x00\x00\x04\x00\x00\x00\x01\x01\x03C\x00\x00\x00\x00\x00\x00\x00\x00' > "$corpus/seed-nested"

# "mailto:" links: which registered command, then the link.
corpus="$build/corpus/mailto_command_fuzz"
mkdir -p "$corpus"
printf '\x00mailto:a@b.c?subject=x&body="y"\\' > "$corpus/seed-quote"
printf '\x01mailto:a@b.c & calc.exe\r\n' > "$corpus/seed-ampersand"

# Places bar subkeys: saved ones in the registry's listing order, and strays.
corpus="$build/corpus/place_keys_fuzz"
mkdir -p "$corpus"
printf 'Place_0\nPlace_1\nPlace_10\nPlace_11\nPlace_2\nOther\nplace_007' > "$corpus/seed-listing"

# Icon file images start from the program's own icons and cursors; animated
# cursors and icon list streams from the small files kept in fuzz/seeds.
corpus="$build/corpus/icon_image_fuzz"
mkdir -p "$corpus"
cp "$root"/app/res/*.ico "$root"/app/res/*.cur "$corpus"/
for target in ani_file_fuzz icon_list_fuzz; do
  mkdir -p "$build/corpus/$target"
  cp "$root/fuzz/seeds/$target"/* "$build/corpus/$target"/
done

# GIF pictures: a first byte that says plain (even) or length-prefixed (odd),
# then a file written by the program's own writer, and an animation coded
# literal by literal (looping, transparent, interlaced, commented).
corpus="$build/corpus/gif_image_fuzz"
mkdir -p "$corpus"
printf '\x00\x47\x49\x46\x38\x37\x61\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\xff\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x4c\x01\x00\x3b' > "$corpus/seed-written"
printf '\x01\x23\x00\x00\x00\x47\x49\x46\x38\x37\x61\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\xff\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x4c\x01\x00\x3b' > "$corpus/seed-length-prefixed"
printf '\x00\x47\x49\x46\x38\x39\x61\x04\x00\x02\x00\x91\x00\x00\x00\x00\x00\x55\x55\x55\xaa\xaa\xaa\xff\xff\xff\x21\xff\x0b\x4e\x45\x54\x53\x43\x41\x50\x45\x32\x2e\x30\x03\x01\x00\x00\x00\x21\xf9\x04\x05\x0a\x00\x01\x00\x2c\x00\x00\x00\x00\x04\x00\x02\x00\x00\x02\x05\x44\xa8\x71\x62\x50\x00\x21\xfe\x02\x68\x69\x00\x2c\x00\x00\x00\x00\x04\x00\x02\x00\x40\x02\x05\x4c\x28\x71\x23\x50\x00\x3b' > "$corpus/seed-animation"

# The print layout starts from two paragraphs, one long enough to wrap, and
# from breaks of every kind: line widths, a width factor, then the text.
corpus="$build/corpus/plain_text_layout_fuzz"
mkdir -p "$corpus"
printf '\x28\x30\x07A first paragraph long enough to wrap twice.\r\nShort one.' > "$corpus/seed-wrap"
printf '\x05\x03\x01\r\n\r\rx\n\tlong_word_without_blanks  \r\n' > "$corpus/seed-breaks"

# The RTF screen starts from the shapes that ended or froze the rich edit
# control, and from small real RTF: a styled text and a nested table.
corpus="$build/corpus/rtf_reader_limits_fuzz"
mkdir -p "$corpus"
{ printf '{\\rtf1\\trowd'; for i in $(seq 80); do printf '\\cellx99999999'; done
  for i in $(seq 80); do printf '\\intbl x\\cell'; done; printf '\\row}'; } > "$corpus/seed-table"
{ printf '{\\rtf1 \\'; head -c 1100 /dev/zero | tr '\0' a; printf '}'; } > "$corpus/seed-control-word"
{ printf '{\\rtf1{\\fonttbl{\\f0 '; head -c 1100 /dev/zero | tr '\0' A; printf ';}}x}'; } > "$corpus/seed-font-name"
printf '{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}{\\stylesheet{\\s1 Heading;}}{\\b Bold}\\par\\u8364 ?\\'"'"'e9}' > "$corpus/seed-styled"
printf '{\\rtf1\\trowd\\cellx4000 \\intbl a\\itap2 b\\nestcell{\\*\\nesttableprops\\trowd\\cellx2000\\nestrow}\\itap1 c\\cell\\row}' > "$corpus/seed-nested"
printf '{\\rtf1 \\intbl \\cellx5 \\cell \\itap3 }' > "$corpus/seed-nesting-jump"
# Long lines: a repeat count, then text without breaks or with a few.
corpus="$build/corpus/long_lines_fuzz"
mkdir -p "$corpus"
printf '\x03words in one line ' > "$corpus/seed-one-line"
printf '\x02\x82\x41\x82\xa0ab\r\n' > "$corpus/seed-double-bytes"

# -rss_limit_mb catches a reader that allocates what the input cannot hold.
per_target=$(( (seconds + ${#targets[@]} - 1) / ${#targets[@]} ))
for target in "${targets[@]}"; do
  mkdir -p "$build/corpus/$target"
  "$build/bin/$target" "$build/corpus/$target" \
    -max_total_time="$per_target" -timeout=10 -rss_limit_mb=512 -max_len=4096 -print_final_stats=1
done
