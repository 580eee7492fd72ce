#!/usr/bin/env bash
# Draws the small example board of the help pages (data/help/brett.png) with ImageMagick.
# Grey cells are givens, white cells the player's; the two red lines mark the diagonals.
set -euo pipefail
cd "$(dirname "$0")/.."
out=data/help/brett.png
solution=(249368715 356971824 781542639 512783496 467195283 893426571 928614357 675839142 134257968)
givens=(100100010 010001100 001010001 100001010 000101000 010100001 100010100 001100010 010001001)
player=(000010000 100000000 000000100 000000000 010000000 000000000 000001000 000000000 000000000)
cell=26
origin=6
size=$((origin * 2 + cell * 9))
args=(-size "${size}x${size}" xc:'#C0C0C0' -font Liberation-Sans -pointsize 17)
for y in $(seq 0 8); do
  for x in $(seq 0 8); do
    left=$((origin + x * cell)); top=$((origin + y * cell))
    fill=white
    [ "${givens[$y]:$x:1}" = 1 ] && fill='#C0C0C0'
    args+=(-fill "$fill" -stroke none -draw "rectangle $left,$top $((left + cell)),$((top + cell))")
  done
done
end=$((origin + 9 * cell))
args+=(-stroke '#E06060' -strokewidth 1 -draw "line $origin,$origin $end,$end" -draw "line $origin,$end $end,$origin")
for i in $(seq 0 9); do
  p=$((origin + i * cell)); w=1
  [ $((i % 3)) = 0 ] && w=3
  args+=(-stroke black -strokewidth $w -draw "line $p,$origin $p,$end" -draw "line $origin,$p $end,$p")
done
for y in $(seq 0 8); do
  for x in $(seq 0 8); do
    if [ "${givens[$y]:$x:1}" = 1 ] || [ "${player[$y]:$x:1}" = 1 ]; then
      colour=black
      [ "${player[$y]:$x:1}" = 1 ] && colour='#0000C0'
      args+=(-stroke none -fill "$colour" -draw "text $((origin + x * cell + 8)),$((origin + y * cell + 20)) '${solution[$y]:$x:1}'")
    fi
  done
done
convert "${args[@]}" -strip "PNG8:$out"
echo "wrote $out"
