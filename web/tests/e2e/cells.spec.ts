import { expect, test } from "@playwright/test";
import { memoryCell, openPage, registerCell, status, sysRegCell } from "./page";

test("a program typed into the cells runs: its output appears and the status says Halted", async ({ page }) => {
  await openPage(page);
  await memoryCell(page, "00").click();
  // load R0,48; move RF,R0; halt -- "H" in the output window
  for (const byte of ["20", "48", "40", "0F", "C0", "00"]) await page.keyboard.type(byte + "\n");
  await expect(memoryCell(page, "05")).toHaveText("00");
  await expect(memoryCell(page, "02")).toHaveText("40");
  await expect(page.locator("#StatusPanel1")).toHaveText("Modified");
  await expect(page.locator("#SaveButton")).toBeEnabled();
  await expect(page.locator("#DisasmWin [role=option]").first()).toContainText("load");
  await page.click("#RunButton");
  await expect(status(page)).toHaveText("Halted");
  await expect(page.locator("#OutputBox")).toHaveText("H");
  await expect(registerCell(page, "RF")).toHaveText("48");
  await expect(sysRegCell(page, "PC")).toHaveText("06");
  await expect(sysRegCell(page, "IR")).toHaveText("C000");
  await expect(page.locator("#RunButton")).toBeEnabled();
  await expect(page.locator("#BreakButton")).toBeDisabled();
});

test("cell editing: Escape drops the digits, a third digit is not taken, IR cannot be edited", async ({ page }) => {
  await openPage(page);
  await memoryCell(page, "10").click();
  await page.keyboard.type("7");
  await page.keyboard.press("Escape");
  await expect(memoryCell(page, "10")).toHaveText("00");
  await page.keyboard.type("ABC\n");
  await expect(memoryCell(page, "10")).toHaveText("AB");
  await expect(page.locator("#StatusPanel0")).toHaveText("Address: 17");  // moved on, in decimal
  await sysRegCell(page, "IR").click();
  await page.keyboard.type("12\n");
  await expect(sysRegCell(page, "IR")).toHaveText("0000");
  await sysRegCell(page, "PC").click();
  await page.keyboard.type("1\n");
  await expect(sysRegCell(page, "PC")).toHaveText("01");
  await page.click("#ZeroPC");
  await expect(sysRegCell(page, "PC")).toHaveText("00");
});

test("copy and paste in memory: the paste stops at FF, a range is no destination, Del clears", async ({ page }) => {
  await openPage(page);
  await memoryCell(page, "00").click();
  for (let i = 1; i <= 10; ++i) await page.keyboard.type(i.toString(16) + "\n");
  await memoryCell(page, "00").click();
  await memoryCell(page, "09").click({ modifiers: ["Shift"] });
  await expect(status(page)).toHaveText("Selected: 0-9");
  await page.keyboard.press("Control+c");
  await memoryCell(page, "FA").click();
  await page.keyboard.press("Control+v");
  await expect(memoryCell(page, "FA")).toHaveText("01");
  await expect(memoryCell(page, "FF")).toHaveText("06");
  await expect(memoryCell(page, "00")).toHaveText("01");  // no wrap to 00
  await memoryCell(page, "FB").click({ modifiers: ["Shift"] });
  page.once("dialog", (dialog) => {
    expect(dialog.message()).toMatch(/^No destination selected\./);
    void dialog.accept();
  });
  await page.keyboard.press("Control+v");
  await page.keyboard.press("Delete");
  await expect(memoryCell(page, "FA")).toHaveText("00");
  await expect(memoryCell(page, "FB")).toHaveText("00");
  await expect(memoryCell(page, "FC")).toHaveText("03");
});
