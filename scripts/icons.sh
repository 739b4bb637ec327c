#!/usr/bin/env bash
# Renders the application icon's PNG sizes from its SVG (needs rsvg-convert, from
# librsvg2-bin). Run after changing data/icons/org.quarzel.Simulator.svg and commit the PNGs;
# the build itself needs no SVG renderer.
set -euo pipefail
cd "$(dirname "$0")/../data/icons"
for size in 16 24 32 48 64 128 256; do
  mkdir -p "${size}x${size}/apps"
  rsvg-convert -w "$size" -h "$size" org.quarzel.Simulator.svg -o "${size}x${size}/apps/org.quarzel.Simulator.png"
done
