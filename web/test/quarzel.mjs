// Loads the WebAssembly module in node. It is built for the web (the node flavour of this
// Emscripten does not load on current node), so node hands it the wasm file's bytes.
import { readFileSync } from "node:fs";
import { fileURLToPath, pathToFileURL } from "node:url";
import path from "node:path";

export const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "../..");
export const moduleDir =
  process.env.QUARZEL_WEB_MODULE ?? path.join(root, "build-web/module/module");

export async function loadQuarzel() {
  const { default: createQuarzel } = await import(
    pathToFileURL(path.join(moduleDir, "quarzel.js")).href
  );
  return createQuarzel({ wasmBinary: readFileSync(path.join(moduleDir, "quarzel.wasm")) });
}

// Runs a started run in slices of sliceSteps until it ends or maxSteps ran, as the page
// does once a frame; returns the last slice's outcome and the instructions executed.
export function runInSlices(machine, maxSteps, sliceSteps = 4096) {
  let executed = 0;
  let outcome = "limit";
  while (executed < maxSteps) {
    const slice = machine.runSlice(Math.min(sliceSteps, maxSteps - executed));
    executed += slice.executed;
    outcome = slice.outcome;
    if (!slice.running) break;
  }
  return { outcome, executed };
}
