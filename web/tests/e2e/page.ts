import { expect, type Page } from "@playwright/test";

export async function openPage(page: Page): Promise<void> {
  await page.goto("/");
  await expect(page.locator("body[data-ready]")).toBeAttached();
}

export const memoryCell = (page: Page, name: string) =>
  page.getByRole("grid", { name: "Main Memory" }).getByRole("gridcell", { name, exact: true });
export const registerCell = (page: Page, name: string) =>
  page.getByRole("grid", { name: "Registers" }).getByRole("gridcell", { name, exact: true });
export const sysRegCell = (page: Page, name: string) =>
  page.getByRole("grid", { name: "System Registers" }).getByRole("gridcell", { name, exact: true });
export const status = (page: Page) => page.locator("#StatusPanel2");

// Replaces the editor's text as typing would.
export async function typeSource(page: Page, text: string): Promise<void> {
  await page.locator("#TextEditor .cm-content").click();
  await page.keyboard.press("Control+A");
  await page.keyboard.insertText(text);
}
