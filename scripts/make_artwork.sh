#!/usr/bin/env bash
# Draws the program's pictures from the SVG below and writes them to
# resources/: the maker's logo banner and the about box logo (JPEG), the
# connection picture (JPEG) and the window icon (.ico of 16, 32 and 48 px,
# and a 48 px PNG). Needs rsvg-convert and ImageMagick's convert.
set -euo pipefail
cd "$(dirname "$0")/.."
out=resources
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The maker's mark: a blue V in a rounded square with an orange arc.
mark='<rect x="0" y="0" width="44" height="44" rx="8" fill="#1F4E8C"/>
  <path d="M10 11 L22 34 L34 11" fill="none" stroke="#FFFFFF" stroke-width="6"
        stroke-linejoin="round" stroke-linecap="round"/>
  <path d="M8 38 Q22 46 36 38" fill="none" stroke="#F28C28" stroke-width="3" stroke-linecap="round"/>'

# banner WIDTH HEIGHT: the mark, the name and a thin rule, on white.
banner() {
  local w=$1 h=$2 scale
  scale=$(awk -v h="$h" 'BEGIN { printf "%.3f", (h - 8) / 44 }')
  cat <<SVG
<svg xmlns="http://www.w3.org/2000/svg" width="$w" height="$h">
  <rect width="$w" height="$h" fill="#FFFFFF"/>
  <g transform="translate(6 4) scale($scale)">$mark</g>
  <text x="$(awk -v h="$h" 'BEGIN { printf "%d", h + 8 }')" y="$(awk -v h="$h" 'BEGIN { printf "%d", h * 0.62 }')"
        font-family="DejaVu Sans, sans-serif" font-weight="bold" font-size="$(awk -v h="$h" 'BEGIN { printf "%d", h * 0.5 }')"
        letter-spacing="3" fill="#1F4E8C">VORANEX</text>
  <text x="$(awk -v h="$h" 'BEGIN { printf "%d", h + 10 }')" y="$(awk -v h="$h" 'BEGIN { printf "%d", h * 0.88 }')"
        font-family="DejaVu Sans, sans-serif" font-size="$(awk -v h="$h" 'BEGIN { printf "%d", h * 0.17 }')"
        letter-spacing="1" fill="#5A6B80">INSTRUMENTS DE MESURE</text>
  <rect x="$(awk -v h="$h" 'BEGIN { printf "%d", h * 4.9 }')" y="$((h / 2 - 1))" width="$((w - h * 5 - 6))" height="2" fill="#F28C28"/>
</svg>
SVG
}

# The device (left 226 px) with its cable running to a PC tower (right).
connection='<svg xmlns="http://www.w3.org/2000/svg" width="362" height="193">
  <rect width="362" height="193" fill="#FFFFFF"/>
  <!-- device: a handheld unit with display and keys -->
  <rect x="28" y="22" width="96" height="150" rx="14" fill="#D9DEE5" stroke="#3A4656" stroke-width="3"/>
  <rect x="42" y="38" width="68" height="44" rx="4" fill="#2E5C3A" stroke="#1C2A22" stroke-width="2"/>
  <text x="76" y="66" font-family="DejaVu Sans Mono, monospace" font-size="14" fill="#B8F0C0" text-anchor="middle">KST90</text>
  <circle cx="56" cy="104" r="8" fill="#1F4E8C"/>
  <circle cx="96" cy="104" r="8" fill="#1F4E8C"/>
  <rect x="48" y="124" width="56" height="12" rx="6" fill="#F28C28"/>
  <rect x="62" y="172" width="28" height="10" fill="#3A4656"/>
  <!-- cable with its USB serial adapter, leaving the picture at x = 226 -->
  <path d="M76 182 C76 190 120 190 150 170 S196 120 226 122" fill="none" stroke="#222222" stroke-width="5"/>
  <rect x="150" y="150" width="36" height="18" rx="4" fill="#3A4656" transform="rotate(-35 168 159)"/>
  <!-- PC tower -->
  <path d="M226 122 L262 122" fill="none" stroke="#222222" stroke-width="5"/>
  <rect x="262" y="28" width="78" height="150" rx="6" fill="#E8EBEF" stroke="#3A4656" stroke-width="3"/>
  <rect x="274" y="44" width="54" height="10" rx="2" fill="#9AA4B1"/>
  <rect x="274" y="62" width="54" height="10" rx="2" fill="#9AA4B1"/>
  <circle cx="301" cy="96" r="7" fill="none" stroke="#1F4E8C" stroke-width="3"/>
  <rect x="266" y="114" width="10" height="16" fill="#3A4656"/>
  <rect x="282" y="150" width="38" height="4" fill="#9AA4B1"/>
  <rect x="282" y="158" width="38" height="4" fill="#9AA4B1"/>
</svg>'

icon="<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"48\" height=\"48\" viewBox=\"-2 -2 48 48\">$mark</svg>"

banner 330 53 > "$work/banner.svg"
banner 384 57 > "$work/about.svg"
printf '%s\n' "$connection" > "$work/connection.svg"
printf '%s\n' "$icon" > "$work/icon.svg"

for name in banner about connection; do
  rsvg-convert "$work/$name.svg" -o "$work/$name.png"
done
convert "$work/banner.png" -background white -flatten -quality 92 -strip "$out/logo_banner.jpg"
convert "$work/about.png" -background white -flatten -quality 92 -strip "$out/about_logo.jpg"
convert "$work/connection.png" -background white -flatten -quality 92 -strip "$out/connection.jpg"
for size in 16 32 48; do
  rsvg-convert -w "$size" -h "$size" "$work/icon.svg" -o "$work/icon_$size.png"
done
cp "$work/icon_48.png" "$out/icon_48.png"
convert "$work/icon_16.png" "$work/icon_32.png" "$work/icon_48.png" "$out/icon.ico"
