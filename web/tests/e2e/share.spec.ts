import { readFileSync } from "node:fs";
import { expect, test } from "@playwright/test";
import { memoryCell, openPage, registerCell, status, sysRegCell, typeSource } from "./page";

const examples = new URL("../../../examples/", import.meta.url);
const example = (name: string) => ({
  name, mimeType: "application/octet-stream", buffer: readFileSync(new URL(name, examples)),
});
const notice = (page: import("@playwright/test").Page) => page.locator("#NoticeText");

test("a link carries the source, its breakpoints and tests into a fresh page, which runs nothing", async ({ page, context }) => {
  await context.grantPermissions(["clipboard-read", "clipboard-write"]);
  await openPage(page);
  await page.setInputFiles("#FilePicker", [example("sum.asm"), example("sum.tests.toml")]);
  await page.click("#AssembleButton");
  const line = page.locator("#DisasmWin [role=option]", { hasText: /^06/ });
  await line.click({ position: { x: 5, y: 5 } });
  await page.click("#MenuCopyLink");
  await expect(notice(page)).toHaveText(/^Link copied/);
  const link = await page.evaluate(() => navigator.clipboard.readText());
  expect(link).toMatch(/#share=[\w-]+$/);

  const fresh = await context.newPage();
  await fresh.goto(link);
  await expect(fresh.locator("body[data-ready]")).toBeAttached();
  const source = readFileSync(new URL("sum.asm", examples), "utf8").replace(/\r\n/g, "\n");
  expect(await fresh.evaluate(() =>
    (window as unknown as { quarzelPage: { editorText(): string } }).quarzelPage.editorText())).toBe(source);
  await expect(fresh.locator("#DisasmWin [role=option]", { hasText: /^06/ })).toHaveClass(/breakpoint/);
  await expect(status(fresh)).toHaveText("Ready");
  await expect(sysRegCell(fresh, "PC")).toHaveText("00");
  await fresh.click("#MenuRunTests");
  await expect(fresh.locator("#TestSummary")).toHaveText(/4 of 4 tests passed/);
  await fresh.click("#RunButton");
  await expect(status(fresh)).toHaveText("Breakpoint at 06");
});

test("a memory image travels when the editor is empty; a link too long offers the files", async ({ page, context }) => {
  await context.grantPermissions(["clipboard-read", "clipboard-write"]);
  await openPage(page);
  await memoryCell(page, "10").click();
  await page.keyboard.type("2F\n");
  await page.click("#MenuCopyLink");
  const fresh = await context.newPage();
  await fresh.goto(await page.evaluate(() => navigator.clipboard.readText()));
  await expect(memoryCell(fresh, "10")).toHaveText("2F");

  // Text that does not compress: far over the limit.
  let seed = 7;
  const noise = Array.from({ length: 12000 }, () => String.fromCharCode(33 + ((seed = (seed * 48271) % 2147483647) % 90)));
  await typeSource(page, `; ${noise.join("")}\nhalt\n`);
  await page.click("#MenuCopyLink");
  await expect(notice(page)).toHaveText(/characters long, more than the 8,000/);
  const download = page.waitForEvent("download");
  await page.click("#NoticeAction");
  expect((await download).suggestedFilename()).toBe("source.asm");
});

test("a damaged or hostile link says so and leaves an empty machine", async ({ page }) => {
  await openPage(page);
  // Well-formed packing around content no page writes.
  const pack = (value: unknown) => page.evaluate(async (json) => {
    const stream = new Blob([json]).stream().pipeThrough(new CompressionStream("deflate-raw"));
    const bytes = new Uint8Array(await new Response(stream).arrayBuffer());
    return btoa(String.fromCharCode(...bytes)).replace(/\+/g, "-").replace(/\//g, "_").replace(/=+$/, "");
  }, JSON.stringify(value));
  const cases: [string, string, RegExp][] = [
    ["foreign characters", "%3Cscript%3E", /characters a shared program never has/],
    ["not packed", "AAAAAAAA", /does not unpack/],
    ["cut short", (await pack({ format: 1, source: { name: "a.asm", text: "halt" }, breakpoints: [] })).slice(0, 20), /does not unpack/],
    ["another format", await pack({ format: 99 }), /another version/],
    ["breakpoints out of range", await pack({ format: 1, source: { name: "a.asm", text: "halt" }, breakpoints: [300] }), /breakpoints/],
    ["no program", await pack({ format: 1, breakpoints: [] }), /holds no program/],
    ["a broken image", await pack({ format: 1, image: "AAAA", breakpoints: [] }), /could not be opened/],
  ];
  for (const [name, data, message] of cases) {
    await page.goto("about:blank");
    await page.goto(`/#share=${data}`);
    await expect(page.locator("body[data-ready]"), name).toBeAttached();
    await expect(notice(page), name).toHaveText(message);
    await expect(notice(page), name).toHaveText(/The machine is empty\.$/);
    await expect(memoryCell(page, "00"), name).toHaveText("00");
    await expect(page.locator("#TextEditor .cm-content"), name).toHaveText("");
  }
});

test("an embedded page shows the compact layout, its tests and a way to the full page", async ({ page }) => {
  await page.goto("/embed-example.html");
  const frame = page.frameLocator("iframe");
  await expect(frame.locator("body[data-ready]")).toBeAttached();
  await expect(frame.locator("#MainMemory")).toBeHidden();
  await expect(frame.locator("#DisasmWin")).toBeHidden();
  await expect(frame.getByRole("grid", { name: "Registers", exact: true })).toBeVisible();
  await expect(frame.locator("#OutputBox")).toBeVisible();
  await expect(frame.locator("#MenuCopyLink")).toBeHidden();
  await frame.locator("#MenuRunTests").click();
  await expect(frame.locator("#TestSummary")).toHaveText(/4 of 4 tests passed/);
  const full = frame.locator("#OpenFullPage");
  await expect(full).toHaveText("Open in Quarzel");
  expect(await full.getAttribute("href")).toMatch(/\/#share=[\w-]+$/);

  // A read-only worked example with memory shown.
  const src = await frame.locator(":root").evaluate(() => location.hash);
  await page.goto(`/${src.replace("#embed", "#embed&ro&panels=editor,memory,registers")}`);
  await expect(page.locator("#MainMemory")).toBeVisible();
  await expect(page.locator("#OutputBox")).toBeHidden();
  await page.locator("#TextEditor .cm-content").click();
  await page.keyboard.type("changed");
  await expect(page.locator("#TextEditor .cm-content")).not.toContainText("changed");
  await expect(page.locator("#TextEditor .cm-content")).toHaveAttribute("aria-readonly", "true");
});

test("the page opens and works offline once it was opened, and keeps the last source", async ({ page, context }) => {
  await openPage(page);
  await page.evaluate(() => navigator.serviceWorker.ready);
  await typeSource(page, "load R1,7\nhalt\n");
  await page.waitForTimeout(400);  // the source is kept a moment after typing stops
  await context.setOffline(true);
  await page.reload();
  await expect(page.locator("body[data-ready]")).toBeAttached();
  await expect(page.locator("#TextEditor .cm-content")).toContainText("load R1,7");
  await page.click("#AssembleButton");
  await page.click("#StepButton");
  await expect(registerCell(page, "R1")).toHaveText("07");

  // The first start of another build says so, once.
  await page.evaluate(() => localStorage.setItem("quarzel.build", "an older build"));
  await page.reload();
  await expect(notice(page)).toHaveText(/^Quarzel Simulator was updated \(version [\d.]+\)/);
  await page.reload();
  await expect(page.locator("body[data-ready]")).toBeAttached();
  await expect(page.locator("#Notice")).toBeHidden();

  // New forgets the kept source, theme and speed.
  await page.selectOption("#ThemeMenu", "Dark");
  await page.click("#MenuNewFile");
  await page.click("#NoButton");
  await expect(page.locator("#ThemeMenu")).toHaveValue("System");
  await page.reload();
  await expect(page.locator("body[data-ready]")).toBeAttached();
  await expect(page.locator("#TextEditor .cm-content")).toHaveText("");
  await expect(page.locator("#ThemeMenu")).toHaveValue("System");
});
