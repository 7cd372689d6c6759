#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds the plug-in in Release, installs
# Trelvane.vst3 into ~/.vst3 and renders a short demo through it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

build_dir=${TRELVANE_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release
cmake --build "$build_dir" -j "$(nproc)" --target Trelvane_VST3 trelvane-render trelvane-demo-signal

bundle="$build_dir/Trelvane_artefacts/Release/VST3/Trelvane.vst3"
mkdir -p "$HOME/.vst3"
rm -rf "$HOME/.vst3/Trelvane.vst3"
cp -r "$bundle" "$HOME/.vst3/"
echo "Installed the plug-in: $HOME/.vst3/Trelvane.vst3 (a VST3 host finds it there after a rescan)."

demo_dir="$build_dir/demo"
mkdir -p "$demo_dir"
"$build_dir/tools/render/trelvane-demo-signal" "$demo_dir/demo-in.wav"

# Band 1 cuts the lows on the left-leaning axis (high-pass at about 590 Hz,
# angle 0.1); band 5 lifts the highs on the right-leaning axis by 12 dB
# (high shelf at about 2.5 kHz, angle 0.9): the two sides of the stereo
# image change in opposite ways.
"$build_dir/tools/render/trelvane-render" "$demo_dir/demo-in.wav" "$demo_dir/demo-out.wav" \
    --set type1=0.5 --set freq1=0.5 --set angle1=0.1 \
    --set type5=0.1111111 --set freq5=0.7 --set gain5=0.8 --set angle5=0.9

echo "Demo input:    $(realpath "$demo_dir/demo-in.wav")"
echo "Demo rendered: $(realpath "$demo_dir/demo-out.wav")"
