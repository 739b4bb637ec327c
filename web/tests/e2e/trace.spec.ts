import { readFileSync } from "node:fs";
import { expect, test } from "@playwright/test";
import { memoryCell, openPage, sysRegCell, typeSource } from "./page";

test("the trace follows the steps, a double click goes back to a row, and it exports as TSV and CSV", async ({ page }) => {
  await openPage(page);
  await typeSource(page, "        load R1,7\n        store R1,[80h]\n        halt\n");
  await page.click("#AssembleButton");
  await page.click("#MenuTrace");
  const table = page.getByRole("grid", { name: "Execution history" });
  await page.click("#RunButton");
  await expect(table.locator("[data-row]")).toHaveCount(3);
  await expect(table.locator("[data-row]").nth(1)).toContainText("[80] 00->07");
  await expect(table).toHaveAttribute("aria-rowcount", "4");
  await table.locator("[data-row]").first().dblclick();
  await expect(sysRegCell(page, "PC")).toHaveText("02");
  await expect(memoryCell(page, "80")).toHaveText("00");

  for (const [button, name, header] of [["#ExportButton", "trace.tsv", "step\tpc\tword\tinstruction\tchange"],
                                        ["#ExportCsvButton", "trace.csv", "step,pc,word,instruction,change"]]) {
    const download = page.waitForEvent("download");
    await page.click(button);
    expect((await download).suggestedFilename()).toBe(name);
    const lines = readFileSync(await (await download).path(), "utf8").trimEnd().split(/\r?\n/);
    expect(lines[0]).toBe(header);
    expect(lines).toHaveLength(2);  // going back left only the first step
  }
});

test("the value card shows on hover and on ? for the focused cell", async ({ page }) => {
  await openPage(page);
  await memoryCell(page, "80").click();
  await page.keyboard.type("41");
  await page.keyboard.press("Enter");
  await memoryCell(page, "80").hover();
  const card = page.getByRole("tooltip");
  await expect(card).toBeVisible();
  await expect(card).toContainText("65");  // 41 hex in decimal
  await page.mouse.move(0, 0);
  await expect(card).toBeHidden();
  await memoryCell(page, "80").focus();
  await page.keyboard.press("?");
  await expect(card).toBeVisible();
  await expect(memoryCell(page, "80")).toHaveAttribute("aria-describedby", "ValueCard");
  await page.keyboard.press("Escape");
  await expect(card).toBeHidden();
});

test("a trace of many rows keeps only a screenful in the page and scrolls to either end", async ({ page }) => {
  await openPage(page);
  await typeSource(page, "loop:   addi R1,R1,R2\n        jmp loop\n");
  await page.click("#AssembleButton");
  await page.click("#RunButton");
  await page.waitForTimeout(1500);
  await page.click("#BreakButton");
  await page.click("#MenuTrace");
  const table = page.getByRole("grid", { name: "Execution history" });
  const rows = Number(await table.getAttribute("aria-rowcount")) - 1;
  expect(rows).toBeGreaterThan(100_000);
  expect(await table.locator("[data-row]").count()).toBeLessThan(40);
  // Opened at its end: the newest step is on screen.
  await expect(table.locator(`[data-row="${rows - 1}"]`)).toHaveCount(1);
  await table.evaluate((element) => { element.scrollTop = 0; });
  await expect(table.locator('[data-row="0"]')).toHaveCount(1);
  await table.evaluate((element) => { element.scrollTop = element.scrollHeight / 2; });
  // The rows follow the scroll event, a frame later.
  await expect.poll(async () => {
    const middle = Number(await table.locator("[data-row]").first().getAttribute("data-row"));
    return Math.abs(middle - rows / 2);
  }).toBeLessThan(rows / 100);
});
