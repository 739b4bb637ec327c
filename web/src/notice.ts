import { byId } from "./dom";

// Messages of the page that no desktop window gives (a link copied, a damaged link, a new
// version), one at a time in a bar above the page until closed or replaced. An action
// button offers what to do instead, when there is something.
export function showNotice(text: string, action?: { label: string; run: () => void }): void {
  const bar = byId("Notice");
  byId("NoticeText").textContent = text;
  const button = byId<HTMLButtonElement>("NoticeAction");
  button.hidden = !action;
  button.textContent = action?.label ?? "";
  button.onclick = action ? () => { bar.hidden = true; action.run(); } : null;
  bar.hidden = false;
}

export function setUpNotice(): void {
  byId("NoticeClose").addEventListener("click", () => { byId("Notice").hidden = true; });
}
