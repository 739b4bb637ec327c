import { createHash } from "node:crypto";
import { readFileSync } from "node:fs";
import { fileURLToPath } from "node:url";
import { defineConfig, type Plugin } from "vite";

// The module is built by scripts/web.sh before the page, into build-web/module/module/.
const moduleDir = fileURLToPath(new URL("../build-web/module/module", import.meta.url));
const root = new URL("..", import.meta.url);
const version = /set\(QUARZEL_VERSION ([^)]+)\)/.exec(
  readFileSync(new URL("cmake/Version.cmake", root), "utf8"))![1];

// What makes the site installable and work offline: the web app manifest with the icons,
// build.json (the version and a hash of every file, which tells the page it was updated)
// and the service worker with the list of files it keeps.
function offline(): Plugin {
  return {
    name: "quarzel-offline",
    apply: "build",
    enforce: "post",
    generateBundle(_, bundle) {
      const sizes = [48, 128, 256];
      const icons = sizes.map((size) => ({
        src: `icons/quarzel-${size}.png`, sizes: `${size}x${size}`, type: "image/png" }));
      const added: { fileName: string; source: string | Uint8Array }[] = [
        ...sizes.map((size, i) => ({ fileName: icons[i].src, source: readFileSync(
          new URL(`data/icons/${size}x${size}/apps/org.quarzel.Simulator.png`, root)) })),
        { fileName: "manifest.webmanifest", source: JSON.stringify({
          name: "Quarzel Simulator", short_name: "Quarzel", start_url: "./", scope: "./",
          display: "standalone", background_color: "#f0f0f0", theme_color: "#f0f0f0", icons }, null, 2) },
      ];
      const hash = createHash("sha256");
      for (const name of Object.keys(bundle).sort()) {
        const file = bundle[name];
        hash.update(name).update(file.type === "chunk" ? file.code : file.source);
      }
      for (const file of added) hash.update(file.fileName).update(file.source);
      const build = hash.digest("hex").slice(0, 16);
      added.push({ fileName: "build.json", source: JSON.stringify({ version, build }) });
      const files = ["./", ...Object.keys(bundle).filter((n) => n !== "index.html"),
                     ...added.map((f) => f.fileName)].sort();
      added.push({ fileName: "sw.js", source:
        readFileSync(new URL("serviceworker.js", import.meta.url), "utf8")
          .replace("__BUILD__", build).replace("__FILES__", JSON.stringify(files)) });
      for (const file of added) this.emitFile({ type: "asset", ...file });
    },
  };
}

export default defineConfig({
  base: "./",  // relative addresses, so that the site works from any folder of any host
  resolve: { alias: { "@module": moduleDir } },
  build: { outDir: "../build-web/site", emptyOutDir: true, target: "es2022" },
  server: { fs: { allow: [".", moduleDir] } },
  plugins: [offline()],
});
