#!/bin/sh
# Renders every page and dialog template, and the error report in both of
# its faces, under Xvfb into the Windows test tree's screenshots/, then gathers the pages
# into contact sheets (pages-*.png) for looking at them side by side.
#
#   sh scripts/screenshots.sh            everything
#   sh scripts/screenshots.sh --readme   also refresh docs/screenshots/
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"
out="$TVS_WIN_TREE/screenshots"
sh "$root/scripts/screenshot-templates.sh" 102 104 106 108 113 114 115 116 138 \
    1537 1545 1546 1547 1549 1550 1558
sh "$root/scripts/screenshot-error-dialog.sh"
sh "$root/scripts/screenshot-wizard.sh"
cp "$TVS_WIN_TREE/shots/error-dialog-collapsed.png" "$TVS_WIN_TREE/shots/error-dialog-expanded.png" "$out/"

cd "$out"
for id in 102 104 106 108 113 114 115 116 1537 1545 1546 1547 1549 1550 1558; do
    convert "template-$id.png" -gravity center -crop 560x400+0+0 +repage "page-$id.png"
done
montage page-102.png page-104.png page-106.png page-108.png -tile 2x2 -geometry +2+2 pages-install.png
montage page-114.png page-1537.png page-1549.png page-115.png -tile 2x2 -geometry +2+2 pages-steps.png
montage page-116.png page-1558.png page-113.png page-114.png -tile 2x2 -geometry +2+2 pages-outcomes.png
montage page-1545.png page-1546.png page-1550.png page-1547.png -tile 2x2 -geometry +2+2 pages-uninstall.png
convert error-dialog-expanded.png -gravity center -crop 340x300+0+0 +repage error-dialog.png
echo "screenshots in $out"

if [ "$1" = "--readme" ]; then
    mkdir -p "$root/docs/screenshots"
    cp wizard-welcome.png pages-install.png pages-uninstall.png error-dialog.png "$root/docs/screenshots/"
fi
