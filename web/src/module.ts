import createQuarzel from "@module/quarzel.js";
import wasmUrl from "@module/quarzel.wasm?url";
import type { QuarzelModule } from "./quarzel";

// The bundler gives the wasm file its own hashed name; the module is told where it went.
export function loadModule(): Promise<QuarzelModule> {
  return createQuarzel({ locateFile: (path) => (path.endsWith(".wasm") ? wasmUrl : path) });
}
