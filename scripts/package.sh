#!/usr/bin/env bash
# Builds the Debian package (release build in build-package/, with Debian's hardening
# flags), checks it with lintian, unpacks it into a scratch root and runs the packaged
# programs there: the package must carry what they need. Also builds the browser edition
# as build-package/quarzel-web-VERSION.zip, which the package installs as well.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/web.sh --build-only
# Every hardening feature: stack protector, fortified functions, full RELRO with bind now.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUARZEL_TESTS=OFF \
  -DQUARZEL_BENCH=OFF -DQUARZEL_WEB_SITE="$PWD/build-web/site" \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" > /dev/null
cmake --build build-package
rm -f build-package/quarzel_*.deb
(cd build-package && cpack -G DEB > /dev/null)
deb=$(ls build-package/quarzel_*.deb)
echo "Built $deb"
# Any error or warning fails; informational tags are shown too, to be mended.
lintian --info --fail-on error,warning "$deb"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libc6 libstdc++6 libqt6widgets6 libqt6printsupport6; do
  grep -q "\b$library\b" <<< "$depends" || { echo "FAIL: $library is not a dependency"; exit 1; }
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch"
for program in quarzel-cli quarzel; do
  version=$("$scratch/usr/bin/$program" --version)
  echo "$version"
  [[ $version == "$program $(dpkg-deb -f "$deb" Version) (About box: v"* ]] ||
    { echo "FAIL: $program --version does not give the package's version"; exit 1; }
done
output=$("$scratch/usr/bin/quarzel-cli" run "$scratch/usr/share/quarzel/examples/hello.asm")
[ "$output" = "Hello, world!" ] || { echo "FAIL: the packaged example printed '$output'"; exit 1; }
echo "The packaged quarzel-cli ran the packaged example: $output"
# The packaged completion is where bash looks for it, and completes both programs.
completions=$scratch/$(pkg-config --variable=completionsdir bash-completion 2> /dev/null ||
  echo /usr/share/bash-completion/completions)
for program in quarzel quarzel-cli; do
  bash -c 'source "$1" && complete -p quarzel quarzel-cli' _ "$completions/$program" > /dev/null ||
    { echo "FAIL: no packaged bash completion for $program in $completions"; exit 1; }
done
echo "The package completes both programs in bash"
# Every dependency can be met from the system's package lists (simulated, installs nothing).
apt-get install -s "./$deb" > "$scratch/apt.log" || { cat "$scratch/apt.log"; exit 1; }
[ -s "$scratch/usr/share/quarzel/web/index.html" ] && [ -s "$scratch/usr/share/quarzel/web/sw.js" ] ||
  { echo "FAIL: the package lacks the browser edition"; exit 1; }

# The static site as a zip, in a folder of its name, for any web host.
web=quarzel-web-$(dpkg-deb -f "$deb" Version)
rm -rf "build-package/$web" "build-package/$web.zip"
cp -r build-web/site "build-package/$web"
(cd build-package && cmake -E tar cf "$web.zip" --format=zip "$web")
rm -rf "build-package/$web"
for file in index.html sw.js manifest.webmanifest embed-example.html; do
  unzip -l "build-package/$web.zip" "$web/$file" > /dev/null ||
    { echo "FAIL: $web.zip lacks $file"; exit 1; }
done
echo "Built build-package/$web.zip"
echo "package: all good"
