import { fileURLToPath } from "node:url";
import { defineConfig } from "vite";

// The module is built by scripts/web.sh before the page, into build-web/module/module/.
const moduleDir = fileURLToPath(new URL("../build-web/module/module", import.meta.url));

export default defineConfig({
  resolve: { alias: { "@module": moduleDir } },
  build: { outDir: "../build-web/site", emptyOutDir: true, target: "es2022" },
  server: { fs: { allow: [".", moduleDir] } },
});
