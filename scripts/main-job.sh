#!/usr/bin/env bash
# The product's main job on a fresh machine: install the tools, build everything, check
# the payload and the installer images, then install the sample client with the headless
# installer and list what it installed.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build

echo
echo "== payload: build/payload/payload.bin"
build/builder/vorq-pack check build/payload/payload.bin

image=build/headless/vorq-setup
if [ -f build/win/vorq-setup.exe ]; then
  image=build/win/vorq-setup.exe
fi
dest=${VORQ_DEMO_DEST:-$PWD/vorq-demo}
rm -rf "$dest"
echo
echo "== installing from $image into $dest"
build/headless/vorq-setup --image "$image" --dest "$dest"
echo
ls -l "$dest"
