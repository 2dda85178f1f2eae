#!/usr/bin/env bash
# Remakes the tool's own pictures with ImageMagick: the window background (a
# dusky moor, 856x403 JPEG, dark so that bold red labels read well on it) and
# the window icon (128x128 PNG). The output is deterministic.
set -euo pipefail
cd "$(dirname "$0")"
command -v convert >/dev/null || { echo "needs ImageMagick (apt-get install imagemagick)" >&2; exit 1; }

W=856 H=403

# A ridge line as a closed polygon: base height, then a sum of sines for the
# rolling hills, closed along the bottom edge.
ridge() { # base amplitude seed
    awk -v w=$W -v h=$H -v base="$1" -v amp="$2" -v s="$3" 'BEGIN {
        printf "M 0,%d ", h
        for (x = 0; x <= w; x += 4) {
            y = base - amp * (0.55 * sin(x / 97.0 + s) + 0.3 * sin(x / 41.0 + 2.1 * s) \
                              + 0.15 * sin(x / 13.0 + 3.7 * s))
            printf "L %d,%.1f ", x, y
        }
        printf "L %d,%d Z", w, h
    }'
}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Sky: dark slate at the top to a dim dusk band at the horizon, with soft clouds.
convert -size ${W}x250 gradient:'#0c1019'-'#4b3a44' -background '#4b3a44' -extent ${W}x${H} \
    "$tmp/sky.png"
convert -size ${W}x${H} -seed 7 plasma:'#000000'-'#ffffff' -blur 0x18 -colorspace gray \
    -level 40%,90% -evaluate multiply 0.22 "$tmp/clouds.png"
convert "$tmp/sky.png" "$tmp/clouds.png" -compose screen -composite "$tmp/sky2.png"

# A low moon glow behind the hills.
convert "$tmp/sky2.png" \( -size ${W}x${H} xc:black -fill '#8a7a5a' -draw 'circle 826,220 826,186' \
    -blur 0x28 \) -compose screen -composite \
    -fill '#d8cca8' -draw 'circle 826,220 826,204' "$tmp/sky3.png"

convert "$tmp/sky3.png" \
    -fill '#24222c' -draw "path '$(ridge 232 26 0.7)'" \
    -fill '#1a1d1b' -draw "path '$(ridge 268 22 2.3)'" \
    -fill '#111410' -draw "path '$(ridge 318 18 4.1)'" \
    -fill '#080a08' -draw "path '$(ridge 372 10 5.9)'" \
    "$tmp/land.png"

# Film grain, seeded so the picture is the same every time.
convert "$tmp/land.png" -seed 11 -attenuate 0.2 +noise Gaussian -blur 0x0.4 \
    -strip -quality 88 -sampling-factor 4:2:0 background.jpg

# Icon: a dark disc with a hill silhouette and a gold "Q".
convert -size 128x128 xc:none \
    -fill '#1b2230' -draw 'circle 64,64 64,3' \
    -fill '#2f3a2c' -draw "path 'M 8,86 Q 40,58 70,78 Q 96,64 122,84 L 122,100 Q 64,140 8,100 Z'" \
    -fill none -stroke '#e0b84a' -strokewidth 10 -draw 'circle 62,58 62,28' \
    -stroke '#e0b84a' -strokewidth 11 -draw 'line 74,72 96,100' \
    -stroke '#0b0d10' -strokewidth 3 -fill none -draw 'circle 64,64 64,3' \
    -strip icon.png

identify background.jpg icon.png
