// The browser edition's figures in node's V8 beside the native core's, in one run:
// instructions per second at full speed in frame-sized slices (history on, as the page
// runs), assembling and highlighting a 100-line source, and the module's size.
//   node bench/web/bench.mjs [SECONDS] [NATIVE_BENCH_CORE]
// (build-web/module by scripts/web.sh --module-only; bench_core from a Release build).
import { spawnSync } from "node:child_process";
import { existsSync, readFileSync, readdirSync } from "node:fs";
import path from "node:path";
import { gzipSync } from "node:zlib";
import { loadQuarzel, moduleDir, root } from "../../web/test/quarzel.mjs";

const seconds = Number(process.argv[2] ?? 3);
const nativeBench = process.argv[3] ?? path.join(root, "build/bench/core/bench_core");

// bench_core's counting loop (loads, addi, a store, a conditional jump; never halts).
const loop = [0x21, 0x01, 0x22, 0x00, 0x20, 0x00, 0x13, 0x80, 0x52, 0x21, 0x32, 0x80,
  0xB2, 0x10, 0xB0, 0x06, 0xB0, 0x02];
// A task's worth: each slice is sized to take about as long as the page runs at once.
const sliceMs = 8;

if (existsSync(nativeBench)) {
  console.log(`native (${path.relative(root, nativeBench)}):`);
  console.log(spawnSync(nativeBench, { encoding: "utf8" }).stdout.trimEnd().replace(/^/gm, "  "));
} else {
  console.log(`native: ${nativeBench} not built, no native figures`);
}

const q = await loadQuarzel();
const m = new q.Machine();
loop.forEach((b, a) => m.setMemory(a, b));
m.startRun(false);
let executed = 0;
let slices = 0;
let slowest = 0;
let sliceSteps = 10_000;
const start = performance.now();
while (performance.now() - start < seconds * 1000) {
  const before = performance.now();
  executed += m.runSlice(sliceSteps).executed;
  const took = performance.now() - before;
  slowest = Math.max(slowest, took);
  sliceSteps = Math.max(1000, Math.round((sliceSteps * sliceMs) / Math.max(took, 0.1)));
  ++slices;
}
const elapsed = (performance.now() - start) / 1000;
m.stop();
console.log("web module in node:");
console.log(`  Run in ${sliceMs} ms slices, history on: ${(executed / elapsed / 1e6).toFixed(1)} ` +
  `M instructions/s (${executed} in ${elapsed.toFixed(2)} s, ${slices} slices, slowest ` +
  `${slowest.toFixed(1)} ms)`);

// 100 lines from the examples, assembled into memory and highlighted line by line.
const lines = readdirSync(path.join(root, "examples"))
  .filter((n) => n.endsWith(".asm"))
  .flatMap((n) => readFileSync(path.join(root, "examples", n), "utf8").split("\n"))
  .slice(0, 100);
const source = lines.join("\n");
const rounds = 200;
const times = [];
for (let i = 0; i < rounds; ++i) {
  const before = performance.now();
  m.assemble(source);
  for (const line of lines) q.highlightLine(line);
  times.push(performance.now() - before);
}
times.sort((a, b) => a - b);
console.log(`  assemble + highlight ${lines.length} lines: median ${times[rounds >> 1].toFixed(2)} ms, ` +
  `slowest ${times[rounds - 1].toFixed(2)} ms (${rounds} rounds)`);
m.delete();

for (const file of ["quarzel.wasm", "quarzel.js"]) {
  const bytes = readFileSync(path.join(moduleDir, file));
  console.log(`  ${file}: ${(bytes.length / 1024).toFixed(0)} KiB, ` +
    `${(gzipSync(bytes, { level: 9 }).length / 1024).toFixed(0)} KiB gzipped`);
}
