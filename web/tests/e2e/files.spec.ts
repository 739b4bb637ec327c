import { readFileSync } from "node:fs";
import { expect, test } from "@playwright/test";
import { memoryCell, openPage, registerCell, status, sysRegCell } from "./page";

const examples = new URL("../../../examples/", import.meta.url);
const example = (name: string) => ({
  name, mimeType: "application/octet-stream", buffer: readFileSync(new URL(name, examples)),
});

test("a .prg opens into memory and Save downloads the changed image", async ({ page }) => {
  await openPage(page);
  await page.setInputFiles("#FilePicker", [example("hello.prg")]);
  await expect(page).toHaveTitle("Quarzel Simulator - hello.prg");
  const image = readFileSync(new URL("hello.prg", examples));
  await expect(memoryCell(page, "00")).toHaveText(image[0].toString(16).toUpperCase().padStart(2, "0"));
  await expect(page.locator("#SaveButton")).toBeDisabled();
  await memoryCell(page, "FF").click();
  await page.keyboard.type("5A\n");
  const download = page.waitForEvent("download");
  await page.click("#SaveButton");
  const saved = readFileSync(await (await download).path());
  expect((await download).suggestedFilename()).toBe("hello.prg");
  expect(saved.length).toBe(1024);
  // 256 little-endian 32-bit entries: the changed cell's is the last.
  expect([...saved.subarray(1020)]).toEqual([0x5a, 0, 0, 0]);
  expect(saved.subarray(0, 1020)).toEqual(image.subarray(0, 1020));
  await expect(page.locator("#StatusPanel1")).toHaveText("");
});

test("a broken image is refused and memory stays; files dropped on the page open", async ({ page }) => {
  await openPage(page);
  await memoryCell(page, "00").click();
  await page.keyboard.type("12\n");
  const bad = Buffer.alloc(1024);
  bad.writeUInt32LE(256, 0);  // an entry outside 0..255
  await page.setInputFiles("#FilePicker", [{ name: "bad.prg", mimeType: "application/octet-stream", buffer: bad }]);
  // Memory was changed: first the question, and Cancel keeps everything.
  await expect(page.locator("#SaveQuestionText")).toHaveText(/^Memory Changed\./);
  await page.click("#CancelQuestionButton");
  await page.setInputFiles("#FilePicker", [{ name: "bad.prg", mimeType: "application/octet-stream", buffer: bad }]);
  // The refusal is an alert, which blocks the page until answered.
  let refusal = "";
  page.once("dialog", (dialog) => { refusal = dialog.message(); void dialog.accept(); });
  await page.click("#NoButton");
  await expect.poll(() => refusal).toMatch(/256/);
  await expect(memoryCell(page, "00")).toHaveText("12");
  await expect(page).toHaveTitle("Quarzel Simulator");

  const files = [example("sum.asm"), example("sum.tests.toml")];
  const transfer = await page.evaluateHandle((list) => {
    const data = new DataTransfer();
    for (const f of list) data.items.add(new File([new Uint8Array(f.bytes)], f.name));
    return data;
  }, files.map((f) => ({ name: f.name, bytes: [...f.buffer] })));
  await page.dispatchEvent("body", "drop", { dataTransfer: transfer });
  await expect(page.locator("#TextEditor .cm-content")).toContainText("jmpEQ");
  // The test file came along by name: Run Tests finds it.
  await page.click("#MenuRunTests");
  await expect(page.locator("#TestSummary")).toHaveText(/4 of 4 tests passed/);
  const results = page.getByRole("listbox", { name: "Test results" }).getByRole("option");
  await expect(results).toHaveCount(4);
  await expect(results.nth(1)).toHaveText("passed: 1 to 5");
  await expect(results.nth(1)).toHaveClass(/passed/);
  // A click loads that test's start (after the question, as memory was changed): R1 = 5, PC 00.
  await results.nth(1).click();
  await page.click("#NoButton");
  await expect(registerCell(page, "R1")).toHaveText("05");
  await expect(sysRegCell(page, "PC")).toHaveText("00");
  await page.click("#RunButton");
  await expect(status(page)).toHaveText("Halted");
  await expect(registerCell(page, "R3")).toHaveText("0F");
});

