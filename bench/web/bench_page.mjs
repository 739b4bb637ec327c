// The page in Chromium: time to usable, instructions per second at full speed with the
// page answering input (the longest input delay while the pointer moves over memory) and
// the views' refresh rate, and the size of the site, gzipped.
// Usage: node bench/web/bench_page.mjs [seconds]   (after scripts/web.sh --build-only)
import { createRequire } from "node:module";
import { readFileSync, readdirSync, statSync } from "node:fs";
import { join } from "node:path";
import { gzipSync } from "node:zlib";
import { fileURLToPath } from "node:url";
import { spawn } from "node:child_process";

const root = fileURLToPath(new URL("../..", import.meta.url));
const site = join(root, "build-web/site");
const require = createRequire(join(root, "web/package.json"));
const { chromium } = require("@playwright/test");
const seconds = Number(process.argv[2] ?? 5);
const port = 8093;

function gzippedSize(dir) {
  let total = 0;
  for (const name of readdirSync(dir)) {
    const path = join(dir, name);
    total += statSync(path).isDirectory() ? gzippedSize(path) : gzipSync(readFileSync(path), { level: 9 }).length;
  }
  return total;
}

const server = spawn("npx", ["vite", "preview", "--host", "127.0.0.1", "--port", String(port), "--strictPort"],
                     { cwd: join(root, "web"), stdio: "ignore", detached: true });
const browser = await chromium.launch({
  executablePath: "/usr/bin/chromium",
  args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync"],
});
try {
  const page = await browser.newPage();
  for (let tries = 0; ; ++tries) {
    try { await page.goto(`http://127.0.0.1:${port}/`); break; } catch (e) {
      if (tries > 50) throw e;
      await new Promise((r) => setTimeout(r, 200));
    }
  }
  // A fresh load, now that the server answers: from navigation to a page that takes input.
  await page.reload();
  await page.waitForSelector("body[data-ready]");
  const usableMs = await page.evaluate(() => performance.now());

  // Assembling and highlighting a 100-line source, as the editor does on Assemble.
  const kinds = ["        load R1,5         ; a count", "        addi R3,R3,R1     ; add it",
                 "        store R3,[80h]    ; keep it", "; a line of comment, \"quoted\" 0x12"];
  const hundred = Array.from({ length: 100 }, (_, i) => kinds[i % kinds.length]);
  const assembleMs = await page.evaluate((lines) => {
    const { module: q, machine } = window.quarzelPage;
    const text = lines.join("\n");
    const rounds = 50, start = performance.now();
    for (let r = 0; r < rounds; ++r) {
      machine.assemble(text);
      for (const line of lines) q.highlightLine(line);
    }
    return (performance.now() - start) / rounds;
  }, hundred);

  // A loop that never ends: add, store, jump.
  await page.locator("#TextEditor .cm-content").click();
  await page.keyboard.insertText("        load R1,1\nloop:   addi R2,R2,R1\n        store R2,[80]\n        jmp loop\n");
  await page.click("#AssembleButton");
  await page.evaluate(() => {
    window.benchDelays = [];
    new PerformanceObserver((list) => {
      for (const e of list.getEntries()) window.benchDelays.push(e.processingStart - e.startTime);
    }).observe({ type: "event", durationThreshold: 16, buffered: true });
  });
  await page.click("#RunButton");
  const start = Date.now();
  let moves = 0;
  const cells = await page.locator("#MainMemory [role=gridcell]").all();
  while (Date.now() - start < seconds * 1000) {
    await cells[moves++ % cells.length].hover();
    await page.waitForTimeout(50);
  }
  const figures = await page.evaluate(() => {
    const run = window.quarzelPage.run;
    return { executed: run.executed, frames: run.frames, elapsed: run.elapsedMs(),
             delays: window.benchDelays };
  });
  await page.click("#BreakButton");
  const status = await page.textContent("#StatusPanel2");
  const maxDelay = figures.delays.length ? Math.max(...figures.delays) : 0;
  console.log(`time to usable:         ${usableMs.toFixed(0)} ms`);
  console.log(`full speed:             ${(figures.executed / figures.elapsed / 1000).toFixed(1)} M instructions/s`);
  console.log(`view refreshes:         ${(figures.frames / figures.elapsed * 1000).toFixed(1)} per second`);
  console.log(`longest input delay:    ${maxDelay.toFixed(1)} ms over ${moves} pointer moves` +
              ` (${figures.delays.length} events slower than 16 ms)`);
  console.log(`status after Break:     ${status}`);
  console.log(`assemble + highlight:   ${assembleMs.toFixed(2)} ms for 100 lines`);
  console.log(`site, gzipped:          ${(gzippedSize(site) / 1024).toFixed(1)} KiB`);
} finally {
  await browser.close();
  process.kill(-server.pid);  // npx and the server it started
}
