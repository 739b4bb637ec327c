#!/usr/bin/env bash
# Installs the build and test tools that are missing (Debian packages), nothing else.
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config libgtest-dev qt6-base-dev libgl-dev fonts-dejavu-core
          clang libclang-rt-14-dev clang-format-14 libtomlplusplus-dev nlohmann-json3-dev
          desktop-file-utils appstream shared-mime-info groff-base man-db dpkg-dev lintian
          libglib2.0-bin emscripten nodejs chromium python3 unzip)
# npm may come with nodejs itself (as from NodeSource), where Debian's npm package would
# conflict with it.
command -v npm > /dev/null || packages+=(npm)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
