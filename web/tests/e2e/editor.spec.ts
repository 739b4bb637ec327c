import { expect, test } from "@playwright/test";
import { memoryCell, openPage, status, sysRegCell, typeSource } from "./page";

test("assembling with errors lists them, goes to each, and leaves memory alone", async ({ page }) => {
  await openPage(page);
  await memoryCell(page, "00").click();
  await page.keyboard.type("11\n");
  await typeSource(page, "        load R1,2\n        store R1,\n        jmp nowhere\n");
  await page.click("#AssembleButton");
  const errors = page.getByRole("listbox", { name: "Errors" }).getByRole("option");
  await expect(errors.first()).toHaveText(/^line 2: /);
  await expect(errors.last()).toHaveText(/^line 3: .*nowhere/);
  await expect(errors.first()).toHaveAttribute("aria-selected", "true");
  await expect(page.locator("#MenuPreviousError")).toBeDisabled();
  await expect(page.locator("#MenuNextError")).toBeEnabled();
  await expect(page.locator("#EditorPanel0")).toHaveText(/^2: /);  // the caret went there
  await page.click("#MenuNextError");
  await expect(page.locator("#EditorPanel0")).toHaveText(/^3: /);
  await expect(page.locator("#MenuPreviousError")).toBeEnabled();
  await errors.first().click();
  await expect(page.locator("#EditorPanel0")).toHaveText(/^2: /);
  await expect(memoryCell(page, "00")).toHaveText("11");

  await typeSource(page, "        load R1,2   ; two\n        halt\n");
  await page.click("#AssembleButton");
  await expect(page.locator("#SaveQuestionText")).toHaveText(/overwrite the memory\?$/);
  await page.click("#NoButton");
  await expect(errors).toHaveCount(0);
  await expect(page.locator("#MenuNextError")).toBeDisabled();
  await expect(memoryCell(page, "00")).toHaveText("21");
  await expect(memoryCell(page, "03")).toHaveText("00");
  await expect(sysRegCell(page, "PC")).toHaveText("00");
  await expect(page.locator("#StatusPanel1")).toHaveText("");
  // The module's scanner classes reach the editor.
  await expect(page.locator("#TextEditor .hl-keyword").first()).toHaveText("load");
  await expect(page.locator("#TextEditor .hl-comment")).toHaveText("; two");
  await page.click("#StepButton");
  await expect(status(page)).toHaveText("Ready");
  await expect(page.locator("#TextEditor .cm-pc-line")).toContainText("halt");
});

test("hints list the classic mistakes of a program that assembled; Explain says what a step does", async ({ page }) => {
  await openPage(page);
  await typeSource(page, "        load R1,count\n        halt\ncount:  db 7\n");
  await page.click("#AssembleButton");
  const hints = page.getByRole("listbox", { name: "Hints" }).getByRole("option");
  await expect(hints).toHaveCount(1);
  await expect(hints.first()).toHaveText(/^line 1: loads the address of count \(04\), not its value/);
  await expect(page.getByRole("listbox", { name: "Errors" }).getByRole("option")).toHaveCount(0);

  await page.click("#MenuExplain");
  await expect(page.locator("#MenuExplain")).toHaveAttribute("aria-pressed", "true");
  await expect(page.locator("#ExplainNext")).toHaveText(/^Next: R1 := 04/);
  await expect(page.locator("#ExplainLast")).toHaveText("");
  await page.click("#StepButton");
  await expect(page.locator("#ExplainLast")).toHaveText(/^Last: R1 := 04/);
  await expect(page.locator("#ExplainNext")).toHaveText(/^Next: /);

  await typeSource(page, "        halt\n");
  await page.click("#AssembleButton");
  await expect(page.locator("#HintBox")).toBeHidden();
});
