#!/usr/bin/env bash
# Builds the Debian package (release build in build-package/), unpacks it into a scratch
# root and runs the packaged programs there: the package must carry what they need.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUARZEL_TESTS=OFF \
  -DQUARZEL_BENCH=OFF > /dev/null
cmake --build build-package
rm -f build-package/quarzel_*.deb
(cd build-package && cpack -G DEB > /dev/null)
deb=$(ls build-package/quarzel_*.deb)
echo "Built $deb"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libc6 libstdc++6 libqt6widgets6 libqt6printsupport6; do
  grep -q "\b$library\b" <<< "$depends" || { echo "FAIL: $library is not a dependency"; exit 1; }
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch"
version=$("$scratch/usr/bin/quarzel-cli" --version)
echo "$version"
[ "$version" = "quarzel-cli $(dpkg-deb -f "$deb" Version)" ] || { echo "FAIL: version"; exit 1; }
"$scratch/usr/bin/quarzel" --version
output=$("$scratch/usr/bin/quarzel-cli" run "$scratch/usr/share/quarzel/examples/hello.asm")
[ "$output" = "Hello, world!" ] || { echo "FAIL: the packaged example printed '$output'"; exit 1; }
echo "The packaged quarzel-cli ran the packaged example: $output"
# Every dependency can be met from the system's package lists (simulated, installs nothing).
apt-get install -s "./$deb" > "$scratch/apt.log" || { cat "$scratch/apt.log"; exit 1; }
echo "package: all good"
