import { expect, test } from "@playwright/test";
import { openPage, status, sysRegCell, typeSource } from "./page";

test("predict mode judges each step, keeps the score through Step Back and starts it again with a new program", async ({ page }) => {
  await openPage(page);
  await typeSource(page, "        load R0,0\n        load R1,3\n        halt\n");
  await page.click("#AssembleButton");
  const [edit, result, score] = [page.getByLabel("Predict:"), page.locator("#PredictResult"), page.locator("#PredictScore")];
  await page.click("#MenuPredict");
  await expect(edit).toBeFocused();
  await expect(page.locator("#RunButton")).toBeDisabled();
  await expect(page.locator("#MenuRunBack")).toBeEnabled();  // running back makes more to predict

  await edit.fill("r0 0");
  await edit.press("Enter");
  await expect(result).toHaveText(/^Right\. R0 := 00/);
  await expect(result).toHaveCSS("color", "rgb(0, 128, 0)");
  await edit.fill("R1 04");
  await page.keyboard.press("F8");
  await expect(result).toHaveText(/^Wrong: you said R1 04, the step did R1 03\. R1 := 03/);
  await expect(result).toHaveCSS("color", "rgb(255, 0, 0)");
  await page.click("#StepButton");  // nothing typed: how to type it, and no step
  await expect(result).toHaveText(/^Type what the step will change/);
  await page.keyboard.press("F9");  // refused
  await page.keyboard.press("Shift+F8");
  await expect(sysRegCell(page, "PC")).toHaveText("02");
  await expect(score).toHaveText("1 of 2 right");
  await page.keyboard.press("Shift+F9");  // a run back works and leaves the score too
  await expect(sysRegCell(page, "PC")).toHaveText("00");
  await expect(score).toHaveText("1 of 2 right");

  await page.reload();  // the mode is kept; the score belongs to the program
  await page.click("#AssembleButton");
  await expect(score).toHaveText("0 of 0 right");
  await page.click("#MenuPredict");
  await expect(page.locator("#RunButton")).toBeEnabled();
  await page.click("#StepButton");
  await expect(sysRegCell(page, "PC")).toHaveText("02");
});

test("a run's note shows beside the status, not in a box, until a program is loaded", async ({ page }) => {
  await openPage(page);
  await typeSource(page, "        jmp data\ndata:   db 0C0h, 0\n");
  await page.click("#AssembleButton");
  await page.click("#RunButton");
  await expect(status(page)).toHaveText("Halted");
  const note = page.locator("#NotePanel");
  await expect(note).toHaveText("executing data at 02: db placed these bytes (line 2)");
  await page.click("#AssembleButton");
  await expect(note).toBeHidden();
});
