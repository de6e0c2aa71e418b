#!/usr/bin/env bash
# docs-map.sh - draws docs/map.png for people: the map outline with the icon
# of every bundled target centred on its position (purple is transparent),
# scaled up 2x. Needs ImageMagick.
# Run: bash tools/resgen/docs-map.sh
set -euo pipefail
cd "$(dirname "$0")/../.."

args=(resources/map_outline.bmp)
while IFS=$'\t' read -r type _address _host _info _note position region _rest; do
    [[ -z "$type" || "$type" == \;* || "$region" != USA ]] && continue
    x=${position%,*}
    y=${position#*,}
    args+=(\( resources/target_icons.bmp -crop "16x16+$((type * 16))+0" +repage -transparent 'rgb(128,0,128)' \)
           -geometry "+$((x - 8))+$((y - 8))" -composite)
done <resources/lumetra.txt

mkdir -p docs
convert "${args[@]}" -scale 200% -strip docs/map.png
echo "wrote docs/map.png"
