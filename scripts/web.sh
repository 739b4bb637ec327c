#!/usr/bin/env bash
# Builds the browser edition (the WebAssembly module, then the site) into build-web/site/
# and serves it on http://127.0.0.1:8080. --port N serves on another port; --build-only
# builds and stops (the tests use it); --module-only builds only the module.
set -euo pipefail
cd "$(dirname "$0")/.."
port=8080
serve=1
site=1
while [ $# -gt 0 ]; do
  case "$1" in
    --port) port=${2:?--port takes a number}; shift 2 ;;
    --build-only) serve=0; shift ;;
    --module-only) serve=0; site=0; shift ;;
    *) echo "usage: scripts/web.sh [--port N] [--build-only|--module-only]" >&2; exit 1 ;;
  esac
done
scripts/setup.sh

# The module: build-web/module/module/quarzel.js (an ES module) and quarzel.wasm.
build_module() {
  # Emscripten 3.1.6 runs its tools on node and finds their packages only here.
  export NODE_PATH=/usr/share/nodejs
  emcmake cmake -S web -B build-web/module -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
  nice cmake --build build-web/module
}

# The site: the page bundled with the module (web/vite.config.ts), type-checked first.
# Packages come from the lock file, again only when it changed; the tests use Debian's
# chromium, so no browser is downloaded.
build_site() {
  export PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1
  if [ ! web/node_modules/.package-lock.json -nt web/package-lock.json ]; then
    (cd web && npm ci --no-audit --no-fund)
  fi
  (cd web && npm run --silent build)
}

build_module
[ "$site" -eq 1 ] || exit 0
build_site
[ "$serve" -eq 1 ] || exit 0
echo "Quarzel Simulator: http://127.0.0.1:$port/"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build-web/site
