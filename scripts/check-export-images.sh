#!/usr/bin/env bash
# Checks the state pictures beside the programs: the fourteen files the web
# page export copies, under their exact names, each a GIF that giflib reads
# to the end (16 x 16, one image).
#
#   bash scripts/check-export-images.sh "build/ARCH/bin/Export images"
set -euo pipefail
folder=$1
names=(Done White Question Reminder PunchPin Dollar Idea Red Green Yellow Cyan Magenta Blue Gray)
count=$(find "$folder" -maxdepth 1 -type f | wc -l)
if [ "$count" -ne ${#names[@]} ]; then
  echo "$folder: $count files, expected ${#names[@]}" >&2
  exit 1
fi
for name in "${names[@]}"; do
  file="$folder/$name.gif"
  dump=$(gifbuild -d "$file") || { echo "$file: not a readable GIF" >&2; exit 1; }
  if ! grep -q "^screen width 16$" <<<"$dump" || ! grep -q "^screen height 16$" <<<"$dump" \
      || [ "$(grep -c "^image # " <<<"$dump")" -ne 1 ]; then
    echo "$file: not one 16 x 16 picture" >&2
    exit 1
  fi
done
echo "the ${#names[@]} state pictures in $folder are readable GIFs"
