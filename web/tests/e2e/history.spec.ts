import { expect, test } from "@playwright/test";
import { openPage, registerCell, status, sysRegCell, typeSource } from "./page";

const countdown = `        load R0,0
        load R1,3
        load R2,255
loop:   move RF,R1       ; show the count as a character
        addi R1,R1,R2
        jmpEQ R1=R0,done
        jmp loop
done:   halt
`;

test("step back takes back PC, a register and an output character, down to the start of history", async ({ page }) => {
  await openPage(page);
  await typeSource(page, countdown);
  await page.click("#AssembleButton");
  for (let i = 0; i < 4; ++i) await page.click("#StepButton");
  await expect(registerCell(page, "RF")).toHaveText("03");
  await expect(sysRegCell(page, "PC")).toHaveText("08");
  const outputBefore = await page.locator("#OutputBox").textContent();
  await page.keyboard.press("Shift+F8");
  await expect(sysRegCell(page, "PC")).toHaveText("06");
  await expect(registerCell(page, "RF")).toHaveText("00");
  await expect(page.locator("#OutputBox")).toHaveText("");
  expect(outputBefore?.length).toBe(1);
  for (let i = 0; i < 3; ++i) await page.click("#MenuStepBack");
  await expect(sysRegCell(page, "PC")).toHaveText("00");
  await page.click("#MenuStepBack");
  await expect(status(page)).toHaveText("Start of history");
});

test("a breakpoint from the disassembly margin and one from the editor gutter stop a run", async ({ page }) => {
  await openPage(page);
  await typeSource(page, countdown);
  await page.click("#AssembleButton");
  // The line for address 08 (addi): a click in its left margin.
  const line = page.locator("#DisasmWin [role=option]", { hasText: /^08/ });
  await line.click({ position: { x: 5, y: 5 } });
  await expect(line).toHaveClass(/breakpoint/);
  await page.click("#RunButton");
  await expect(status(page)).toHaveText("Breakpoint at 08");
  await expect(sysRegCell(page, "PC")).toHaveText("08");
  await page.click("#MenuRemoveAllBreakpoints");
  await expect(line).not.toHaveClass(/breakpoint/);
  // A click in the breakpoint gutter beside the halt line (line 8).
  const gutter = await page.locator("#TextEditor .cm-breakpoint-gutter").boundingBox();
  const halt = await page.locator("#TextEditor .cm-line").nth(7).boundingBox();
  await page.mouse.click(gutter!.x + gutter!.width / 2, halt!.y + halt!.height / 2);
  await expect(page.locator("#TextEditor .cm-breakpoint")).toHaveCount(1);
  await page.click("#RunButton");
  await expect(status(page)).toHaveText("Breakpoint at 0E");
  await page.click("#RunButton");
  await expect(status(page)).toHaveText("Halted");
});

test("a run goes from full speed to a set speed and back, and Break ends it", async ({ page }) => {
  await openPage(page);
  await typeSource(page, "        load R1,1\nloop:   addi R2,R2,R1\n        jmp loop\n");
  await page.click("#AssembleButton");
  await page.click("#RunButton");
  await expect(status(page)).toHaveText("Running...");
  const executed = () => page.evaluate(() => (window as unknown as
    { quarzelPage: { run: { executed: number } } }).quarzelPage.run.executed);
  await expect.poll(executed).toBeGreaterThan(100_000);
  await page.selectOption("#SpeedMenu", "2");
  const slowed = await executed();
  await page.waitForTimeout(1500);
  expect(await executed() - slowed).toBeLessThan(10);
  await page.selectOption("#SpeedMenu", "0");
  await expect.poll(executed).toBeGreaterThan(slowed + 100_000);
  await page.click("#BreakButton");
  await expect(status(page)).toHaveText("Ready");
  await expect(page.locator("#RunButton")).toBeEnabled();
});
