import type { AsmEditor } from "./asmeditor";
import { byId } from "./dom";
import { fragmentParams, linkWith } from "./sharelink";

// The compact layout for an iframe in a course page, chosen by "embed" in the address's
// fragment: the editor, the registers with PC, the output and the buttons, and "Open in
// Quarzel" to the full page with the same program. "ro" makes the source read-only (a
// worked example); "panels" lists what shows, of Panels.
export const Panels = ["editor", "registers", "output", "memory", "disassembly"] as const;
const DefaultPanels = ["editor", "registers", "output"];

export function isEmbedded(): boolean {
  return fragmentParams(location.hash).has("embed");
}

export function setUpEmbedding(editor: AsmEditor): void {
  const params = fragmentParams(location.hash);
  if (!params.has("embed")) return;
  const root = document.documentElement;
  root.dataset.embed = "";
  const shown = params.get("panels")?.split(",") ?? DefaultPanels;
  for (const panel of Panels) root.classList.toggle(`hide-${panel}`, !shown.includes(panel));
  if (params.has("ro")) editor.setReadOnly(true);
  const full = new URLSearchParams();
  const share = params.get("share");
  if (share !== null) full.set("share", share);
  const link = byId<HTMLAnchorElement>("OpenFullPage");
  link.href = linkWith(full);
  link.hidden = false;
}
