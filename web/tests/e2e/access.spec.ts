import { expect, test } from "@playwright/test";
import { openPage } from "./page";

test("grids, cells and the output window are named for screen readers", async ({ page }) => {
  await openPage(page);
  for (const [grid, cells, first, last] of [["Main Memory", 256, "00", "FF"], ["Registers", 16, "R0", "RF"],
                                           ["System Registers", 2, "PC", "IR"]] as const) {
    const named = page.getByRole("grid", { name: grid, exact: true });
    await expect(named.getByRole("gridcell")).toHaveCount(cells);
    await expect(named.getByRole("gridcell", { name: first, exact: true })).toHaveCount(1);
    await expect(named.getByRole("gridcell", { name: last, exact: true })).toHaveCount(1);
  }
  await expect(page.getByRole("grid", { name: "Main Memory" }).getByRole("gridcell", { name: "80", exact: true })).toHaveCount(1);
  await expect(page.getByRole("grid", { name: "Registers" }).getByRole("gridcell", { name: "R3", exact: true })).toHaveCount(1);
  const output = page.getByRole("log", { name: "Output Window" });
  await expect(output).toHaveAttribute("aria-live", "polite");
});

test("every control has an accessible name", async ({ page }) => {
  await openPage(page);
  await page.click("#MenuTrace");  // the trace's controls too
  const cdp = await page.context().newCDPSession(page);
  const { nodes } = await cdp.send("Accessibility.getFullAXTree") as
    { nodes: { ignored: boolean; role?: { value: string }; name?: { value: string } }[] };
  const controls = ["button", "combobox", "checkbox", "textbox", "listbox", "grid", "gridcell", "option", "log"];
  const found = nodes.filter((n) => !n.ignored && controls.includes(n.role?.value ?? ""));
  const unnamed = found.filter((n) => !(n.name?.value ?? "").trim()).map((n) => n.role?.value);
  expect(found.length).toBeGreaterThan(300);
  expect(unnamed).toEqual([]);
});