test("a failing test is listed in red with what was wrong; test-file mistakes are listed", async ({ page }) => {
  await openPage(page);
  await page.setInputFiles("#FilePicker", [example("sum.asm")]);
  await page.click("#MenuRunTests");
  await expect(page.getByRole("listbox", { name: "Errors" }).getByRole("option")).toHaveText(/No test file/);
  await page.setInputFiles("#FilePicker", [{ name: "sum.tests.toml", mimeType: "text/plain",
    buffer: Buffer.from('[[test]]\nname = "off by one"\nregisters = { R1 = 2 }\nexpect.registers = { R3 = 4 }\n') }]);
  await page.click("#MenuRunTests");
  const result = page.getByRole("listbox", { name: "Test results" }).getByRole("option");
  await expect(result).toHaveText(/^failed: off by one: R3 is 3 \(03\), expected 4 \(04\)/);
  await expect(result).toHaveClass(/failed/);
  await expect(page.locator("#TestSummary")).toHaveText(/0 of 1 tests passed/);
  await page.setInputFiles("#FilePicker", [{ name: "bad.tests.toml", mimeType: "text/plain",
    buffer: Buffer.from('[[test]]\nnmae = "typo"\n') }]);
  await page.click("#MenuRunTests");
  const mistakes = page.getByRole("listbox", { name: "Errors" }).getByRole("option");
  await expect(mistakes.first()).toHaveText(/^bad\.tests\.toml:\d+:\d+: /);
  await expect(mistakes.filter({ hasText: "unknown key 'nmae'" })).toHaveCount(1);
  await expect(page.locator("#TestBox")).toBeHidden();
});

// A browser that hands out file handles (faked here: the picker needs a person) saves in
// place, and downloads when writing there fails.
test("a file opened through the picker saves in place, or downloads when that fails", async ({ page }) => {
  const image = [...readFileSync(new URL("hello.prg", examples))];
  await page.addInitScript((bytes) => {
    const w = window as unknown as { written: number[][]; refuse: boolean; showOpenFilePicker: unknown };
    w.written = [];
    w.refuse = false;
    w.showOpenFilePicker = async () => [{
      getFile: async () => new File([new Uint8Array(bytes)], "hello.prg"),
      createWritable: async () => {
        if (w.refuse) throw new DOMException("no", "NotAllowedError");
        return { write: async (blob: Blob) => void w.written.push([...new Uint8Array(await blob.arrayBuffer())]),
                 close: async () => {} };
      },
    }];
  }, image);
  await openPage(page);
  await page.click("#OpenButton");
  await expect(page).toHaveTitle("Quarzel Simulator - hello.prg");
  await memoryCell(page, "FF").click();
  await page.keyboard.type("5A\n");
  let downloads = 0;
  page.on("download", () => ++downloads);
  await page.click("#SaveButton");
  await expect(page.locator("#StatusPanel1")).toHaveText("");
  const written = await page.evaluate(() => (window as unknown as { written: number[][] }).written);
  expect(written.length).toBe(1);
  expect(written[0].slice(1020)).toEqual([0x5a, 0, 0, 0]);
  expect(downloads).toBe(0);

  await memoryCell(page, "FE").click();
  await page.keyboard.type("01\n");
  await page.evaluate(() => { (window as unknown as { refuse: boolean }).refuse = true; });
  const download = page.waitForEvent("download");
  await page.click("#SaveButton");
  expect((await download).suggestedFilename()).toBe("hello.prg");
  await expect(page.locator("#StatusPanel1")).toHaveText("");
});
