#!/usr/bin/env bash
# Draws keyboard-layout.bmp, bitmap 140 of the library: the phonetic layout as a keyboard,
# each key with its small and capital Latin letter and the Kannada letter each one types.
# Needs ImageMagick and the Lohit Kannada font (Debian: imagemagick, fonts-lohit-knda).
# Usage: draw-keyboard-layout.sh [OUTPUT]   (default: keyboard-layout.bmp beside this script)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
output=${1:-$here/keyboard-layout.bmp}
kannada_font=${KANNADA_FONT:-/usr/share/fonts/truetype/lohit-kannada/Lohit-Kannada.ttf}
latin_font=${LATIN_FONT:-/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf}
plain_font=${PLAIN_FONT:-/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf}
for f in "$kannada_font" "$latin_font" "$plain_font"; do
  [ -f "$f" ] || { echo "missing font: $f" >&2; exit 1; }
done

# Key: small letter, what it types, capital letter, what it types ("-" for nothing).
keys_row1=(
  "q ಟ Q ಠ" "w ಡ W ಢ" "e ಎ E ಏ" "r ರ R ಋ" "t ತ T ಥ"
  "y ಯ Y ಐ" "u ಉ U ಊ" "i ಇ I ಈ" "o ಒ O ಓ" "p ಪ P ಫ")
keys_row2=(
  "a ಅ A ಆ" "s ಸ S ಶ" "d ದ D ಧ" "f ್ F ಱ" "g ಗ G ಘ"
  "h ಹ H ಃ" "j ಜ J ಝ" "k ಕ K ಖ" "l ಲ L ಳ")
keys_row3=(
  "z ಞ Z ಙ" "x ಷ X +" "c ಚ C ಛ" "v ವ V ಔ" "b ಬ B ಭ"
  "n ನ N ಣ" "m ಮ M ಂ")

width=735
height=459
key_w=64
key_h=104
gap=7

draws=()
# One key: a rounded box, the capital row above, the small row below.
add_key() {
  local x=$1 y=$2 spec=$3
  local small small_k capital capital_k
  read -r small small_k capital capital_k <<<"$spec"
  local x2=$((x + key_w)) y2=$((y + key_h))
  draws+=(-fill '#f4f1e8' -stroke '#5a5a5a' -strokewidth 2
          -draw "roundrectangle $x,$y $x2,$y2 8,8" -stroke none)
  draws+=(-font "$latin_font" -pointsize 15 -fill '#7a2e10'
          -draw "text $((x + 7)),$((y + 24)) '$capital'"
          -fill '#1f3f8f' -draw "text $((x + 7)),$((y + 76)) '$small'")
  draws+=(-font "$kannada_font" -pointsize 26 -fill '#7a2e10'
          -draw "text $((x + 28)),$((y + 42)) '$capital_k'"
          -fill '#1f3f8f' -draw "text $((x + 28)),$((y + 94)) '$small_k'")
  draws+=(-stroke '#c8c2b0' -strokewidth 1 -draw "line $((x + 6)),$((y + key_h / 2)) $((x2 - 6)),$((y + key_h / 2))" -stroke none)
}

add_row() {
  local y=$1 indent=$2
  shift 2
  local x=$indent
  for spec in "$@"; do
    add_key "$x" "$y" "$spec"
    x=$((x + key_w + gap))
  done
}

row_width=$((10 * key_w + 9 * gap))
left=$(((width - row_width) / 2))
top=46
add_row "$top" "$left" "${keys_row1[@]}"
add_row $((top + key_h + gap)) $((left + 20)) "${keys_row2[@]}"
add_row $((top + 2 * (key_h + gap))) $((left + 48)) "${keys_row3[@]}"

legend_y=$((top + 3 * (key_h + gap) + 14))
convert -size ${width}x${height} xc:'#ffffff' \
  -font "$latin_font" -pointsize 18 -fill '#222222' -draw "text $left,30 'Kannada Tovi phonetic keyboard'" \
  "${draws[@]}" \
  -font "$plain_font" -pointsize 12 -fill '#333333' \
  -draw "text $left,$legend_y 'Scroll Lock on types Kannada. Upper half of a key: with Shift; lower half: without.'" \
  -draw "text $left,$((legend_y + 17)) 'f after a consonant is the halant: a following consonant joins it (k f k gives the conjunct).'" \
  -draw "text $left,$((legend_y + 34)) 'A vowel after a consonant becomes its vowel sign. X after r, L, j or P gives their other form.'" \
  -type TrueColor "BMP3:$output"
echo "wrote $output"
